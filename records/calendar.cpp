#include "records/calendar.h"

#include <cmath>
#include <cstdio>

namespace {
// Days from 1970-01-01 to the civil date (proleptic Gregorian).
long DaysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long kBase = DaysFromCivil(1899, 12, 30);

// Exactly `count` decimal digits at `pos`; no sign, blank or other character.
bool Digits(const std::string& text, std::size_t pos, std::size_t count, int& value) {
    if (pos + count > text.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}
}  // namespace

long DayNumber(int year, int month, int day) {
    // Normalise the month first so that day overflow rolls into the next month.
    long y = year + (month - 1) / 12;
    long m = (month - 1) % 12 + 1;
    if (m <= 0) {
        m += 12;
        --y;
    }
    return DaysFromCivil(y, m, 1) + (day - 1) - kBase;
}

long DayNumber(const CivilDate& d) { return DayNumber(d.year, d.month, d.day); }

CivilDate DateOfDayNumber(long dayNumber) { return CivilFromDays(dayNumber + kBase); }

bool IsValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

double MomentOf(const CivilDate& d, int hour, int minute, int second) {
    return static_cast<double>(DayNumber(d)) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

std::string IsoDateTime(double moment) {
    long day = static_cast<long>(std::floor(moment));
    long seconds = std::lround((moment - static_cast<double>(day)) * 86400.0);
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }
    const CivilDate d = DateOfDayNumber(day);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02ld:%02ld:%02ld", d.year, d.month, d.day, seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return buf;
}

std::optional<double> ParseIsoDateTime(const std::string& text) {
    const auto date = ParseIsoDate(text.substr(0, 10));
    if (!date || (text.size() != 10 && text.size() != 19)) return std::nullopt;
    if (text.size() == 10) return MomentOf(*date);
    int h = 0, mi = 0, s = 0;
    if (text[10] != ' ' || !Digits(text, 11, 2, h) || text[13] != ':' || !Digits(text, 14, 2, mi) || text[16] != ':' ||
        !Digits(text, 17, 2, s) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return MomentOf(*date, h, mi, s);
}

std::optional<CivilDate> ParseIsoDate(const std::string& text) {
    int y = 0, mo = 0, d = 0;
    if (text.size() != 10 || !Digits(text, 0, 4, y) || text[4] != '-' || !Digits(text, 5, 2, mo) || text[7] != '-' ||
        !Digits(text, 8, 2, d) || !IsValidDate(y, mo, d))
        return std::nullopt;
    return CivilDate{y, mo, d};
}

std::optional<std::pair<int, int>> ParseHourMinute(const std::string& text) {
    const std::size_t colon = text.find(':');
    int hour = 0, minute = 0;
    if (colon < 1 || colon > 2 || text.size() != colon + 3 || !Digits(text, 0, colon, hour) ||
        !Digits(text, colon + 1, 2, minute))
        return std::nullopt;
    return std::pair(hour, minute);
}

std::string IsoDate(const CivilDate& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

double AgeInYears(const CivilDate& birthday, double now) {
    const long today = static_cast<long>(std::floor(now));
    const CivilDate t = DateOfDayNumber(today);
    // Whole years completed on this calendar day. Counting them from the day
    // span rounded up, as older versions did, added a year on the eve of
    // every birthday.
    const bool birthdayPassed = t.month > birthday.month || (t.month == birthday.month && t.day >= birthday.day);
    const int wholeYears = t.year - birthday.year - (birthdayPassed ? 0 : 1);
    long days = today - DayNumber(t.year, birthday.month, birthday.day);
    if (days < 0) days += 365;
    return wholeYears + days * 0.0027397260273972603;
}
