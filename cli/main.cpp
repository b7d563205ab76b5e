// kinevo-calc: one case as JSON in, the engine's results as JSON out.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <iostream>

#include "cli/calc.h"
#include "cli/calc_fhir.h"
#include "fhir/json_input.h"
#include "kinevo_version.h"
#include "records/calendar.h"

namespace {
const char* const kUsage =
    "usage: kinevo-calc [FILE]\n"
    "       kinevo-calc --fhir BUNDLE.json [--drug CODE] [--run]\n"
    "Runs one case through Kinevo's engine: reads one JSON object from FILE, or from\n"
    "standard input when FILE is absent or -, and writes the results as JSON.\n"
    "Exit status 0: computed; 2: input refused or failure, with one line on stderr.\n"
    "  --fhir     turn a FHIR R4 Bundle from the hospital record into a case and print\n"
    "             it (--run: run it); what was not used, and why, goes to stderr\n"
    "  --help     print this help\n"
    "  --version  print the version\n";

double SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    return MomentOf({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min, local.tm_sec);
}

// Reads at most one byte past the input limit, so that an endless stream is
// refused without being held in memory. A folder, a closed descriptor or a
// read error is no input at all, never an empty one.
bool ReadLimited(int fd, std::string& text) {
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return false;
    text.resize(kMaxInputBytes + 1);
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return true;
}

// Exit 0 promises the text is on standard output: a full disk or a closed
// output is a failure.
int Written(const std::string& text) {
    std::cout << text << std::flush;
    if (std::cout) return 0;
    std::cerr << "kinevo-calc: cannot write to standard output\n";
    return 2;
}

bool ReadPath(const std::string& path, std::string& text) {
    const int fd = path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool readable = ReadLimited(fd, text);
    if (fd >= 0 && fd != STDIN_FILENO) close(fd);
    if (!readable) std::cerr << Quoted(path) << ": cannot be read\n";
    return readable;
}

// kinevo-calc --fhir BUNDLE.json [--drug CODE] [--run]
int FhirMain(int argc, char** argv) {
    std::string drug;
    bool run = false;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--run") run = true;
        else if (option == "--drug" && i + 1 < argc) drug = argv[++i];
        else argc = 0;
    }
    if (argc < 3) {
        std::cerr << "usage: kinevo-calc --fhir BUNDLE.json [--drug CODE] [--run]\n";
        return 2;
    }
    std::string text;
    if (!ReadPath(argv[2], text)) return 2;
    const FhirOutcome outcome = RunFhirText(text, std::time(nullptr) / 60, SystemNow(), drug, run);
    std::cerr << outcome.report << std::flush;
    if (outcome.calc.exitCode == 0) return Written(outcome.calc.output);
    std::cerr << outcome.calc.error << '\n';
    return outcome.calc.exitCode;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--fhir") return FhirMain(argc, argv);
    if (argc > 2) {
        std::cerr << "usage: kinevo-calc [FILE]\n";
        return 2;
    }
    const std::string path = argc == 2 ? argv[1] : "-";
    if (path == "--help" || path == "-h") return Written(kUsage);
    if (path == "--version") return Written(std::string("kinevo-calc ") + kKinevoVersion + "\n");
    std::string text;
    if (!ReadPath(path, text)) return 2;
    const CalcOutcome outcome = RunCalcText(text, SystemNow());
    if (outcome.exitCode == 0) return Written(outcome.output);
    std::cerr << outcome.error << '\n';
    return outcome.exitCode;
}
