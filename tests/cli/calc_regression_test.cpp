// Inputs that once made kinevo-calc hang, abort or print nonsense, each run
// through the real program. The folder is read when the test runs, so a new
// reproducer needs no edit here.
#include <gtest/gtest.h>

#include <functional>

#include "calc_runner.h"

namespace {
constexpr double kTimeLimitSeconds = 10;

// nlohmann's parser takes no NaN, no Infinity and no number beyond a double,
// so a parsed output holds only finite numbers.
void ExpectStrictJson(const CalcRun& run) {
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_NO_THROW((void)run.json()) << run.out.substr(0, 200);
}

// Runs every *.json file of `dir` under its name, killing a run past the
// time limit, and hands each run that ended to `check`.
void RunEach(const char* dir, const std::function<void(const CalcRun&)>& check) {
    const auto files = JsonFilesIn(dir);
    ASSERT_FALSE(files.empty()) << dir;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const CalcRun run = RunCalcOnFile(file, kTimeLimitSeconds);
        EXPECT_FALSE(run.timedOut) << "killed after " << kTimeLimitSeconds << " s";
        if (!run.timedOut) check(run);
    }
}
}  // namespace

TEST(KinevoCalcRegression, EveryStoredInputEndsInTimeWithJsonOrOneLine) {
    RunEach(KINEVO_REGRESSION_DIR, [](const CalcRun& run) {
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 2) << "exit " << run.exitCode << ": " << run.err;
        if (run.exitCode == 0) ExpectStrictJson(run);
        else ExpectOneLineRefusal(run);
    });
}

TEST(KinevoCalcRegression, EveryShippedExampleRuns) {
    RunEach(KINEVO_EXAMPLES_DIR, [](const CalcRun& run) {
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ExpectStrictJson(run);
    });
}
