// Inputs that once made kinevo-calc hang, abort or print nonsense, each run
// through the real program. The folder is read when the test runs, so a new
// reproducer needs no edit here.
#include <gtest/gtest.h>

#include "calc_runner.h"

namespace {
constexpr double kTimeLimitSeconds = 10;

// nlohmann's parser takes no NaN, no Infinity and no number beyond a double,
// so a parsed output holds only finite numbers.
void ExpectStrictJson(const CalcRun& run) {
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_NO_THROW((void)run.json()) << run.out.substr(0, 200);
}
}  // namespace

TEST(KinevoCalcRegression, EveryStoredInputEndsInTimeWithJsonOrOneLine) {
    const auto files = JsonFilesIn(KINEVO_REGRESSION_DIR);
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const CalcRun run = RunCalcOnFile(file, kTimeLimitSeconds);
        EXPECT_FALSE(run.timedOut) << "killed after " << kTimeLimitSeconds << " s";
        if (run.timedOut) continue;
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 2) << "exit " << run.exitCode << ": " << run.err;
        if (run.exitCode == 0) ExpectStrictJson(run);
        else ExpectOneLineRefusal(run);
    }
}

TEST(KinevoCalcRegression, EveryShippedExampleRuns) {
    const auto files = JsonFilesIn(KINEVO_EXAMPLES_DIR);
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const CalcRun run = RunCalcOnFile(file, kTimeLimitSeconds);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        if (run.exitCode == 0) ExpectStrictJson(run);
    }
}
