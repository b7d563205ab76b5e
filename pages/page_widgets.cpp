#include "pages/page_widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

QLineEdit* InputField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaximumWidth(110);
    return field;
}

QLineEdit* OutputField(QWidget* parent, const char* name) {
    QLineEdit* field = InputField(parent, name);
    SetEditable(field, false);
    return field;
}

void SetEditable(QLineEdit* field, bool editable) {
    field->setReadOnly(!editable);
    field->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    field->setStyleSheet(editable ? QString() : "QLineEdit { background: #e4e4e4; color: #202020; }");
}

QLabel* FieldRows::Add(const QString& label, QWidget* field, const QString& unit) {
    return Add(new QLabel(label, grid_->parentWidget()), field, unit);
}

QLabel* FieldRows::Add(QLabel* label, QWidget* field, const QString& unit) {
    auto* unitLabel = new QLabel(unit, grid_->parentWidget());
    grid_->addWidget(label, row_, column_);
    grid_->addWidget(field, row_, column_ + 1);
    grid_->addWidget(unitLabel, row_, column_ + 2);
    ++row_;
    return unitLabel;
}

FieldTexts TextsOf(const QWidget* form) {
    FieldTexts texts;
    for (const QLineEdit* field : form->findChildren<QLineEdit*>())
        texts[field->objectName().toStdString()] = field->text().toStdString();
    return texts;
}

void ShowTexts(QWidget* form, const FieldTexts& texts) {
    for (QLineEdit* field : form->findChildren<QLineEdit*>()) {
        const auto it = texts.find(field->objectName().toStdString());
        field->setText(it == texts.end() ? QString() : QString::fromStdString(it->second));
    }
}

void ClearFields(QWidget* form) {
    for (QLineEdit* field : form->findChildren<QLineEdit*>()) field->clear();
}
