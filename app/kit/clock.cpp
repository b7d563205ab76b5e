#include "app/kit/clock.h"

#include <cmath>
#include <ctime>

#include "records/calendar.h"

namespace {
std::optional<double>& Fixed() {
    static std::optional<double> moment;
    return moment;
}
}  // namespace

double Now() {
    if (Fixed()) return *Fixed();
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return MomentOf(CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min,
                    local.tm_sec);
}

void FixNow(std::optional<double> moment) { Fixed() = moment; }

long long NowUtcMinute() {
    if (!Fixed()) return static_cast<long long>(std::time(nullptr) / 60);
    const double moment = *Fixed();
    const long day = static_cast<long>(std::floor(moment));
    const CivilDate date = DateOfDayNumber(day);
    const long minutes = std::lround((moment - static_cast<double>(day)) * 1440);
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_min = static_cast<int>(minutes);  // mktime carries the minutes into hours
    local.tm_isdst = -1;
    return static_cast<long long>(std::mktime(&local) / 60);
}
