#pragma once
// Runs this benchmark program again as a child process and collects what it
// writes on standard output.
#include <optional>
#include <string>
#include <vector>

struct ChildRun {
    bool succeeded = false;  // exited with status 0
    std::string output;
    std::string failure;  // how it ended otherwise
};

ChildRun RunSelf(const std::vector<std::string>& args);
