#include <gtest/gtest.h>

#include "engine/target_attainment.h"

// 1000 mg over 1 h every 12 h, Vd 50 L. By hand, peak R/Cl (1 - e^(-kT)) /
// (1 - e^(-k tau)) and trough peak e^(-k(tau - T)), AUC24 2000/Cl:
//   Cl 2: peak 51.4, trough 33.1, AUC24 1000
//   Cl 4: peak 31.2, trough 12.9, AUC24 500
//   Cl 6: peak 24.7, trough 6.6,  AUC24 333
//   Cl 8: peak 21.7, trough 3.7,  AUC24 250
// and a fifth draw with no clearance, which forecasts nothing.
TEST(TargetAttainment, IntermittentSharesCountEachDrawOnItsOwn) {
    Posterior posterior;
    for (double cl : {2.0, 4.0, 6.0, 8.0, 0.0}) posterior.draws.push_back({1, 50, cl, 1});
    RegimenModel m;
    m.drug = "vm";
    const IntermittentRegimen regimen{1000, 12, 1, 0, {}};

    const Attainment usual = IntermittentAttainment(m, posterior, regimen, {{5, 15}, {25, {}}, {400, 600}});
    EXPECT_DOUBLE_EQ(*usual.trough, 2 / 5.0);  // Cl 4 and 6
    EXPECT_DOUBLE_EQ(*usual.peak, 2 / 5.0);    // Cl 2 and 4
    EXPECT_DOUBLE_EQ(*usual.auc24, 1 / 5.0);   // Cl 4
    EXPECT_DOUBLE_EQ(*usual.all, 1 / 5.0);     // Cl 4
    EXPECT_FALSE(usual.average);

    // AUC24 in 300-600 with the trough under 10: each alone holds for two
    // draws, both together only for Cl 6, not the product of the two shares.
    const Attainment auc = IntermittentAttainment(m, posterior, regimen, {{{}, 10}, {}, {300, 600}});
    EXPECT_DOUBLE_EQ(*auc.trough, 2 / 5.0);  // Cl 6 and 8
    EXPECT_FALSE(auc.peak);
    EXPECT_DOUBLE_EQ(*auc.auc24, 2 / 5.0);  // Cl 4 and 6
    EXPECT_DOUBLE_EQ(*auc.all, 1 / 5.0);
}

// 300 mg a day: the average level Km R / (Vm - R) is 6, 18 and 18 mg/L for
// (Km, Vm) = (4, 500), (6, 400), (3, 350); a Vm of 300 mg/day is reached,
// no level. 10-20 mg/L holds for two of the four.
TEST(TargetAttainment, PhenytoinAverageLevelInRange) {
    Posterior posterior;
    for (auto [km, vm] : {std::pair{4.0, 500.0}, {6.0, 400.0}, {3.0, 350.0}, {4.0, 300.0}})
        posterior.draws.push_back({1, 50, km, 1, vm});
    const Attainment a = PhenytoinAttainment(posterior, {300, 24, 1}, {10, 20});
    EXPECT_DOUBLE_EQ(*a.average, 0.5);
    EXPECT_DOUBLE_EQ(*a.all, 0.5);
    EXPECT_FALSE(PhenytoinAttainment(Posterior{}, {300, 24, 1}, {10, 20}).average);
}
