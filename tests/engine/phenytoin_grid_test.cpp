#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/phenytoin_grid.h"
#include "engine/prediction.h"
#include "history_fixtures.h"
#include "ode_reference.h"

namespace {
// A capsule portion absorbed at 60 mg/h.
DoseEvent Portion(double time, double amount, int outpatient) {
    DoseEvent e = EventAt(time, amount, kEventOral, 0, 0, outpatient);
    e.rate = 60;
    e.salt = 0.92;
    return e;
}

DoseEvent Infusion(double time, double amount, double hours, int route = kEventIV) {
    DoseEvent e = EventAt(time, amount, route, hours);
    e.salt = 0.92;
    return e;
}

ParameterSet Phenytoin(double F, double Vd, double Km, double Vm, double CF) { return Params(F, Vd, Km, CF, Vm); }

// Oral portions 0-4 h as an outpatient (130 mg ends 10 minutes into hour 2),
// then an inpatient infusion of 1000 mg over 1 h at 12 h.
PredictionInput History36Hours() {
    PredictionInput in;
    in.modelType = 3;
    in.phenytoinAbsRate = 60;
    in.events = {Portion(0, 60, 1), Portion(1, 60, 1), Portion(2, 10, 1), Infusion(12, 1000, 1)};
    in.events[3].outpatient = 0;
    in.gridSpan = 36;
    return in;
}
}  // namespace

TEST(PhenytoinGrid, StepsOfAMinuteUpTo48000) {
    EXPECT_EQ(PhenytoinGridOf(800)->stepsPerHour, 60);
    EXPECT_EQ(PhenytoinGridOf(800)->steps, 48000);
    EXPECT_EQ(PhenytoinGridOf(1000)->stepsPerHour, 48);
    EXPECT_EQ(PhenytoinGridOf(1000)->steps, 48000);
    EXPECT_EQ(PhenytoinGridOf(62.5)->steps, 3750);
    // A prediction row later than the span: the same rate, further on.
    EXPECT_EQ(PhenytoinGridOf(1000, 1500)->stepsPerHour, 48);
    EXPECT_EQ(PhenytoinGridOf(1000, 1500)->steps, 72000);
}

namespace {
// The level at 24 h of History36Hours for `p`, integrated finely on its own.
// The input, written independently: portions at F x S x CF, the infusion at
// S (the inpatient dose restores full compliance only from 12 h on).
double FineLevelAt24(const ParameterSet& p) {
    const auto input = [&](double t) {
        double rate = 0;
        if (t < 2 + 10.0 / 60) rate += 60 * 0.92 * p.F * p.CF;
        if (t >= 12 && t < 13) rate += 1000 * 0.92;
        return rate;
    };
    OdeState y = {0};
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const double rate = input(minute / 60.0 + 1e-9);
        const OdeSlope f = [&](double, const OdeState& c) {
            return OdeState{(rate - p.Vm / 24 * c[0] / (p.Km + c[0])) / p.Vd};
        };
        y = IntegrateOde(f, y, minute / 60.0, (minute + 1) / 60.0, 20);
    }
    return y[0];
}
}  // namespace

TEST(PhenytoinModel, RungeKuttaAgainstAFinerIntegration) {
    PredictionInput in = History36Hours();
    const ParameterSet p = Phenytoin(0.9, 45, 4, 500, 0.8);
    const double fine = FineLevelAt24(p);
    // The prediction is the value at the last grid point strictly before t.
    const double c = PredictConcentration(in, p, 24.0001).value();
    EXPECT_NEAR(c, fine, 1e-9 * fine);
    EXPECT_GT(c, 10);
    EXPECT_NE(PredictConcentration(in, p, 24.0).value(), c);  // 24 h itself is not strictly before
}

TEST(PhenytoinModel, OnePassForAllTimesIsBitIdenticalToOnePassEach) {
    PredictionInput in = History36Hours();
    in.baseline = 7.5;
    const ParameterSet p = Phenytoin(0.9, 45, 4, 500, 0.8);
    const std::vector<double> times = {30, 0, 12.5, -1, 13, 13, 0.0166, 40, 24.0001, 1.0 / 60};
    const auto together = PredictConcentrations(in, p, times);
    for (std::size_t i = 0; i < times.size(); ++i) {
        const auto alone = PredictConcentration(in, p, times[i]);
        ASSERT_TRUE(alone.has_value());
        EXPECT_EQ(together[i], alone) << times[i];
    }
    EXPECT_EQ(together[1], 7.5);  // nothing before time 0: the baseline
}

TEST(PhenytoinModel, ComplianceAndBioavailabilityScaleTheOralInput) {
    PredictionInput in = History36Hours();
    const PhenytoinGrid g = PhenytoinGridOf(in.gridSpan).value();
    const std::vector<double> rates = PhenytoinInputRates(in, Phenytoin(0.9, 45, 4, 500, 0.8), g);
    const double oral = std::accumulate(rates.begin(), rates.begin() + 12 * 60, 0.0) / 60;
    const double iv = std::accumulate(rates.begin() + 12 * 60, rates.end(), 0.0) / 60;
    EXPECT_NEAR(oral, 130 * 0.92 * 0.9 * 0.8, 1e-9);
    EXPECT_NEAR(iv, 1000 * 0.92, 1e-9);
}

TEST(PhenytoinModel, IntramuscularDoseWithoutInfusionTimeIsAbsorbedWhole) {
    PredictionInput in;
    in.modelType = 3;
    in.gridSpan = 48;
    in.events = {Infusion(1, 500, 0, kEventIM)};
    in.events[0].ka = 2.5;
    const PhenytoinGrid g = PhenytoinGridOf(in.gridSpan).value();
    const std::vector<double> rates = PhenytoinInputRates(in, Phenytoin(1, 45, 4, 500, 1), g);
    EXPECT_NEAR(std::accumulate(rates.begin(), rates.end(), 0.0) / 60, 500 * 0.92, 1e-6);
    EXPECT_DOUBLE_EQ(rates[59], 0);  // nothing before the dose
    EXPECT_GT(rates[60], rates[61]);
}

// Without elimination the level is the input per litre: 15 portions of 4.6 mg
// at 4.6 mg/h (salt 0.92) give 69 x 0.92 = 63.48, an infusion of 100 mg over
// 8.05 h gives 100 more. 60 x 4.6 / 4.6 and 60 x 8.05 are whole numbers only
// just above 60 and 483 in floating point: no extra cell of input.
TEST(PhenytoinModel, InputLastsItsWholeNumberOfCells) {
    PredictionInput in;
    in.modelType = 3;
    in.phenytoinAbsRate = 4.6;
    in.gridSpan = 40;
    for (int k = 0; k < 15; ++k) {
        in.events.push_back(Portion(k, 4.6, 0));
        in.events.back().rate = 4.6;
    }
    EXPECT_NEAR(PredictConcentration(in, Phenytoin(1, 1, 1, 0, 1), 30).value_or(-1), 63.48, 1e-9);
    in.events.push_back(Infusion(15, 100, 8.05));
    in.events.back().salt = 1;
    EXPECT_NEAR(PredictConcentration(in, Phenytoin(1, 1, 1, 0, 1), 30).value_or(-1), 163.48, 1e-9);
}

TEST(PhenytoinModel, NoNumberThatIsNotFinite) {
    PredictionInput in = History36Hours();
    EXPECT_EQ(PredictConcentration(in, Phenytoin(0.9, 0, 4, 500, 1), 20), std::nullopt);
    // A span that is not finite has no grid, and no prediction.
    for (double span : {HUGE_VAL, std::nan("")}) {
        in.gridSpan = span;
        EXPECT_EQ(PredictConcentration(in, Phenytoin(0.9, 45, 4, 500, 1), 20), std::nullopt);
    }
    // A negative Km meets the concentration on the way: never NaN.
    in.gridSpan = 36;
    in.baseline.reset();
    for (double t : {5.0, 14.0, 30.0}) {
        const auto c = PredictConcentration(in, Phenytoin(0.9, 45, -2, 500, 1), t);
        EXPECT_TRUE(!c || std::isfinite(*c));
    }
}

// A 150-day history gets 13 steps an hour: 1000 mg over 0.33 h covers five
// cells (0.385 h) and a 10 mg portion at 60 mg/h three cells (0.23 h). Each
// must still deliver its dose, not the full rate over every cell it touches.
TEST(PhenytoinModel, EveryInputDeliversExactlyItsDose) {
    PredictionInput in;
    in.modelType = 3;
    in.phenytoinAbsRate = 60;
    in.gridSpan = 3624;
    in.events = {Infusion(0, 1000, 0.33), Portion(24, 60, 0), Portion(25, 10, 0)};
    const PhenytoinGrid g = PhenytoinGridOf(in.gridSpan).value();
    ASSERT_EQ(g.stepsPerHour, 13);
    const std::vector<double> rates = PhenytoinInputRates(in, Phenytoin(0.9, 45, 4, 500, 1), g);
    const auto delivered = [&](int fromHour, int toHour) {
        return std::accumulate(rates.begin() + fromHour * 13, rates.begin() + toHour * 13, 0.0) / 13;
    };
    EXPECT_NEAR(delivered(0, 24), 1000 * 0.92, 1e-9);
    EXPECT_NEAR(delivered(24, 25), 60 * 0.92 * 0.9, 1e-9);
    EXPECT_NEAR(delivered(25, 48), 10 * 0.92 * 0.9, 1e-9);
    // Without elimination the level is what was delivered per litre.
    EXPECT_NEAR(PredictConcentration(in, Phenytoin(0.9, 1, 1, 0, 1), 100).value_or(-1), (1000 + 70 * 0.9) * 0.92, 1e-9);
}

// Beyond 48000 hours the steps grow longer than an hour instead of vanishing:
// 1000 mg over an hour, then the level at 40 h (the grid point before it)
// against a fine integration.
TEST(PhenytoinModel, AnySpanGetsAGridThatStillPredicts) {
    PredictionInput in;
    in.modelType = 3;
    in.gridSpan = 50000;
    in.events = {Infusion(0, 1000, 1)};
    in.events[0].salt = 1;
    const auto g = PhenytoinGridOf(in.gridSpan);
    ASSERT_TRUE(g.has_value());
    EXPECT_NEAR(g->stepsPerHour * 50000, 48000, 1e-6);
    const OdeSlope infusing = [](double, const OdeState& c) {
        return OdeState{(1000 - 500.0 / 24 * c[0] / (4 + c[0])) / 45};
    };
    const OdeSlope after = [](double, const OdeState& c) { return OdeState{(-500.0 / 24 * c[0] / (4 + c[0])) / 45}; };
    const OdeState end = IntegrateOde(infusing, {0}, 0, 1, 1000);
    const double point = std::ceil(g->stepsPerHour * 40 - 1) / g->stepsPerHour;
    const double fine = IntegrateOde(after, end, 1, point, 40000)[0];
    EXPECT_NEAR(PredictConcentration(in, Phenytoin(1, 45, 4, 500, 1), 40).value_or(-1), fine, 0.01 * fine);
}

// Sets integrated side by side (a fit's derivative steps) give each set's
// own numbers exactly, whether they share their input (F, CF) or not.
TEST(PhenytoinModel, SetsSideBySideEqualOneByOne) {
    PredictionInput in = History36Hours();
    in.baseline = 3;
    const std::vector<ParameterSet> sets = {Phenytoin(0.9, 45, 4, 500, 0.8),  Phenytoin(0.9, 45.01, 4, 500, 0.8),
                                            Phenytoin(0.91, 45, 4, 500, 0.8), Phenytoin(0.9, 0, 4, 500, 0.8),
                                            Phenytoin(0.9, 45, 4, 500, 0.81), Phenytoin(0.9, 45, 0.5, 900, 0.8)};
    const std::vector<double> times = {30, 0.5, 12.25, 36, 13, 12.25};
    const auto together = PredictConcentrationSets(in, sets, times);
    ASSERT_EQ(together.size(), sets.size());
    for (std::size_t k = 0; k < sets.size(); ++k)
        EXPECT_EQ(together[k], PredictConcentrations(in, sets[k], times)) << k;
    EXPECT_FALSE(together[3][0]);  // no volume, no prediction
}

// An inpatient infusion alone: F and CF scale nothing, so sets that differ
// only in them, or not at all (a fit's derivative steps in factors that act
// on nothing), step once and still each read their own levels. Against one
// Runge-Kutta step of the equation with the level held at 0 or above, from a
// start below 0, then a fine integration to 24 h.
TEST(PhenytoinModel, SetsThatStepAlikeReadTheirOwnLevels) {
    PredictionInput in;
    in.modelType = 3;
    in.gridSpan = 36;
    in.baseline = -0.1;
    in.events = {Infusion(0, 1000, 1)};
    const std::vector<ParameterSet> sets = {Phenytoin(0.9, 45, 4, 500, 0.8), Phenytoin(0.5, 45, 4, 500, 0.3),
                                            Phenytoin(0.9, 45, 4, 500, 0.8), Phenytoin(0.9, 30, 4, 500, 0.8)};
    const std::vector<double> times = {1.0 / 60 + 1e-6, 24.0001};
    const auto batch = PredictConcentrationSets(in, sets, times);
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const double vd = sets[k].Vd;
        const auto slope = [vd](double rate) {
            return OdeSlope{[=](double, const OdeState& c) {
                const double x = std::max(c[0], 0.0);
                return OdeState{(rate - 500.0 / 24 * x / (4 + x)) / vd};
            }};
        };
        const double first = IntegrateOde(slope(920), {-0.1}, 0, 1.0 / 60, 1)[0];
        const OdeState infused = IntegrateOde(slope(920), {first}, 1.0 / 60, 1, 1000);
        const double fine = IntegrateOde(slope(0), infused, 1, 24, 40000)[0];
        ASSERT_TRUE(batch[k][0] && batch[k][1]) << k;
        EXPECT_NEAR(*batch[k][0], first, 1e-12) << k;
        EXPECT_NEAR(*batch[k][1], fine, 1e-8 * fine) << k;
        EXPECT_EQ(batch[k], PredictConcentrations(in, sets[k], times)) << k;
    }
}

// Seven sets at once (the odd one steps beside a copy of itself), each
// against its own fine integration of the outpatient portions (F x CF),
// then the inpatient infusion: the input split by what scales it and the
// slope taken as one fraction leave each within what a minute's step
// differs from the finer ones.
TEST(PhenytoinModel, EverySetOfABatchAgainstAFinerIntegration) {
    PredictionInput in = History36Hours();
    const std::vector<ParameterSet> sets = {Phenytoin(0.9, 45, 4, 500, 0.8),  Phenytoin(0.5, 45, 4, 500, 0.8),
                                            Phenytoin(0.9, 45, 4, 500, 0.3),  Phenytoin(0.9, 20, 4, 500, 0.8),
                                            Phenytoin(0.9, 45, 12, 500, 0.8), Phenytoin(0.9, 45, 4, 900, 0.8),
                                            Phenytoin(1, 60, 2, 300, 1)};
    const auto batch = PredictConcentrationSets(in, sets, {24.0001});
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const double fine = FineLevelAt24(sets[k]);
        ASSERT_TRUE(batch[k][0].has_value()) << k;
        EXPECT_NEAR(*batch[k][0], fine, 1e-8 * fine) << k;
    }
}

// Two years after a single infusion nothing is left: the level reads 0
// rather than crawling through subnormal numbers, a hundred times slower.
TEST(PhenytoinModel, ADoseLongGoneLeavesNothing) {
    PredictionInput in;
    in.modelType = 3;
    in.gridSpan = 17500;
    in.events = {Infusion(0, 1000, 0.5)};
    const auto c = PredictConcentrations(in, Phenytoin(1, 45, 4, 500, 1), {48, 17000});
    ASSERT_TRUE(c[0] && c[1]);
    EXPECT_GT(*c[0], 1);
    EXPECT_EQ(*c[1], 0.0);
}
