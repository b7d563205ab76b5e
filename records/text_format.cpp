#include "records/text_format.h"

#include <cmath>
#include <cstdio>

std::string FormatNumber(const char* format, double value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string FiniteNumber(const char* format, double value) {
    return std::isfinite(value) ? FormatNumber(format, value) : std::string();
}

std::string FormatNumbers(const char* format, double first, double second) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, first, second);
    return buffer;
}

std::string AreaUnit(const std::string& concUnit) {
    const std::size_t slash = concUnit.find('/');
    if (slash == std::string::npos) return concUnit + "\u00b7h";
    return concUnit.substr(0, slash) + "\u00b7h" + concUnit.substr(slash);
}
