#pragma once
// A labelled edit field with its unit beside it, one row of a grid: label in
// column 0, field in column 1, unit in column 2.
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

struct FieldRow {
    QLineEdit* field;
    QLabel* unit;
};

FieldRow AddFieldRow(QWidget* parent, QGridLayout* grid, int row, const QString& label, const char* objectName,
                     const QString& unit, bool readOnly = false);
// A line the page's reason for an empty result is shown on.
QLabel* MakeWarningLine(QWidget* parent);
