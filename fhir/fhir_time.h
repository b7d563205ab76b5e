#pragma once
// FHIR dateTime values, read to the minute: the history holds no seconds and
// no time zone, so a time is kept as its UTC minute and the offset it was
// written with.
#include <string>
#include <variant>

struct FhirTime {
    long long utcMinute = 0;  // minutes since 1970-01-01T00:00Z
    int offsetMinutes = 0;    // the offset the record wrote it with
};

// The time, or the reason it cannot be read exactly (a date alone, seconds
// past the minute, no time zone, not a dateTime).
std::variant<FhirTime, std::string> ReadFhirTime(const std::string& text);

// Whether `text` is a whole date YYYY-MM-DD that exists.
bool IsWholeDate(const std::string& text);

// The wall-clock date "YYYY-MM-DD" and time "HH:MM" of a UTC minute seen at
// `offsetMinutes`.
std::string WallDate(long long utcMinute, int offsetMinutes);
std::string WallTime(long long utcMinute, int offsetMinutes);
