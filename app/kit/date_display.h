#pragma once
// Today's date as the pages show it: month/day/two-digit year, then the year
// widened to four digits by putting "20" in front of its last two.
#include <string>

std::string DateDisplay(double moment);
