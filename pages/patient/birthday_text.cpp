#include "pages/patient/birthday_text.h"

#include <algorithm>
#include <cctype>

#include "records/entry_limits.h"
#include "records/text_format.h"

std::string PaddedBirthday(std::string text) {
    if (std::count(text.begin(), text.end(), '/') != 2) return text;
    if (text.find('/') == 1) text.insert(0, "0");
    if (text.find('/', 3) == 4) text.insert(3, "0");
    return text;
}

namespace {
std::optional<int> Digits(const std::string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}
}  // namespace

BirthdayReading ReadBirthday(const std::string& padded, long todayDay, const std::string& formatMessage) {
    if (padded.empty()) return {};
    if (padded.size() != 10 || padded[2] != '/' || padded[5] != '/') return {std::nullopt, formatMessage};
    const auto month = Digits(padded, 0, 2), day = Digits(padded, 3, 2), year = Digits(padded, 6, 4);
    if (!month || !day || !year || !IsValidDate(*year, *month, *day)) return {std::nullopt, formatMessage};
    const CivilDate date{*year, *month, *day};
    if (auto problem = BirthdayProblem(DayNumber(date), todayDay)) return {std::nullopt, *problem};
    return {date, std::nullopt};
}

std::string BirthdayText(const CivilDate& d) {
    return FormatNumber("%02.0f/", d.month) + FormatNumber("%02.0f/", d.day) + FormatNumber("%04.0f", d.year);
}
