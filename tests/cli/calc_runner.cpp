#include "calc_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace {
std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path FreshDirectory() {
    static int count = 0;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kinevo-calc-test-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
    std::filesystem::create_directories(dir);
    return dir;
}

int WaitWithin(pid_t pid, double limitSeconds, bool& timedOut) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
}  // namespace

CalcRun RunCalcOnFile(const std::filesystem::path& input, double limitSeconds) {
    return RunCalcWith({input.string()}, limitSeconds);
}

CalcRun RunCalcWith(const std::vector<std::string>& arguments, double limitSeconds) {
    const auto dir = FreshDirectory();
    const std::string out = (dir / "out").string(), err = (dir / "err").string();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv = {const_cast<char*>(KINEVO_CALC_PATH)};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, KINEVO_CALC_PATH, &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    CalcRun run;
    if (spawned == 0) run.exitCode = WaitWithin(pid, limitSeconds, run.timedOut);
    run.out = Slurp(out);
    run.err = Slurp(err);
    std::filesystem::remove_all(dir);
    return run;
}

CalcRun RunCalcProgram(const std::string& input) {
    const auto dir = FreshDirectory();
    std::ofstream(dir / "in.json", std::ios::binary) << input;
    CalcRun run = RunCalcOnFile(dir / "in.json");
    std::filesystem::remove_all(dir);
    return run;
}

CalcRun RunCalcProgram(const nlohmann::json& input) { return RunCalcProgram(input.dump()); }

nlohmann::json OutputOf(const nlohmann::json& input) {
    const CalcRun run = RunCalcProgram(input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.exitCode == 0 ? run.json() : nlohmann::json::object();
}

void ExpectOneLineRefusal(const CalcRun& run) {
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out.substr(0, 200);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(!run.err.empty() && run.err.back() == '\n') << run.err;
}

std::string Refusal(const std::string& input) {
    const CalcRun run = RunCalcProgram(input);
    ExpectOneLineRefusal(run);
    return run.err;
}

std::string Refusal(const nlohmann::json& input) { return Refusal(input.dump()); }

void ExpectRefused(const std::string& input, const std::string& message) {
    const std::string line = Refusal(input);
    EXPECT_NE(line.find(message), std::string::npos) << line;
}

void ExpectRefused(const nlohmann::json& input, const std::string& message) { ExpectRefused(input.dump(), message); }

std::vector<std::filesystem::path> JsonFilesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".json") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}
