#pragma once
// The analysis page's two tables: the fitted parameters beside the
// population values, and the serum levels with their three predictions.
#include <QString>
#include <vector>

#include "output/level_table_texts.h"
#include "pages/fitting/fit_parameter_texts.h"

class QTableWidget;
class QWidget;

// What stands in the column of a flagged set instead of its numbers
// (FlagCellText), one text over the whole column; empty for a usable set.
struct FittedFlags {
    QString leastSquares, bayes;
};

// Columns: parameter and unit, "Population", "Least Squares (+/- 1 SD)",
// "Bayes (+/- 1 SD)".
QTableWidget* NewParameterTable(QWidget* parent);
// Without a fit the fitted columns stay empty.
void ShowParameters(QTableWidget* table, const std::vector<FitParameterRow>& rows, bool fitted,
                    const FittedFlags& flags = {});

// A flagged set's flag over `columns` columns from `column`, all rows, in
// dark red where its numbers would be; nothing for an empty flag.
void ShowFlagOver(QTableWidget* table, int column, int columns, const QString& flag);

// Columns: "Date", "Time", "Actual", "Pop.", "Least Sq.", "Bayes".
QTableWidget* NewLevelTable(QWidget* parent);
void ShowLevels(QTableWidget* table, const std::vector<LevelTableRow>& rows, const FittedFlags& flags = {});
