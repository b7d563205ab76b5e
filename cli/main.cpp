// kinevo-calc: one case as JSON in, the engine's results as JSON out.
#include <chrono>
#include <fstream>
#include <iostream>

#include "cli/calc.h"
#include "cli/json_input.h"
#include "kinevo_version.h"
#include "records/calendar.h"

namespace {
const char* const kUsage =
    "usage: kinevo-calc [FILE]\n"
    "Runs one case through Kinevo's engine: reads one JSON object from FILE, or from\n"
    "standard input when FILE is absent or -, and writes the results as JSON.\n"
    "Exit status 0: computed; 2: input refused or failure, with one line on stderr.\n"
    "  --help     print this help\n"
    "  --version  print the version\n";

double SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    return MomentOf({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min,
                    local.tm_sec);
}

// Reads at most one byte past the input limit, so that an endless stream is
// refused without being held in memory.
bool ReadLimited(std::istream& in, std::string& text) {
    text.resize(kMaxInputBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: kinevo-calc [FILE]\n";
        return 2;
    }
    const std::string path = argc == 2 ? argv[1] : "-";
    if (path == "--help" || path == "-h") {
        std::cout << kUsage;
        return 0;
    }
    if (path == "--version") {
        std::cout << "kinevo-calc " << kKinevoVersion << '\n';
        return 0;
    }
    std::string text;
    std::ifstream file;
    if (path != "-") file.open(path, std::ios::binary);
    if ((path != "-" && !file) || !ReadLimited(path == "-" ? std::cin : file, text)) {
        std::cerr << Quoted(path) << ": cannot be read\n";
        return 2;
    }
    const CalcOutcome outcome = RunCalcText(text, SystemNow());
    std::cout << outcome.output;
    if (outcome.exitCode != 0) std::cerr << outcome.error << '\n';
    return outcome.exitCode;
}
