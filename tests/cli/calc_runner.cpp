#include "calc_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

CalcRun RunCalcProgram(const std::string& input) {
    const char* program = KINEVO_CALC_PATH;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kinevo-calc-test-" + std::to_string(::getpid()) + "-" + std::to_string(std::rand()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.json") << input;
    const std::string command = std::string(program) + " " + (dir / "in.json").string() + " >" +
                                (dir / "out").string() + " 2>" + (dir / "err").string();
    const int status = std::system(command.c_str());
    CalcRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(dir / "out");
    run.err = Slurp(dir / "err");
    std::filesystem::remove_all(dir);
    return run;
}

CalcRun RunCalcProgram(const nlohmann::json& input) { return RunCalcProgram(input.dump()); }
