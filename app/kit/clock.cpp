#include "app/kit/clock.h"

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
