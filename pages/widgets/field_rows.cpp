#include "pages/widgets/field_rows.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

FieldRow AddFieldRow(QWidget* parent, QGridLayout* grid, int row, const QString& label, const char* objectName,
                     const QString& unit, bool readOnly) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setMaximumWidth(100);
    field->setReadOnly(readOnly);
    if (readOnly) field->setFocusPolicy(Qt::NoFocus);
    auto* unitLabel = new QLabel(unit, parent);
    grid->addWidget(new QLabel(label, parent), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(unitLabel, row, 2);
    return {field, unitLabel};
}

QLabel* MakeWarningLine(QWidget* parent) {
    auto* line = new QLabel(parent);
    line->setObjectName("warning");
    line->setStyleSheet("color: #a00000;");
    line->setWordWrap(true);
    return line;
}
