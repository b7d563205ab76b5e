#pragma once
// How both phenytoin pages show the engine's results in their fields.
#include <optional>

class QLineEdit;

// A result field shows `format` of the value, or stays empty without one.
void ShowNumber(QLineEdit* field, const std::optional<double>& value, const char* format);
// The adjusted range into its two fields, "%1.1f" each.
void ShowRange(QLineEdit* low, QLineEdit* high, double freeFraction);
