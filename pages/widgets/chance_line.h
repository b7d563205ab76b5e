#pragma once
// A line under a regimen that says how likely it is to reach its goals
// ("82 % chance AUC24 400-600"): word-wrapped, and hidden while it has
// nothing to say, so a page without a Bayesian fit looks as it always did.
#include <string>

class QLabel;
class QWidget;

QLabel* ChanceLabel(QWidget* parent, const char* name);
void ShowChanceLine(QLabel* line, const std::string& text);
