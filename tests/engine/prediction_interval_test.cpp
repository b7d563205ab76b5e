#include <gtest/gtest.h>

#include <cmath>

#include "engine/prediction_interval.h"

namespace {
// A correlated F and Cl, a Vd that no prediction below depends on.
FitMatrix Covariance() {
    FitMatrix c{};
    c[0][0] = 0.0025;             // sd(F) = 0.05
    c[1][1] = 9;                  // sd(Vd) = 3 L
    c[2][2] = 0.16;               // sd(Cl) = 0.4 L/h
    c[0][2] = c[2][0] = 0.006;    // correlation 0.3
    c[3][3] = 0.01;
    return c;
}
}  // namespace

TEST(PredictionInterval, AverageLevelAgainstTheAnalyticDerivatives) {
    // Average = S F D / (Cl tau): dY/dF = Y/F, dY/dCl = -Y/Cl, no Vd or CF.
    ParameterSet set;
    set.F = 0.9, set.Vd = 20, set.Cl = 5, set.CF = 1;
    const double S = 1, D = 600, tau = 12;
    const SetPrediction average = [&](const ParameterSet& p) { return S * p.F * D / (p.Cl * tau); };
    const FitMatrix c = Covariance();
    const double y = S * 0.9 * D / (5 * tau);  // 9 mg/L
    const double gF = y / 0.9, gCl = -y / 5;
    const double sd = std::sqrt(gF * gF * c[0][0] + gCl * gCl * c[2][2] + 2 * gF * gCl * c[0][2]);
    const auto range = PredictionInterval(average, set, c, 4);
    ASSERT_TRUE(range);
    // The forward step of 0.1 % moves the 1/Cl slope by about 0.1 %.
    EXPECT_NEAR(range->low, y - sd, 2e-3 * sd);
    EXPECT_NEAR(range->high, y + sd, 2e-3 * sd);
    EXPECT_NEAR(range->high + range->low, 2 * y, 1e-9);

    // A spread wider than the level: the lower end stops at 0.
    FitMatrix wide = c;
    wide[2][2] = 100;
    const auto clamped = PredictionInterval(average, set, wide, 4);
    ASSERT_TRUE(clamped);
    EXPECT_EQ(clamped->low, 0);
    EXPECT_NEAR(clamped->high, y + std::sqrt(gF * gF * c[0][0] + gCl * gCl * 100 + 2 * gF * gCl * c[0][2]),
                2e-3 * y);

    // Only the first parameterCount parameters count: with one, F alone.
    const auto onlyF = PredictionInterval(average, set, c, 1);
    EXPECT_NEAR(onlyF->high - y, gF * 0.05, 1e-9);
}

TEST(PredictionInterval, ClSlotStepsKmAndMissingPredictionsGiveNoRange) {
    // Phenytoin: Css = Km R / (Vm - R), so dCss/dKm = Css/Km; Vm is the fifth
    // parameter and stays out with four.
    ParameterSet set;
    set.F = 1, set.Vd = 45, set.Cl = set.Km = 4, set.CF = 1, set.Vm = 500;
    const double R = 300;
    const SetPrediction css = [&](const ParameterSet& p) { return p.Km * R / (p.Vm - R); };
    FitMatrix c{};
    c[2][2] = 0.25;  // sd(Km) = 0.5 mg/L
    c[4][4] = 400;
    const double y = 4 * R / 200;
    const auto range = PredictionInterval(css, set, c, 4);
    ASSERT_TRUE(range);
    EXPECT_NEAR(range->high - y, y / 4 * 0.5, 1e-9);  // linear in Km: the step is exact

    // A parameter of 0 has no relative step and adds nothing.
    set.F = 0;
    c[0][0] = 1;
    EXPECT_NEAR(PredictionInterval(css, set, c, 4)->high - y, y / 4 * 0.5, 1e-9);

    const SetPrediction none = [](const ParameterSet&) { return std::optional<double>(); };
    EXPECT_FALSE(PredictionInterval(none, set, c, 4));
    // Missing once a stepped set has no prediction.
    const SetPrediction edge = [&](const ParameterSet& p) {
        return p.Km > 4 ? std::optional<double>() : std::optional<double>(css(p));
    };
    EXPECT_FALSE(PredictionInterval(edge, set, c, 4));
    FitMatrix negative{};
    negative[2][2] = -1;
    EXPECT_FALSE(PredictionInterval(css, set, negative, 4));
}
