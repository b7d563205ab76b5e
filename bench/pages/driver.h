#pragma once
// The benchmark as run by a person: makes the filled database and the
// program folder, runs the measuring children and prints the table.
#include <string>
#include <vector>

// The command lines the driver starts this program with.
inline constexpr const char* kStartUpChild = "--start-up-child";  // <program folder> <start time>
inline constexpr const char* kListChild = "--list-child";  // <database> <searches> <grid rows> <over the limit: 0/1>

// `args`: [--runs N] [--searches N]. Returns the exit status.
int RunDriver(const std::vector<std::string>& args);
