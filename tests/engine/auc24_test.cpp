// AUC24 and the regimen for a target AUC24, against the area under a
// fine-step integration of the two-compartment model dosed to steady state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "engine/auc24.h"
#include "tests/engine/ode_reference.h"

namespace {
RegimenModel Vancomycin() { return {.drug = "vm", .modelType = 2, .Vd = 50, .Cl = 5, .vc = 15, .k21 = 0.46}; }

struct SteadyState {
    double auc24 = 0, trough = 0;
};

// Infusions of `dose` over `infusion` hours every `tau` hours for ten days;
// the area of the central level over the last 24 hours and the last trough.
SteadyState Simulate(const RegimenModel& m, double dose, double tau, double infusion) {
    const double beta = m.Cl / m.Vd, k10 = m.Cl / m.vc, alpha = m.k21 * k10 / beta;
    const double k12 = alpha + beta - k10 - m.k21;
    double rate = 0;
    const OdeSlope slope = [&](double, const OdeState& y) {
        return OdeState{rate - (k10 + k12) * y[0] + m.k21 * y[1], k12 * y[0] - m.k21 * y[1], y[0] / m.vc};
    };
    OdeState y{0, 0, 0};
    double t = 0, areaAtStart = 0;
    SteadyState out;
    while (t < 240 - 1e-9) {
        if (t >= 240 - 24 - 1e-9 && areaAtStart == 0) areaAtStart = y[2];
        rate = dose / infusion;
        y = IntegrateOde(slope, y, t, t + infusion, 400);
        rate = 0;
        y = IntegrateOde(slope, y, t + infusion, t + tau, 2000);
        t += tau;
        out.trough = y[0] / m.vc;
    }
    out.auc24 = y[2] - areaAtStart;
    return out;
}
}  // namespace

TEST(Auc24, IsTheAreaUnderTheSteadyStateCurveOverADay) {
    const RegimenModel m = Vancomycin();
    for (const double tau : {8.0, 12.0, 24.0}) {
        const SteadyState s = Simulate(m, 1000, tau, 1);
        EXPECT_NEAR(*Auc24(m, 1000, tau), s.auc24, s.auc24 * 0.002) << tau;
    }
    // A continuous infusion of R mg/h: 24·R/Cl.
    EXPECT_DOUBLE_EQ(*Auc24Continuous(m, 50), 240);
    EXPECT_FALSE(Auc24(m, 1000, 0));
    EXPECT_FALSE(Auc24({.drug = "vm", .modelType = 2, .Vd = 50, .Cl = 0}, 1000, 12));
}

TEST(Auc24, DesignedRegimenReachesItsTargetWhenDosed) {
    const RegimenModel m = Vancomycin();
    const Auc24Design byInterval = DesignForAuc24(m, {.target = 500, .interval = 12, .infusionTime = 1});
    ASSERT_TRUE(byInterval.dose) << byInterval.message;
    const SteadyState s = Simulate(m, *byInterval.dose, 12, 1);
    EXPECT_NEAR(s.auc24, 500, 1);
    EXPECT_NEAR(*byInterval.trough, s.trough, 0.01);
    EXPECT_TRUE(byInterval.message.empty());

    const Auc24Design byDose = DesignForAuc24(m, {.target = 500, .dose = 1250, .infusionTime = 1.5});
    ASSERT_TRUE(byDose.interval);
    EXPECT_NEAR(Simulate(m, 1250, *byDose.interval, 1.5).auc24, 500, 1);

    // The regimen stays, with the trough over the limit said.
    const Auc24Design high = DesignForAuc24(m, {.target = 500, .interval = 12, .infusionTime = 1, .troughLimit = 5});
    EXPECT_TRUE(high.troughAboveLimit);
    EXPECT_TRUE(high.dose);
    EXPECT_EQ(high.message.rfind("Trough ", 0), 0u);
}

TEST(Auc24, IsTheAreaUnderTheLevelsShownWhateverTheComplianceFactor) {
    // The levels beside the AUC24 leave CF out (and salt, for vancomycin):
    // so does their area. CF 0.64 once gave 391 against an area of 611.
    RegimenModel m = Vancomycin();
    m.CF = 0.64;
    m.salt = 0.9;
    const SteadyState s = Simulate(m, 1000, 12, 1);
    EXPECT_NEAR(*Auc24(m, 1000, 12), s.auc24, s.auc24 * 0.002);
    const Auc24Design design = DesignForAuc24(m, {.target = 500, .interval = 12, .infusionTime = 1});
    ASSERT_TRUE(design.dose);
    EXPECT_NEAR(Simulate(m, *design.dose, 12, 1).auc24, 500, 1);

    // One compartment: the salt reaches the levels, CF does not; at steady
    // state one interval's area is S D / Cl.
    const RegimenModel gentamicin{.drug = "gm", .Vd = 20, .Cl = 5, .CF = 0.64, .salt = 0.9};
    EXPECT_NEAR(*Auc24(gentamicin, 120, 8), 24 * 0.9 * 120 / (8 * 5), 1e-9);
    // A user's drug at a steady 15 mg/L (S F R / Cl = 15) with CF 80 %: 15 x 24.
    const RegimenModel user{.drug = "zz", .F = 0.8, .Cl = 4, .CF = 0.8, .salt = 1};
    EXPECT_NEAR(*Auc24Continuous(user, 15 * 4 / 0.8), 360, 1e-9);
    // Lithium by mouth: the area of its mEq/L levels, 300 mg being 8.12 mEq.
    const RegimenModel lithium{.drug = "li", .F = 1, .Vd = 50, .Cl = 1.5, .salt = 1, .ka = 1};
    EXPECT_NEAR(*Auc24Absorbed(lithium, 300, 12), 24 * 300 * 0.027066666666666666 / (12 * 1.5), 1e-9);
}

TEST(Auc24, TroughLimitIsJudgedAsTheTroughReads) {
    const RegimenModel m = Vancomycin();
    // A target whose trough reads a little above its tenth (15.04 reads 15.0).
    double target = 400, trough = 0;
    for (; target < 700; target += 1) {
        trough = *DesignForAuc24(m, {.target = target, .interval = 12, .infusionTime = 1}).trough;
        const double tenths = trough * 10 - std::floor(trough * 10);
        if (tenths > 0.1 && tenths < 0.4) break;
    }
    const double shown = std::floor(trough * 10) / 10;
    const Auc24Design at =
        DesignForAuc24(m, {.target = target, .interval = 12, .infusionTime = 1, .troughLimit = shown});
    EXPECT_FALSE(at.troughAboveLimit) << at.message;
    EXPECT_TRUE(at.message.empty());
    const Auc24Design above =
        DesignForAuc24(m, {.target = target, .interval = 12, .infusionTime = 1, .troughLimit = shown - 0.05});
    EXPECT_TRUE(above.troughAboveLimit);
    char expected[80];
    std::snprintf(expected, sizeof expected, "Trough %.1f is above the limit of %.2f.", shown, shown - 0.05);
    EXPECT_EQ(above.message, expected);
}

TEST(Auc24, DesignRefusesWhatCannotBeMet) {
    const RegimenModel m = Vancomycin();
    EXPECT_EQ(DesignForAuc24(m, {.interval = 12, .infusionTime = 1}).message, "Desired AUC24 is missing.");
    EXPECT_EQ(DesignForAuc24(m, {.target = 500, .interval = 12, .dose = 1000, .infusionTime = 1}).message,
              "Give either the interval or the dose for the AUC24.");
    EXPECT_EQ(DesignForAuc24(m, {.target = 500, .interval = 6, .infusionTime = 8}).message,
              "The infusion time is longer than the interval.");
    EXPECT_FALSE(DesignForAuc24(m, {.target = 500, .interval = 6, .infusionTime = 8}).dose);
}
