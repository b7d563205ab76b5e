#include "fhir/fhir_time.h"

#include <cstdio>
#include <regex>

namespace {
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct Civil {
    long long y;
    unsigned m, d;
};

Civil CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<long long>(yoe) + era * 400 + (m <= 2), m, d};
}

bool DateExists(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1) return false;
    const Civil back = CivilFromDays(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)));
    return back.m == static_cast<unsigned>(m) && back.d == static_cast<unsigned>(d);
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

std::variant<FhirTime, std::string> ReadFhirTime(const std::string& text) {
    static const std::regex dateOnly(R"(\d{4}(-\d{2}(-\d{2})?)?)");
    static const std::regex full(R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})(\.\d+)?(Z|([+-])(\d{2}):(\d{2}))?)");
    if (std::regex_match(text, dateOnly)) return "\"" + text + "\" gives no time of day";
    std::smatch m;
    if (!std::regex_match(text, m, full)) return "\"" + text + "\" is not a FHIR dateTime";
    const int y = std::stoi(m[1]), mo = std::stoi(m[2]), d = std::stoi(m[3]);
    const int h = std::stoi(m[4]), mi = std::stoi(m[5]), s = std::stoi(m[6]);
    if (!DateExists(y, mo, d) || h > 23 || mi > 59 || s > 59) return "\"" + text + "\" is not a FHIR dateTime";
    const std::string fraction = m[7];
    if (s != 0 || fraction.find_first_not_of(".0") != std::string::npos)
        return "\"" + text + "\" is not on a whole minute; the history holds minutes";
    if (!m[8].matched) return "\"" + text + "\" has no time zone";
    int offset = 0;
    if (m[8] != "Z") offset = (m[9] == "-" ? -1 : 1) * (std::stoi(m[10]) * 60 + std::stoi(m[11]));
    const long long local = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 1440 + h * 60 + mi;
    return FhirTime{local - offset, offset};
}

bool IsWholeDate(const std::string& text) {
    static const std::regex date(R"((\d{4})-(\d{2})-(\d{2}))");
    std::smatch m;
    return std::regex_match(text, m, date) && DateExists(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
}

std::string WallDate(long long utcMinute, int offsetMinutes) {
    const Civil c = CivilFromDays(FloorDiv(utcMinute + offsetMinutes, 1440));
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", c.y, c.m, c.d);
    return text;
}

std::string WallTime(long long utcMinute, int offsetMinutes) {
    const long long minute = (utcMinute + offsetMinutes) - FloorDiv(utcMinute + offsetMinutes, 1440) * 1440;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld", minute / 60, minute % 60);
    return text;
}
