#pragma once
// Runs the built kinevo-calc on a JSON text or file and captures what it printed.
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct CalcRun {
    int exitCode = -1;  // 128 + the signal when killed by one
    bool timedOut = false;
    std::string out;
    std::string err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

// The process is killed when it runs longer than `limitSeconds`.
CalcRun RunCalcOnFile(const std::filesystem::path& input, double limitSeconds = 10);
CalcRun RunCalcWith(const std::vector<std::string>& arguments, double limitSeconds = 10);
CalcRun RunCalcProgram(const std::string& input);
CalcRun RunCalcProgram(const nlohmann::json& input);

// The output of an input that must be computed (exit 0); empty otherwise.
nlohmann::json OutputOf(const nlohmann::json& input);

// Expects exit 2, nothing on stdout and exactly one line on stderr.
void ExpectOneLineRefusal(const CalcRun& run);
// The message of a refused input, after ExpectOneLineRefusal.
std::string Refusal(const std::string& input);
std::string Refusal(const nlohmann::json& input);
// Expects a refusal whose message holds `message`.
void ExpectRefused(const std::string& input, const std::string& message);
void ExpectRefused(const nlohmann::json& input, const std::string& message);

// The *.json files of `dir`, in name order.
std::vector<std::filesystem::path> JsonFilesIn(const std::filesystem::path& dir);
