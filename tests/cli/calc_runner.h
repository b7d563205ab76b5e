#pragma once
// Runs the built kinevo-calc on a JSON text and captures what it printed.
#include <string>

#include <nlohmann/json.hpp>

struct CalcRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

CalcRun RunCalcProgram(const std::string& input);
CalcRun RunCalcProgram(const nlohmann::json& input);
