#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "engine/fit_matrix.h"
#include "engine/fitting.h"

namespace {
FitMatrix Matrix(std::initializer_list<std::initializer_list<double>> rows) {
    FitMatrix m{};
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double x : row) m[i][j++] = x;
        ++i;
    }
    return m;
}

// One parameter whose best value is `target`: a level of 10 predicted as
// 10 x p / target, with a prior too weak to matter.
FitProblem OneParameter() {
    FitProblem problem;
    problem.times = {1};
    problem.observed = {10};
    problem.lastLevelTime = 1;
    problem.fixedError = 1;
    problem.priorMeans = {20};
    problem.relativeSd = {1e6};
    return problem;
}
}  // namespace

TEST(InvertMatrix, PartialPivotingAndSingularPivots) {
    FitMatrix inverse{};
    ASSERT_TRUE(InvertMatrix(Matrix({{4, 7}, {2, 6}}), 2, inverse));
    EXPECT_NEAR(inverse[0][0], 0.6, 1e-15);
    EXPECT_NEAR(inverse[0][1], -0.7, 1e-15);
    EXPECT_NEAR(inverse[1][0], -0.2, 1e-15);
    EXPECT_NEAR(inverse[1][1], 0.4, 1e-15);
    // A zero first pivot needs the row swap.
    ASSERT_TRUE(InvertMatrix(Matrix({{0, 2, 0}, {1, 0, 0}, {0, 0, 4}}), 3, inverse));
    EXPECT_DOUBLE_EQ(inverse[0][1], 1);
    EXPECT_DOUBLE_EQ(inverse[1][0], 0.5);
    EXPECT_DOUBLE_EQ(inverse[2][2], 0.25);
    EXPECT_DOUBLE_EQ(inverse[0][0], 0);

    FitMatrix kept{};
    kept[0][0] = 9;
    EXPECT_FALSE(InvertMatrix(Matrix({{1, 2}, {2, 4}}), 2, kept));
    EXPECT_FALSE(InvertMatrix(Matrix({{1e-9, 0}, {0, 1}}), 2, kept));
    EXPECT_EQ(kept[0][0], 9);  // left as it was
}

TEST(FitParameters, RejectedStepsDoNotCountAsIterations) {
    FitProblem problem = OneParameter();
    const double start = 1.1 * problem.priorMeans[0];
    int calls = 0;
    // Predictions exist only right beside the start, so every real step is
    // rejected until the damping makes it small enough to stop.
    const LevelModel model = [&](const FitVector& p) -> std::vector<std::optional<double>> {
        ++calls;
        if (std::fabs(p[0] / start - 1) > 1e-4) return {std::nullopt};
        return {10 * p[0] / 5};
    };
    const FitOutcome fit = FitParameters(problem, model);
    EXPECT_EQ(fit.iterations, 1);
    EXPECT_FALSE(fit.cannotFit);
    const int curvatureCalls = 2 * 2;      // at the start and at the end, 2 calls each
    EXPECT_GE(calls - curvatureCalls, 2);  // rejected trial steps
    EXPECT_DOUBLE_EQ(fit.p[0], start);
}

TEST(FitParameters, IterationLimitGivesUpWithTheParametersReached) {
    FitProblem problem = OneParameter();
    double target = 5;
    // The best value moves on by 1 % every time the search reports progress,
    // so each step is accepted and none is small enough to stop.
    const LevelModel model = [&](const FitVector& p) -> std::vector<std::optional<double>> {
        return {10 * p[0] / target};
    };
    const FitOutcome fit = FitParameters(problem, model, [&](int) { target *= 1.01; });
    EXPECT_TRUE(fit.cannotFit);
    EXPECT_EQ(fit.iterations, 1000);
    EXPECT_TRUE(std::isfinite(fit.p[0]));
    EXPECT_GT(fit.p[0], 1000);
}

TEST(FitParameters, SingularFinalMatrixLeavesTheCovarianceMissing) {
    FitProblem problem;
    problem.times = {1, 6};
    problem.observed = {8, 3};
    problem.lastLevelTime = 6;
    problem.proportionalError = 0.01;
    problem.priorMeans = {1, 20, 5, 1};
    // F and CF do not enter the model and their priors are all but flat.
    problem.relativeSd = {1e12, 0.3, 0.5, 1e12};
    const LevelModel model = [&](const FitVector& p) {
        std::vector<std::optional<double>> c;
        for (double t : problem.times) c.push_back(100 / p[1] * std::exp(-p[2] / p[1] * t));
        return c;
    };
    const FitOutcome fit = FitParameters(problem, model);
    EXPECT_FALSE(fit.cannotFit);
    EXPECT_EQ(fit.covariance, std::nullopt);
    for (double x : fit.p) EXPECT_TRUE(std::isfinite(x));
    // The two levels still fix Vd and Cl (100 / Vd e^(-k) = 8, e^(-5k) = 3/8)
    // up to the pull of their priors.
    const double k = std::log(8.0 / 3) / 5;
    EXPECT_NEAR(fit.p[2] / fit.p[1], k, 0.01 * k);
    EXPECT_NEAR(fit.p[1], 100 * std::exp(-k) / 8, 0.02 * fit.p[1]);
}

TEST(FitParameters, ZeroPriorMeanCannotStart) {
    FitProblem problem = OneParameter();
    problem.priorMeans = {0};
    int calls = 0;
    const FitOutcome fit = FitParameters(problem, [&](const FitVector&) {
        ++calls;
        return std::vector<std::optional<double>>{1.0};
    });
    EXPECT_TRUE(fit.cannotFit);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(fit.covariance, std::nullopt);
}

TEST(FitParameters, SearchAlwaysEnds) {
    // Accepted steps first shrink the damping far below any number a double
    // holds (each one divides it by 10); then every trial step is refused.
    // The damping must still grow and the search end, within 1000 steps.
    {
        FitProblem problem = OneParameter();
        double target = 5;
        int passes = 0;
        long calls = 0;
        std::optional<double> frozen;
        const LevelModel model = [&](const FitVector& p) -> std::vector<std::optional<double>> {
            if (++calls > 100000) throw std::runtime_error("the search does not end");
            if (passes < 400) return {10 * p[0] / target};
            if (!frozen) frozen = p[0];
            if (std::fabs(p[0] / *frozen - 1) > 1e-4) return {std::nullopt};
            return {10 * p[0] / target};
        };
        const FitOutcome fit = FitParameters(problem, model, [&](int) {
            ++passes;
            target *= 1.01;
        });
        EXPECT_GT(fit.rejectedSteps, 0);
        EXPECT_LE(fit.iterations + fit.rejectedSteps, 1000);
        EXPECT_TRUE(std::isfinite(fit.p[0]));
    }
    // A parameter that no residual feels (its prior SD is so wide that its
    // curvature underflows to 0) leaves the damped matrix singular: the
    // search cannot go on and says so instead of repeating an old step.
    {
        FitProblem problem = OneParameter();
        problem.priorMeans = {20, 1};
        problem.relativeSd = {1e6, 1e300};
        const FitOutcome fit = FitParameters(
            problem, [](const FitVector& p) { return std::vector<std::optional<double>>{10 * p[0] / 5}; });
        EXPECT_TRUE(fit.cannotFit);
        EXPECT_EQ(fit.iterations, 1);
    }
}

// Two parameters of a decay C = A exp(-k t) fitted to four levels that no
// pair fits exactly, from a start far off: the search accepts and rejects
// steps on its way. Asking for the next trial steps ahead, side by side,
// must change nothing it decides.
TEST(FitParameters, TrialsWorkedOutAheadDecideAsOneAtATime) {
    FitProblem problem;
    problem.times = {1, 2, 4, 8};
    problem.observed = {80, 70, 30, 12};
    problem.lastLevelTime = 8;
    problem.fixedError = 1;
    problem.proportionalError = 0.1;
    problem.priorMeans = {5, 0.05};
    problem.relativeSd = {3, 3};
    int direct = 0, batches = 0;
    bool inBatch = false;
    const LevelModel model = [&](const FitVector& p) {
        if (!inBatch) ++direct;
        std::vector<std::optional<double>> out;
        for (double t : problem.times) out.push_back(p[0] * std::exp(-p[1] * t));
        return out;
    };
    const LevelModelSets models = [&](const std::vector<FitVector>& ps) {
        ++batches;
        inBatch = true;
        std::vector<std::vector<std::optional<double>>> out;
        for (const FitVector& p : ps) out.push_back(model(p));
        inBatch = false;
        return out;
    };
    const FitOutcome alone = FitParameters(problem, model);
    direct = 0;
    const FitOutcome ahead = FitParameters(problem, model, {}, models);
    ASSERT_GT(alone.rejectedSteps, 0);
    EXPECT_EQ(ahead.iterations, alone.iterations);
    EXPECT_EQ(ahead.rejectedSteps, alone.rejectedSteps);
    EXPECT_EQ(ahead.p, alone.p);
    ASSERT_TRUE(alone.covariance && ahead.covariance);
    EXPECT_EQ(*ahead.covariance, *alone.covariance);
    // No point was worked out alone, and a rejected step cost no pass of
    // its own.
    EXPECT_EQ(direct, 0);
    EXPECT_LT(batches, 2 * alone.iterations + alone.rejectedSteps);
}
