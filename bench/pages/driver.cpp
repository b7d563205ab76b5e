#include "bench/pages/driver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "bench/pages/child_process.h"
#include "bench/pages/filled_database.h"
#include "bench/pages/measurement.h"
#include "bench/pages/summary.h"
#include "records/db/patient_search.h"
#include "records/db/schema/server_database.h"

namespace fs = std::filesystem;

namespace {
constexpr double kGoalSeconds = 0.5;
// The list refuses more patients than this, so one search lists them all.
constexpr int kPatients = kMaxListedPatients;
constexpr int kCasesEach = 3;
constexpr int kGridRows = kPatients * (1 + kCasesEach);

struct Options {
    int runs = 10;
    int searches = 5;  // per process
    // An empty PostgreSQL database: the filled file is copied into it and
    // searched there as well.
    std::string server;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (args[i] == "--server" && i + 1 < args.size()) {
            o.server = args[i + 1];
            continue;
        }
        const int value = i + 1 < args.size() ? std::atoi(args[i + 1].c_str()) : 0;
        if (value < 1) return std::nullopt;
        if (args[i] == "--runs") o.runs = value;
        else if (args[i] == "--searches") o.searches = value;
        else return std::nullopt;
    }
    return o;
}

std::string Load() {
    std::string line;
    std::getline(std::ifstream("/proc/loadavg"), line);
    return line;
}

bool Collect(const std::vector<std::string>& args, Measurements& into) {
    const ChildRun run = RunSelf(args);
    if (!run.succeeded) std::fprintf(stderr, "%s run failed: %s\n", args[0].c_str(), run.failure.c_str());
    else AddReported(run.output, into);
    return run.succeeded;
}

// One unmeasured run first, so every measured run finds the libraries and
// the database in the file cache alike.
bool TimeStartUps(const fs::path& programDir, int runs, Measurements& into) {
    Measurements warmUp;
    for (int i = 0; i <= runs; ++i)
        if (!Collect({kStartUpChild, programDir.string(), ClockText(BenchClock::now())}, i ? into : warmUp))
            return false;
    return true;
}

bool TimeSearches(const fs::path& database, const Options& o, Measurements& into) {
    Measurements warmUp;
    for (int i = 0; i <= o.runs; ++i)
        if (!Collect({kListChild, database.string(), std::to_string(o.searches), std::to_string(kGridRows)},
                     i ? into : warmUp))
            return false;
    return true;
}

struct Row {
    const char* name;  // as the children report it
    const char* label;
};

void PrintRows(Measurements& m, std::initializer_list<Row> rows) {
    for (const Row& r : rows) std::fputs(SummaryLine(r.label, m[r.name]).c_str(), stdout);
}

void PrintTable(Measurements& m) {
    const char* const cpu = "  CPU time of the process for it";
    const char* const built = "  Next until the list page was built, before shown";
    std::printf("Start-up: a new process until the welcome page is painted\n");
    PrintRows(m, {{"start-to-welcome", "process start to welcome page painted"},
                  {"start-to-welcome-cpu", cpu},
                  {"before-main", "  process start to main()"},
                  {"application", "  main() to QApplication made"},
                  {"to-welcome", "  QApplication made to welcome page painted"}});
    std::printf("Search and list: Next on the search page until the list is painted (%d grid rows)\n", kGridRows);
    PrintRows(m, {{"first-search", "first search in a fresh process"},
                  {"first-search-cpu", cpu},
                  {"first-search-built", built},
                  {"later-search", "later searches in the same process"},
                  {"later-search-cpu", cpu},
                  {"later-search-built", built},
                  {"query", "the database search alone, no page"},
                  {"query-cpu", cpu}});
}

void PrintGoal(const char* what, const std::vector<double>& seconds) {
    const double median = Median(seconds);
    std::printf("goal %.1f s, %s: median %.3f s, %s\n", kGoalSeconds, what, median,
                median < kGoalSeconds ? "met" : "NOT met");
}

int MeasureOnServer(const Options& o, const fs::path& file) {
    Database server(o.server);
    for (const CopiedTable& t : CopyIntoServer(file, server))
        std::printf("copied to the server: %-28s %6ld rows, every value checked\n", t.table.c_str(), t.rows);
    Measurements m;
    if (!TimeSearches(o.server, o, m)) return 1;
    std::printf("Search and list on the server (%d grid rows), load %s\n", kGridRows, Load().c_str());
    PrintRows(m, {{"first-search", "first search in a fresh process"},
                  {"later-search", "later searches in the same process"},
                  {"query", "the database search alone, no page"}});
    PrintGoal("first search and list on the server", m["first-search"]);
    return 0;
}

int Measure(const Options& o, const fs::path& folder) {
    std::printf("load before: %s\n", Load().c_str());
    const fs::path database = folder / "data" / "Patients.mdb";
    fs::create_directories(database.parent_path());
    const BenchClock::time_point fillStart = BenchClock::now();
    MakeFilledDatabase(database, kPatients, kCasesEach);
    std::printf("database: %d patients named \"%s...\", %d cases each, %ju bytes, filled in %.1f s\n", kPatients,
                kSharedLastNamePrefix, kCasesEach, static_cast<std::uintmax_t>(fs::file_size(database)),
                SecondsBetween(fillStart, BenchClock::now()));
    std::ofstream(folder / "Options.dat") << database.string() << "\nBenchmark Hospital\n";

    Measurements m;
    if (!TimeStartUps(folder, o.runs, m) || !TimeSearches(database, o, m)) return 1;
    std::printf("%d runs each after one unmeasured run, platform %s\n", o.runs, std::getenv("QT_QPA_PLATFORM"));
    PrintTable(m);
    std::printf("load after: %s\n", Load().c_str());
    PrintGoal("start-up", m["start-to-welcome"]);
    PrintGoal("first search and list", m["first-search"]);
    return o.server.empty() ? 0 : MeasureOnServer(o, database);
}
}  // namespace

int RunDriver(const std::vector<std::string>& args) {
    const std::optional<Options> options = ParseOptions(args);
    if (!options) {
        std::fprintf(stderr, "usage: kinevo-bench-pages [--runs N] [--searches N] [--server postgresql://...]\n");
        return 2;
    }
    // Headless unless the caller chose a platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern = (fs::temp_directory_path() / "kinevo-bench-pages-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    int status = 1;
    try {
        status = Measure(*options, pattern);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kinevo-bench-pages: %s\n", e.what());
    }
    fs::remove_all(pattern);
    return status;
}
