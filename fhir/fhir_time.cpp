#include "fhir/fhir_time.h"

#include <cstdio>
#include <regex>

#include "records/calendar.h"

namespace {
// The day number of 1970-01-01, from which UTC minutes count. Asked for at
// each use: a constant made at start-up could run before the calendar's own.
long UnixEpochDay() { return DayNumber(1970, 1, 1); }

long long DaysFromCivil(int y, int m, int d) { return DayNumber(y, m, d) - UnixEpochDay(); }

bool DateExists(int y, int m, int d) {
    // DayNumber rolls an invalid day over; only a real date comes back as itself.
    return m >= 1 && m <= 12 && d >= 1 && DateOfDayNumber(DayNumber(y, m, d)) == CivilDate{y, m, d};
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

std::variant<FhirTime, std::string> ReadFhirTime(const std::string& text) {
    static const std::regex dateOnly(R"(\d{4}(-\d{2}(-\d{2})?)?)");
    static const std::regex full(
        R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})(\.\d+)?(Z|([+-])(\d{2}):(\d{2}))?)");
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
    const long long local = DaysFromCivil(y, mo, d) * 1440 + h * 60 + mi;
    return FhirTime{local - offset, offset};
}

bool IsWholeDate(const std::string& text) {
    static const std::regex date(R"((\d{4})-(\d{2})-(\d{2}))");
    std::smatch m;
    return std::regex_match(text, m, date) && DateExists(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
}

std::string WallDate(long long utcMinute, int offsetMinutes) {
    return IsoDate(DateOfDayNumber(static_cast<long>(FloorDiv(utcMinute + offsetMinutes, 1440)) + UnixEpochDay()));
}

std::string WallTime(long long utcMinute, int offsetMinutes) {
    const long long minute = (utcMinute + offsetMinutes) - FloorDiv(utcMinute + offsetMinutes, 1440) * 1440;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld", minute / 60, minute % 60);
    return text;
}
