#pragma once
// Today and now for the whole program, as a moment (day number from
// 1899-12-30 plus the fraction of the day). Tests fix it so that dates and
// ages shown on the pages are known in advance.
#include <optional>

double Now();
void FixNow(std::optional<double> moment);
// Now in minutes since 1970-01-01 00:00 UTC, for times written with their
// zone (a fixed moment is taken as local time, as Now() gives it).
long long NowUtcMinute();  // nullopt: back to the system clock
