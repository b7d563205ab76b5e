#include "app/kit/date_display.h"

#include <cmath>
#include <cstdio>

#include "records/calendar.h"

std::string DateDisplay(double moment) {
    const CivilDate d = DateOfDayNumber(static_cast<long>(std::floor(moment)));
    // The short date is always month/day/yy here: cutting 6 + 2 characters out
    // of another locale's form would garble it.
    char shortDate[16];
    std::snprintf(shortDate, sizeof shortDate, "%02d/%02d/%02d", d.month, d.day, d.year % 100);
    const std::string text = shortDate;
    return text.substr(0, 6) + "20" + text.substr(text.size() - 2);
}
