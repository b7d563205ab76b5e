#pragma once
// How a measuring child process hands its times to the driver: one line per
// time on standard output, "<name> <seconds>". The clock is the system-wide
// monotonic one, so a time taken in the driver just before it starts a child
// can be compared with times taken in the child.
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using BenchClock = std::chrono::steady_clock;

double SecondsBetween(BenchClock::time_point from, BenchClock::time_point to);
// CPU time of this process, all threads, since it started: beside a wall
// time it shows how much of the wait went to other programs on a busy machine.
double ProcessCpuSeconds();
// A time point as text for a child's command line, and back.
std::string ClockText(BenchClock::time_point t);
BenchClock::time_point ClockFromText(const std::string& text);

// Child side.
void Report(const std::string& name, double seconds);

// Driver side: every "<name> <seconds>" line of `output` added to `into`.
using Measurements = std::map<std::string, std::vector<double>>;
void AddReported(const std::string& output, Measurements& into);
