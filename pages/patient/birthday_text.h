#pragma once
// The birthday field of the entry pages: "m/d/yyyy" typed short is padded to
// "mm/dd/yyyy", then read and checked against today.
#include <optional>
#include <string>

#include "records/calendar.h"

// A one-digit month and then a one-digit day get their leading "0"; a text
// without exactly two "/" is returned as it is.
std::string PaddedBirthday(std::string text);

struct BirthdayReading {
    std::optional<CivilDate> date;       // set when the text is a valid date in range
    std::optional<std::string> problem;  // the message to show otherwise
};

// Reads a padded "mm/dd/yyyy" text. An empty text gives neither a date nor a
// problem; a text that is no valid date gives `formatMessage`.
BirthdayReading ReadBirthday(const std::string& padded, long todayDay, const std::string& formatMessage);

// "mm/dd/yyyy" of a date, as the field shows it.
std::string BirthdayText(const CivilDate& d);
