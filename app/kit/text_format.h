#pragma once
// The one place where printf formats such as "%.1f" turn numbers into text.
#include <string>

std::string Formatted(const char* format, double value);
