#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "engine/prediction_interval.h"

namespace {
// A correlated F and Cl, a Vd that no prediction below depends on.
FitMatrix Covariance() {
    FitMatrix c{};
    c[0][0] = 0.0025;           // sd(F) = 0.05
    c[1][1] = 9;                // sd(Vd) = 3 L
    c[2][2] = 0.16;             // sd(Cl) = 0.4 L/h
    c[0][2] = c[2][0] = 0.006;  // correlation 0.3
    c[3][3] = 0.01;
    return c;
}
}  // namespace

TEST(PredictionInterval, NinetyFivePercentAgainstMonteCarloAndExactQuantiles) {
    // Average = S F D / (Cl tau) with F and Cl correlated: the 2.5 and 97.5 %
    // points of Y over draws of the parameters from their covariance.
    ParameterSet set;
    set.F = 0.9, set.Vd = 20, set.Cl = 5, set.CF = 1;
    const double S = 1, D = 600, tau = 12;
    const SetPrediction average = [&](const ParameterSet& p) { return S * p.F * D / (p.Cl * tau); };
    const FitMatrix c = Covariance();
    std::mt19937 draw(25);
    std::normal_distribution<double> unit;
    const double sdF = 0.05, sdCl = 0.4, rho = 0.006 / (sdF * sdCl);
    std::vector<double> ys;
    for (int i = 0; i < 200000; ++i) {
        const double a = unit(draw), b = unit(draw);
        const double F = 0.9 + sdF * a, Cl = 5 + sdCl * (rho * a + std::sqrt(1 - rho * rho) * b);
        ys.push_back(S * F * D / (Cl * tau));
    }
    std::sort(ys.begin(), ys.end());
    const double low = ys[ys.size() * 25 / 1000], high = ys[ys.size() * 975 / 1000];
    const auto range = PredictionInterval(average, set, c, 4);
    ASSERT_TRUE(range);
    EXPECT_NEAR(range->low, low, 0.01 * (high - low));
    EXPECT_NEAR(range->high, high, 0.01 * (high - low));

    // AUC24 = 24 D / (tau Cl) with Cl alone spread (sd 20 %): the range is
    // the AUC24 at Cl -/+ 1.96 sd, the exact quantiles, not symmetric.
    const SetPrediction auc24 = [&](const ParameterSet& p) { return 24 * D / (tau * p.Cl); };
    FitMatrix onlyCl{};
    onlyCl[2][2] = 1;
    const auto skewed = PredictionInterval(auc24, set, onlyCl, 4);
    ASSERT_TRUE(skewed);
    EXPECT_NEAR(skewed->low, 24 * D / (tau * (5 + 1.959964)), 1e-3);
    EXPECT_NEAR(skewed->high, 24 * D / (tau * (5 - 1.959964)), 1e-3);

    // A spread that would take Cl below 0: Y +/- 1.96 sd, the lower end at 0.
    FitMatrix wide = c;
    wide[2][2] = 100;
    const double y = 9, gF = y / 0.9, gCl = -y / 5;
    const double sd = std::sqrt(gF * gF * c[0][0] + gCl * gCl * 100 + 2 * gF * gCl * c[0][2]);
    const auto clamped = PredictionInterval(average, set, wide, 4);
    ASSERT_TRUE(clamped);
    EXPECT_EQ(clamped->low, 0);
    EXPECT_NEAR(clamped->high, y + 1.959964 * sd, 5e-3 * y);

    // Only the first parameterCount parameters count: with one, F alone.
    const auto onlyF = PredictionInterval(average, set, c, 1);
    EXPECT_NEAR(onlyF->high - y, 1.959964 * gF * sdF, 1e-5);
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
    EXPECT_NEAR(range->high - y, 1.959964 * y / 4 * 0.5, 1e-5);  // linear in Km: the step is exact

    // A parameter of 0 has no relative step and adds nothing.
    set.F = 0;
    c[0][0] = 1;
    EXPECT_NEAR(PredictionInterval(css, set, c, 4)->high - y, 1.959964 * y / 4 * 0.5, 1e-5);

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
