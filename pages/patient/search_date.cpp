#include "pages/patient/search_date.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "records/calendar.h"

namespace {
// The characters from `pos` on, at most `count`; none past the end.
std::string Part(const std::string& text, std::size_t pos, std::size_t count) {
    return pos < text.size() ? text.substr(pos, count) : std::string();
}
}  // namespace

bool CheckSearchDate(std::string& text) {
    if (text.empty()) return true;
    if (std::count(text.begin(), text.end(), '/') == 2) {
        if (text.find('/') == 1) text.insert(0, "0");
        if (text.find('/', 3) == 4) text.insert(3, "0");
    }
    if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
    // Every other character a digit, so the year cannot turn the query into
    // a database error that would throw the user back to the welcome page.
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 2 && i != 5 && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    const int month = std::atoi(text.substr(0, 2).c_str());
    const int day = std::atoi(text.substr(3, 2).c_str());
    const int year = std::atoi(text.substr(6, 4).c_str());
    return IsValidDate(year, month, day);
}

std::string IsoOfSearchDate(const std::string& checked) {
    return Part(checked, 6, 4) + "-" + Part(checked, 0, 2) + "-" + Part(checked, 3, 2);
}
