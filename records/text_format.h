#pragma once
// The one place where printf formats such as "%.1f" turn numbers into text
// for fields, notes and labels.
#include <string>

std::string FormatNumber(const char* format, double value);
// The same, or empty for a value that is not finite: no NaN reaches a text.
std::string FiniteNumber(const char* format, double value);
// For texts that carry two numbers, such as a level and a time.
std::string FormatNumbers(const char* format, double first, double second);
// The unit of an area under levels measured in `concUnit` over hours, such
// as AUC24: "mg/L" gives "mg·h/L", "mcg/L" gives "mcg·h/L".
std::string AreaUnit(const std::string& concUnit);
