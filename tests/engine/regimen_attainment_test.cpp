#include <gtest/gtest.h>

#include "engine/regimen_attainment.h"

namespace {
// Vd 50 L and the clearances below, plus a draw with no clearance that
// forecasts nothing. 1000 mg over 1 h every 12 h, by hand (peak R/Cl (1 -
// e^(-kT)) / (1 - e^(-k tau)), post peak e^(-k), trough peak e^(-11k),
// AUC24 2000/Cl):
//   Cl 2: peak 51.4, post 49.4, trough 33.1, AUC24 1000
//   Cl 4: peak 31.1, post 28.8, trough 12.9, AUC24 500
//   Cl 6: peak 24.7, post 21.9, trough 6.6,  AUC24 333
//   Cl 8: peak 21.7, post 18.5, trough 3.7,  AUC24 250
Posterior FiveDraws(double vd) {
    Posterior posterior;
    for (double cl : {2.0, 4.0, 6.0, 8.0, 0.0}) posterior.draws.push_back({1, vd, cl, 1});
    return posterior;
}
}  // namespace

// The goals a page asks, counted over the draws, and their words.
TEST(RegimenAttainment, GoalsCountedAndSaidInWords) {
    RegimenModel m;
    m.drug = "vm";
    const Posterior posterior = FiveDraws(50);
    const IntermittentRegimen regimen{1000, 12, 1, 1, {}};

    // The IV page: trough in 5-15, post at least 25.
    const RegimenGoals iv = GoalsFor("vm", 5, 15, 25, true);
    const Attainment levels = IntermittentAttainment(m, posterior, regimen, iv.levels);
    EXPECT_DOUBLE_EQ(*levels.trough, 2 / 5.0);  // Cl 4 and 6
    EXPECT_DOUBLE_EQ(*levels.post, 2 / 5.0);    // Cl 2 and 4
    EXPECT_FALSE(levels.peak);
    EXPECT_EQ(AttainmentText(levels, iv.levels, false),
              "20 % chance trough 5-15 and post >= 25 (trough 40 %, post 40 %)");

    // Vancomycin's exposure: AUC24 400-600 with the trough under 20: Cl 4 only.
    ASSERT_TRUE(iv.exposure);
    const Attainment exposure = IntermittentAttainment(m, posterior, regimen, *iv.exposure);
    EXPECT_EQ(
        AttainmentText(exposure, *iv.exposure, true),
        "20 % chance AUC24 400-600 and trough <= 20 (AUC24 20 %, trough 60 %) - rough: effective sample size low");

    // No range and no desired peak: nothing asked, nothing said; no exposure
    // goal for another drug.
    const RegimenGoals none = GoalsFor("gm", 0, 0, std::nullopt, false);
    EXPECT_FALSE(none.exposure);
    EXPECT_EQ(AttainmentText(IntermittentAttainment(m, posterior, regimen, none.levels), none.levels, false), "");
    // An aminoglycoside's trough stays under the low end of its range.
    EXPECT_EQ(TargetsText(GoalsFor("gm", 2, 10, 8, true).levels), "trough <= 2 and post >= 8");
    EXPECT_EQ(TargetsText(GoalsFor("th", 10, 20, 15, false).levels), "trough 10-20 and peak >= 15");
    const RegimenGoals peakOnly = GoalsFor("gm", 0, 0, 25, false);
    EXPECT_EQ(AttainmentText(IntermittentAttainment(m, posterior, regimen, peakOnly.levels), peakOnly.levels, false),
              "40 % chance peak >= 25");

    // Phenytoin's average: (Km, Vm) (4, 500) gives 6 mg/L at 300 mg a day, (6, 400) 18.
    Posterior phenytoin;
    phenytoin.draws = {{1, 50, 4, 1, 500}, {1, 50, 6, 1, 400}};
    const TargetRange range{9.70874, 19.4175};
    EXPECT_EQ(AverageAttainmentText(PhenytoinAttainment(phenytoin, {300, 24, 1}, range), range, false),
              "50 % chance average 9.7-19.4");

    EXPECT_EQ(ChanceText(0.004), "< 1 %");
    EXPECT_EQ(ChanceText(0.996), "> 99 %");
    EXPECT_EQ(ChanceText(1), "100 %");
    EXPECT_EQ(ChanceText(0), "0 %");
}

// 300 mg by mouth every 12 h, Vd 30 L, ka 1/h. By hand, trough F D ka /
// (V (ka - k)) (e^(-k tau) / (1 - e^(-k tau)) - e^(-ka tau) / (1 - e^(-ka
// tau))) and AUC24 600/Cl:
//   Cl 1.5: trough 12.80, AUC24 400
//   Cl 3:   trough 4.79,  AUC24 200
//   Cl 6:   trough 1.25,  AUC24 100
TEST(RegimenAttainment, OralRegimenCountedOnItsOwnForecast) {
    RegimenModel m;
    m.drug = "th";
    m.ka = 1;
    Posterior posterior;
    for (double cl : {1.5, 3.0, 6.0}) posterior.draws.push_back({1, 30, cl, 1});
    const Attainment a = OralAttainment(m, posterior, 300, 12, {{4, 13}, {}, {300, 450}, {}});
    EXPECT_DOUBLE_EQ(*a.trough, 2 / 3.0);
    EXPECT_DOUBLE_EQ(*a.auc24, 1 / 3.0);
    EXPECT_DOUBLE_EQ(*a.all, 1 / 3.0);
    EXPECT_FALSE(a.post);
    // The trough just under 4.79 and just over it.
    EXPECT_DOUBLE_EQ(*OralAttainment(m, posterior, 300, 12, {{4.78, 13}, {}, {}, {}}).trough, 2 / 3.0);
    EXPECT_DOUBLE_EQ(*OralAttainment(m, posterior, 300, 12, {{4.80, 13}, {}, {}, {}}).trough, 1 / 3.0);
}
