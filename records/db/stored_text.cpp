#include "records/db/stored_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "records/text_format.h"

std::string StoredNumber(const char* format, double value) { return FiniteNumber(format, value); }

std::string ExactNumber(double value) {
    char text[512];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (!std::isfinite(value) || error != std::errc()) return {};
    std::string exact(text, end);
    // Whole numbers keep the one decimal that texts stored before always had.
    if (exact.find('.') == std::string::npos) exact += ".0";
    return exact;
}

double TextNumber(const std::string& text) {
    const double v = std::atof(text.c_str());
    return std::isfinite(v) ? v : 0.0;
}

double StoredPercent(const std::string& text) {
    const double v = TextNumber(text);
    return v > 0 && v <= 1 ? v * 100 : v;
}

std::int32_t WholeNumber(const std::string& text) {
    const double v = std::trunc(TextNumber(text));
    return std::fabs(v) < 2147483647.0 ? static_cast<std::int32_t>(v) : 0;
}

std::int32_t KeyNumber(const std::string& text) {
    return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}
