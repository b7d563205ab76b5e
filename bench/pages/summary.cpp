#include "bench/pages/summary.h"

#include <algorithm>
#include <cstdio>

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    return n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
}

std::string SummaryLine(const std::string& label, std::vector<double> seconds) {
    char line[256];
    if (seconds.empty()) {
        std::snprintf(line, sizeof line, "  %-52s no times\n", label.c_str());
        return line;
    }
    const auto [least, greatest] = std::minmax_element(seconds.begin(), seconds.end());
    std::snprintf(line, sizeof line, "  %-52s median %.3f s  min %.3f s  max %.3f s  (%zu)\n", label.c_str(),
                  Median(seconds), *least, *greatest, seconds.size());
    return line;
}
