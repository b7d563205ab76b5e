#include "bench/pages/driver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "bench/pages/child_process.h"
#include "bench/pages/filled_database.h"
#include "bench/pages/measurement.h"
#include "bench/pages/program_start_timing.h"
#include "bench/pages/summary.h"
#include "bench/pages/x_display.h"
#include "records/db/patient_search.h"
#include "records/db/schema/server_database.h"

namespace fs = std::filesystem;

namespace {
constexpr double kGoalSeconds = 0.3;
// The list refuses more patients than this, so one search lists them all.
constexpr int kPatients = kMaxListedPatients;
constexpr int kCasesEach = 3;
constexpr int kGridRows = kPatients * (1 + kCasesEach);
// Then 99 copies of each: 50 000 match, the list shows 500 of them.
constexpr int kCopies = 99;
constexpr int kManyPatients = kPatients * (1 + kCopies);

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

// The real program, copied beside the benchmark's Options.dat, on an X
// display; the same unmeasured run first.
bool TimeRealStartUps(const fs::path& programDir, int runs, Measurements& into) {
    const XDisplay display;
    if (display.Name().empty()) {
        std::fprintf(stderr, "no X display: %s\n", display.Failure().c_str());
        return false;
    }
    const fs::path program = programDir / "kinevo";
    fs::copy_file(fs::read_symlink("/proc/self/exe").parent_path() / "kinevo", program,
                  fs::copy_options::overwrite_existing);
    for (int i = 0; i <= runs; ++i) {
        const ProgramStart run = StartRealProgram(program, display.Name());
        if (!run.succeeded) {
            std::fprintf(stderr, "kinevo start failed: %s\n", run.failure.c_str());
            return false;
        }
        if (i == 0) continue;
        into["real-start-to-welcome"].push_back(run.toPicture);
        into["real-start-cpu"].push_back(run.cpu);
    }
    std::printf("real kinevo started on X display %s\n", display.Name().c_str());
    return true;
}

bool TimeSearches(const std::string& database, const Options& o, bool many, Measurements& into) {
    Measurements warmUp;
    for (int i = 0; i <= o.runs; ++i)
        if (!Collect({kListChild, database, std::to_string(o.searches), std::to_string(kGridRows), many ? "1" : "0"},
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

void PrintStartUps(Measurements& m) {
    const char* const cpu = "  CPU time of the process for it";
    std::printf("Start-up of the real kinevo on X until its welcome page is painted and saved as a picture\n");
    PrintRows(m, {{"real-start-to-welcome", "process start to welcome picture saved"},
                  {"real-start-cpu", "  CPU time of the whole process"}});
    std::printf("Start-up in this program, platform %s: a new process until the welcome page is painted\n",
                std::getenv("QT_QPA_PLATFORM"));
    PrintRows(m, {{"start-to-welcome", "process start to welcome page painted"},
                  {"start-to-welcome-cpu", cpu},
                  {"before-main", "  process start to main()"},
                  {"application", "  main() to QApplication made"},
                  {"to-welcome", "  QApplication made to welcome page painted"}});
}

void PrintSearches(const char* where, int matches, Measurements& m) {
    const char* const cpu = "  CPU time of the process for it";
    const char* const built = "  Next until the list page was built, before shown";
    std::printf(
        "Search and list %s, %d patients match: Next on the search page until the list is painted "
        "(%d grid rows), load %s\n",
        where, matches, kGridRows, Load().c_str());
    PrintRows(m, {{"first-search", "first search in a fresh process"},
                  {"first-search-cpu", cpu},
                  {"first-search-built", built},
                  {"later-search", "later searches in the same process"},
                  {"later-search-cpu", cpu},
                  {"later-search-built", built},
                  {"query", "the database search alone, no page"},
                  {"query-cpu", cpu}});
}

void PrintGoal(const std::string& what, const std::vector<double>& seconds) {
    const double median = Median(seconds);
    std::printf("goal %.1f s, %s: median %.3f s, %s\n", kGoalSeconds, what.c_str(), median,
                median < kGoalSeconds ? "met" : "NOT met");
}

// Searches matching 500 patients, then, after `copy` has added copies of
// them to the database the searches read, 50 000.
bool MeasureSearches(const std::string& where, const std::string& database, const Options& o,
                     const std::function<void()>& copy) {
    Measurements few, many;
    if (!TimeSearches(database, o, false, few)) return false;
    PrintSearches(where.c_str(), kPatients, few);
    copy();
    if (!TimeSearches(database, o, true, many)) return false;
    PrintSearches(where.c_str(), kManyPatients, many);
    PrintGoal("first search and list " + where + ", " + std::to_string(kPatients) + " matches", few["first-search"]);
    PrintGoal("first search and list " + where + ", " + std::to_string(kManyPatients) + " matches",
              many["first-search"]);
    return true;
}

int MeasureOnServer(const Options& o, const fs::path& file) {
    Database server(o.server);
    for (const CopiedTable& t : CopyIntoServer(file, server))
        std::printf("copied to the server: %-28s %6ld rows, every value checked\n", t.table.c_str(), t.rows);
    const auto copy = [&] { AddMatchingCopies(server, kPatients, kCopies); };
    return MeasureSearches("on the server", o.server, o, copy) ? 0 : 1;
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

    // The searches of many matches read a copy: the server is filled from
    // the file of 500.
    const fs::path manyFile = folder / "data" / "Patients-many.mdb";
    fs::copy_file(database, manyFile);
    Measurements m;
    if (!TimeRealStartUps(folder, o.runs, m) || !TimeStartUps(folder, o.runs, m)) return 1;
    std::printf("%d runs each after one unmeasured run\n", o.runs);
    PrintStartUps(m);
    PrintGoal("start-up of the real kinevo on X", m["real-start-to-welcome"]);
    const auto copy = [&] {
        Database db(manyFile);
        AddMatchingCopies(db, kPatients, kCopies);
    };
    if (!MeasureSearches("in the file", manyFile.string(), o, copy)) return 1;
    std::printf("load after: %s\n", Load().c_str());
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
