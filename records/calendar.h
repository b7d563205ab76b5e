#pragma once
// Day numbers counted from 30 December 1899 (day 0), the base of every stored
// date-time; a time of day is the fraction of a day.
#include <optional>
#include <string>
#include <utility>

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    bool operator==(const CivilDate&) const = default;
};

// Invalid days roll over (29 February of a common year is 1 March).
long DayNumber(int year, int month, int day);
long DayNumber(const CivilDate& d);
CivilDate DateOfDayNumber(long dayNumber);
bool IsValidDate(int year, int month, int day);

// A moment as a day number with its time of day as the fraction.
double MomentOf(const CivilDate& d, int hour = 0, int minute = 0, int second = 0);

// "YYYY-MM-DD HH:MM:SS"; a time of day alone sits on 1899-12-30.
std::string IsoDateTime(double moment);
// "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD" (midnight), digits exactly so.
std::optional<double> ParseIsoDateTime(const std::string& text);
// "YYYY-MM-DD" exactly: four, two and two digits, no blank or sign.
std::optional<CivilDate> ParseIsoDate(const std::string& text);
// "H:MM" or "HH:MM" in digits: the hour and minute as written, not yet
// checked against 23 and 59.
std::optional<std::pair<int, int>> ParseHourMinute(const std::string& text);
std::string IsoDate(const CivilDate& d);

// Age in fractional years on `now` (a moment): whole years completed, plus
// the days since this year's birthday / 365.
double AgeInYears(const CivilDate& birthday, double now);
