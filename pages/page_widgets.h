#pragma once
// The building blocks of the forecast and regimen pages: number fields,
// result fields and rows of label, field and unit in a grid.
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

QLineEdit* InputField(QWidget* parent, const char* name);
// Read-only and out of the Tab order.
QLineEdit* OutputField(QWidget* parent, const char* name);
// Typed in, or shown read-only and greyed.
void SetEditable(QLineEdit* field, bool editable);

// Fills a grid row by row: label, field, unit.
class FieldRows {
public:
    explicit FieldRows(QGridLayout* grid, int firstColumn = 0) : grid_(grid), column_(firstColumn) {}
    // Returns the unit label.
    QLabel* Add(const QString& label, QWidget* field, const QString& unit);
    QLabel* Add(QLabel* label, QWidget* field, const QString& unit);
    int Row() const { return row_; }
    void Skip() { ++row_; }

private:
    QGridLayout* grid_;
    int column_;
    int row_ = 0;
};

#include <map>
#include <string>

// The texts of the edit fields under `form`, by field name, and back.
using FieldTexts = std::map<std::string, std::string>;
FieldTexts TextsOf(const QWidget* form);
void ShowTexts(QWidget* form, const FieldTexts& texts);
void ClearFields(QWidget* form);
