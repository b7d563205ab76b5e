#pragma once
// The analysis page's two tables: the fitted parameters beside the
// population values, and the serum levels with their three predictions.
#include <vector>

#include "pages/fit_parameter_texts.h"
#include "pages/level_table_texts.h"

class QTableWidget;
class QWidget;

// Columns: parameter and unit, "Population", "Least Squares", "Bayes".
QTableWidget* NewParameterTable(QWidget* parent);
// Without a fit the fitted columns stay empty.
void ShowParameters(QTableWidget* table, const std::vector<FitParameterRow>& rows, bool fitted);

// Columns: "Date", "Time", "Actual", "Pop.", "Least Sq.", "Bayes".
QTableWidget* NewLevelTable(QWidget* parent);
void ShowLevels(QTableWidget* table, const std::vector<LevelTableRow>& rows);
