#include <gtest/gtest.h>

#include <cmath>

#include "engine/practical_regimen.h"

namespace {
const std::vector<double> kAll{6, 8, 12, 24, 36, 48};

// A spread of clearances and volumes about 4 L/h and 50 L.
Posterior Spread() {
    Posterior posterior;
    for (int i = 0; i < 40; ++i) posterior.draws.push_back({1, 40.0 + (i * 7) % 25, 2.5 + 0.1 * ((i * 13) % 31), 1});
    return posterior;
}

// Every candidate forecast in full, the best kept by the same rule.
PracticalRegimen BruteForce(const RegimenModel& m, const Posterior& posterior, const IntermittentTargets& t,
                            double step, double largest) {
    PracticalRegimen best;
    for (double interval : {6.0, 8.0, 12.0, 24.0, 36.0, 48.0})
        for (double dose = step; dose <= largest; dose += step) {
            const double share = *IntermittentAttainment(m, posterior, {dose, interval, 1, 1, {}}, t).all;
            const double daily = dose * 24 / interval, bestDaily = best.dose * 24 / best.interval;
            if (share > best.share || (share == best.share && share > 0 && daily < bestDaily))
                best = {dose, interval, share};
        }
    return best;
}
}  // namespace

// The search over usual doses against forecasting every candidate.
TEST(PracticalRegimen, BestOfTheUsualDosesAsEveryCandidateGives) {
    RegimenModel m;
    m.drug = "vm";
    const Posterior posterior = Spread();
    const UsualDoses vials = *UsualDosesOf("vm");
    EXPECT_EQ(vials.step, 250);
    EXPECT_EQ(UsualDosesOf("ak")->step, 50);
    EXPECT_EQ(UsualDosesOf("gm")->step, 10);
    EXPECT_FALSE(UsualDosesOf("dg"));

    for (const IntermittentTargets& t :
         {IntermittentTargets{{{}, 20}, {}, {400, 600}, {}}, IntermittentTargets{{10, 20}, {}, {}, {30, {}}}}) {
        const auto best = BestPracticalRegimen(m, posterior, 1, 1, t, vials, kAll);
        const PracticalRegimen expected = BruteForce(m, posterior, t, 250, 3000);
        ASSERT_TRUE(best);
        EXPECT_EQ(best->dose, expected.dose);
        EXPECT_EQ(best->interval, expected.interval);
        EXPECT_DOUBLE_EQ(best->share, expected.share);
        EXPECT_GT(best->share, 0.3);
    }

    // One draw, Cl 4 L/h: AUC24 is 6 D / tau, in 400-600 for a daily dose
    // of 1600-2400 mg. Every candidate there reaches it; the smallest daily
    // dose of the vials is 2500 mg q36h (1667 a day), not 1750 q24h, 3250
    // q48h being above the largest dose.
    Posterior one;
    one.draws.push_back({1, 50, 4, 1});
    const IntermittentTargets auc{{}, {}, {400, 600}, {}};
    const auto single = BestPracticalRegimen(m, one, 1, 1, auc, vials, kAll);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->dose, 2500);
    EXPECT_EQ(single->interval, 36);
    EXPECT_DOUBLE_EQ(single->share, 1);
    EXPECT_EQ(PracticalRegimenText(*single, "mg", auc, false),
              "2500 mg q36h: 100 % chance AUC24 400-600, the best of the usual doses");

    // Up to the exact design's 8.2 h, the next usual interval is 12 h: the
    // daily doses of 1600-2400 mg are 2000 (500 q6h, 1000 q12h) and 2250
    // (750 q8h); of the two 2000s the smaller dose.
    EXPECT_EQ(UsualIntervalsUpTo(8.2), (std::vector<double>{6, 8, 12}));
    EXPECT_EQ(UsualIntervalsUpTo(8), (std::vector<double>{6, 8}));
    EXPECT_EQ(UsualIntervalsUpTo(60), kAll);
    const auto kept = BestPracticalRegimen(m, one, 1, 1, auc, vials, UsualIntervalsUpTo(8.2));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->dose, 500);
    EXPECT_EQ(kept->interval, 6);

    // Nothing asked, or a goal no usual dose reaches: no regimen.
    EXPECT_FALSE(BestPracticalRegimen(m, one, 1, 1, {}, vials, kAll));
    EXPECT_FALSE(BestPracticalRegimen(m, one, 1, 1, {{}, {}, {5000, 6000}, {}}, vials, kAll));
}
