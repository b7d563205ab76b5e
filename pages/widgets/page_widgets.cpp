#include "pages/widgets/page_widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

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

QLineEdit* FieldRows::AddInput(const QString& label, const char* name, const QString& unit, QLabel** unitLabel) {
    QLineEdit* field = InputField(grid_->parentWidget(), name);
    QLabel* shownUnit = Add(label, field, unit);
    if (unitLabel) *unitLabel = shownUnit;
    return field;
}

QLineEdit* FieldRows::AddOutput(const QString& label, const char* name, QLabel** unitLabel) {
    QLineEdit* field = OutputField(grid_->parentWidget(), name);
    QLabel* shownUnit = Add(label, field, "");
    if (unitLabel) *unitLabel = shownUnit;
    return field;
}

QLineEdit* FieldRows::AddLevel(const QString& label, const char* name, std::vector<QLabel*>& units) {
    QLabel* unit = nullptr;
    QLineEdit* field = AddOutput(label, name, &unit);
    units.push_back(unit);
    return field;
}

QLabel* StackWithMessage(QWidget* form, std::initializer_list<QWidget*> groups) {
    auto* message = new QLabel(form);
    message->setObjectName("message");
    message->setWordWrap(true);
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget* group : groups) column->addWidget(group);
    column->addWidget(message);
    column->addStretch(1);
    return message;
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
