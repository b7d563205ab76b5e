#pragma once
// Today and now for the whole program, as a moment (day number from
// 1899-12-30 plus the fraction of the day). Tests fix it so that dates and
// ages shown on the pages are known in advance.
#include <optional>

double Now();
void FixNow(std::optional<double> moment);  // nullopt: back to the system clock
