#pragma once
// The driver's closing table: median, least and greatest of each time.
#include <string>
#include <vector>

// "  <label>  median 0.123 s  min 0.100 s  max 0.150 s  (n)"; a label with
// no times says so.
std::string SummaryLine(const std::string& label, std::vector<double> seconds);
// The median of `seconds` (the mean of the middle two for an even count).
double Median(std::vector<double> seconds);
