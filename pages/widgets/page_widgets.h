#pragma once
// The building blocks of the forecast and regimen pages: number fields,
// result fields and rows of label, field and unit in a grid.
#include <QString>
#include <initializer_list>
#include <vector>

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
    // A new typed-in or result field in a row; `unitLabel`, where given,
    // receives the row's unit label.
    QLineEdit* AddInput(const QString& label, const char* name, const QString& unit, QLabel** unitLabel = nullptr);
    QLineEdit* AddOutput(const QString& label, const char* name, QLabel** unitLabel = nullptr);
    // A result field in the case's concentration unit: its unit label joins `units`.
    QLineEdit* AddLevel(const QString& label, const char* name, std::vector<QLabel*>& units);
    int Row() const { return row_; }
    QGridLayout* Grid() const { return grid_; }
    void Skip() { ++row_; }

private:
    QGridLayout* grid_;
    int column_;
    int row_ = 0;
};

#include "records/page_texts.h"

// Stacks a form's groups above its message line; returns the message line.
QLabel* StackWithMessage(QWidget* form, std::initializer_list<QWidget*> groups);

// The texts of the edit fields under `form`, by field name, and back.
using FieldTexts = PageTexts;
FieldTexts TextsOf(const QWidget* form);
void ShowTexts(QWidget* form, const FieldTexts& texts);
void ClearFields(QWidget* form);
