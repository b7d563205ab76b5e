#pragma once
// How numbers become the texts the database stores, and back.
#include <cstdint>
#include <string>

// A number in a printf format such as "%.1f"; a value that is not finite
// is stored empty.
std::string StoredNumber(const char* format, double value);
// The shortest text that reads back as the same number, with at least one
// decimal (0.85 -> "0.85", 70 -> "70.0"), so a value entered comes back
// exactly; not finite is stored empty.
std::string ExactNumber(double value);
// The C library's text-to-double reading: text that is not a number is 0.
double TextNumber(const std::string& text);
// A stored compliance factor (CF) in percent, as every save writes it. A
// value above 0 and at most 1 cannot be a real patient's percent: it is a
// fraction, as printed reports once stored it, and is read as such.
double StoredPercent(const std::string& text);
// A number text read as a whole number, the digits after a decimal point
// dropped ("1234.9" -> 1234); not a number gives 0.
std::int32_t WholeNumber(const std::string& text);
// A key text as the pages hold it; empty or not a number gives 0.
std::int32_t KeyNumber(const std::string& text);
