#include "bench/pages/measurement.h"

#include <time.h>

#include <cstdio>
#include <sstream>

double SecondsBetween(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

std::string ClockText(BenchClock::time_point t) { return std::to_string(t.time_since_epoch().count()); }

BenchClock::time_point ClockFromText(const std::string& text) {
    return BenchClock::time_point(BenchClock::duration(std::stoll(text)));
}

void Report(const std::string& name, double seconds) {
    std::printf("%s %.6f\n", name.c_str(), seconds);
    std::fflush(stdout);
}

void AddReported(const std::string& output, Measurements& into) {
    std::istringstream lines(output);
    std::string name;
    double seconds;
    while (lines >> name >> seconds) into[name].push_back(seconds);
}
