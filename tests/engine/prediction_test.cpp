#include <gtest/gtest.h>

#include <cmath>

#include "engine/prediction.h"
#include "history_fixtures.h"
#include "ode_reference.h"
#include "records/case_record.h"

namespace {

PredictionInput OneCompartment(std::vector<DoseEvent> events) {
    PredictionInput in;
    in.events = std::move(events);
    return in;
}

double At(PredictionInput& in, const ParameterSet& p, double t) {
    const auto c = PredictConcentration(in, p, t);
    EXPECT_TRUE(c.has_value()) << "t = " << t;
    return c.value_or(-1);
}

// Amount in the body after an infusion of `rate` over [0, T], integrated
// piece by piece so that no step straddles the end of the infusion.
double IntegratedInfusion(double rate, double T, double k, double t) {
    const auto slope = [k](double input) {
        return OdeSlope([=](double, const OdeState& y) { return OdeState{input - k * y[0]}; });
    };
    if (t <= T) return IntegrateOde(slope(rate), {0}, 0, t, 4000)[0];
    const OdeState end = IntegrateOde(slope(rate), {0}, 0, T, 4000);
    return IntegrateOde(slope(0), end, T, t, 4000)[0];
}
}  // namespace

TEST(OneCompartment, BolusByHandIncludingAnEventAtExactlyT) {
    PredictionInput in = OneCompartment({EventAt(0, 100, kEventIV), EventAt(4, 100, kEventIV)});
    const ParameterSet p = Params(1, 20, 5);  // k = 0.25
    EXPECT_DOUBLE_EQ(At(in, p, 0), 5);
    EXPECT_NEAR(At(in, p, 3.999999), 5 * std::exp(-0.25 * 3.999999), 1e-12);
    EXPECT_NEAR(At(in, p, 4), 5 * std::exp(-1.0) + 5, 1e-12);
}

TEST(OneCompartment, InfusionDuringAndAfterAgainstIntegration) {
    PredictionInput in = OneCompartment({EventAt(2, 120, kEventIV, 0.5)});
    in.events[0].salt = 0.9;
    const ParameterSet p = Params(1, 18, 4.5);  // k = 0.25
    const double k = 0.25, rate = 240 * 0.9;
    // By hand: 30 minutes into a 1-hour window, 15 minutes in, and 6 hours on.
    EXPECT_NEAR(At(in, p, 2.25), rate / 4.5 * (1 - std::exp(-k * 0.25)), 1e-12);
    EXPECT_NEAR(At(in, p, 8), rate / 4.5 * (1 - std::exp(-k * 0.5)) * std::exp(-k * 5.5), 1e-12);
    for (double t : {2.1, 2.4, 2.5, 3.0, 10.0})
        EXPECT_NEAR(At(in, p, t), IntegratedInfusion(rate, 0.5, k, t - 2) / 18, 1e-9) << t;
    EXPECT_DOUBLE_EQ(At(in, p, 1.9), 0);
}

TEST(OneCompartment, FirstOrderAbsorptionAgainstIntegration) {
    const double F = 0.8, S = 0.9, ka = 1.5, k = 0.1, Vd = 30, dose = 250;
    PredictionInput in = OneCompartment({EventAt(0, dose, kEventOral, 0, ka)});
    in.events[0].salt = S;
    const ParameterSet p = Params(F, Vd, k * Vd);
    const OdeSlope f = [&](double, const OdeState& y) { return OdeState{-ka * y[0], ka * y[0] - k * y[1]}; };
    for (double t : {0.5, 2.0, 12.0}) {
        const OdeState y = IntegrateOde(f, {F * S * dose, 0}, 0, t, 20000);
        EXPECT_NEAR(At(in, p, t), y[1] / Vd, 1e-9) << t;
    }
    // An IM dose is absorbed the same way without F.
    in.events[0].route = kEventIM;
    const OdeState y = IntegrateOde(f, {S * dose, 0}, 0, 2, 20000);
    EXPECT_NEAR(At(in, p, 2), y[1] / Vd, 1e-9);
}

TEST(OneCompartment, KaEqualToKIsRaisedAndKeptRaised) {
    PredictionInput in = OneCompartment({EventAt(0, 100, kEventOral, 0, 0.25)});
    const ParameterSet p = Params(1, 20, 5);  // k = 0.25 exactly
    const double t = 3;
    const double ka = 0.2501;
    const double expected = 100 * ka / (20 * (ka - 0.25)) * (std::exp(-0.25 * t) - std::exp(-ka * t));
    EXPECT_NEAR(At(in, p, t), expected, 1e-9 * expected);
    EXPECT_DOUBLE_EQ(in.events[0].ka, ka);
    // Close to the limit D k t e^(-kt) / Vd of equal rates.
    EXPECT_NEAR(expected, 100 * 0.25 * t * std::exp(-0.25 * t) / 20, 1e-3);
}

TEST(OneCompartment, ComplianceStaysFullAfterTheFirstInpatientDose) {
    PredictionInput in = OneCompartment(
        {EventAt(0, 100, kEventIV, 0, 0, 1), EventAt(1, 100, kEventIV, 0, 0, 0), EventAt(2, 100, kEventIV, 0, 0, 1)});
    const ParameterSet p = Params(1, 10, 1e-9 * 10, 0.5);  // no elimination to speak of
    EXPECT_NEAR(At(in, p, 0.5), 5, 1e-6);
    EXPECT_NEAR(At(in, p, 2), 5 + 10 + 10, 1e-6);
}

TEST(OneCompartment, LevelAtTimeZeroDecaysAsABaseline) {
    CaseRecord r;
    r.ModelType = 1;
    LevelPoint first;
    first.observed = 4;
    r.history.levels = {first};
    r.history.measuredCount = 1;
    EXPECT_NEAR(PredictConcentration(r, Params(1, 20, 5), 2).value(), 4 * std::exp(-0.5), 1e-12);
    r.history.measuredCount = 0;  // a prediction row is no baseline
    r.history.levels[0].observed = -1;
    EXPECT_DOUBLE_EQ(PredictConcentration(r, Params(1, 20, 5), 2).value(), 0);
}

TEST(Prediction, ZeroVolumeOrClearanceIsMissingNeverNaN) {
    PredictionInput in = OneCompartment({EventAt(0, 100, kEventIV, 1)});
    EXPECT_EQ(PredictConcentration(in, Params(1, 0, 5), 2), std::nullopt);
    EXPECT_EQ(PredictConcentration(in, Params(1, 20, 0), 2), std::nullopt);
    in.modelType = 2;
    in.vc = 0;
    in.k21 = 0.5;
    EXPECT_EQ(PredictConcentration(in, Params(1, 50, 5), 2), std::nullopt);
}

TEST(TwoCompartment, InfusionAgainstIntegrationOfBothCompartments) {
    const double Vd = 50, Cl = 5, Vc = 20, k21 = 0.5, dose = 1000, T = 1;
    PredictionInput in;
    in.modelType = 2;
    in.vc = Vc;
    in.k21 = k21;
    in.events = {EventAt(0, dose, kEventIV, T), EventAt(12, dose, kEventIV, T), EventAt(20, 500, kEventIV, 0)};
    const ParameterSet p = Params(1, Vd, Cl);
    // Micro constants behind beta = Cl / Vd and alpha beta = k10 k21.
    const double beta = Cl / Vd, alpha = Cl / Vc * k21 / beta;
    const double k10 = Cl / Vc, k12 = alpha + beta - k10 - k21;
    ASSERT_GT(k12, 0);
    // Integrated piece by piece: infusing, then not.
    const auto slope = [&](double input) {
        return OdeSlope([=](double, const OdeState& y) {
            return OdeState{input - (k10 + k12) * y[0] + k21 * y[1], k12 * y[0] - k21 * y[1]};
        });
    };
    OdeState y = IntegrateOde(slope(dose / T), {0, 0}, 0, 0.5, 5000);
    EXPECT_NEAR(At(in, p, 0.5), y[0] / Vc, 1e-8);
    y = IntegrateOde(slope(dose / T), y, 0.5, 1, 5000);
    y = IntegrateOde(slope(0), y, 1, 12, 50000);
    EXPECT_NEAR(At(in, p, 12), y[0] / Vc, 1e-8);
    y = IntegrateOde(slope(dose / T), y, 12, 13, 5000);
    y = IntegrateOde(slope(0), y, 13, 24, 50000);
    // The bolus at 20 h has no infusion time and adds nothing.
    EXPECT_NEAR(At(in, p, 24), y[0] / Vc, 1e-8);
}

TEST(Prediction, OneCallForManyTimesEqualsOneCallPerTime) {
    for (int kind : {1, 2}) {
        PredictionInput in;
        in.modelType = kind;
        in.vc = 20;
        in.k21 = 0.5;
        in.baseline = 2;
        in.events = {EventAt(0, 1000, kEventIV, 1), EventAt(6, 500, kEventOral, 0, 0.8, 1),
                     EventAt(12, 1000, kEventIV, 1)};
        const ParameterSet p = Params(0.9, 50, 5, 0.7);
        const std::vector<double> times = {30, 0, 6, 12.5, 0.5, 6};
        PredictionInput single = in;
        const auto together = PredictConcentrations(in, p, times);
        for (std::size_t i = 0; i < times.size(); ++i)
            EXPECT_EQ(together[i], PredictConcentration(single, p, times[i])) << kind << " " << times[i];
    }
}

namespace {
// A long, uneven history written out as the textbook sums, one term per
// dose: infusions of 1 or 2 h every 12 h (outpatient for the first 100), a
// bolus half an hour after every tenth and, for one compartment, an oral
// dose every 24 h.
struct LongHistory {
    std::vector<DoseEvent> events;
    double F = 0.8, Vd = 50, Cl = 4, CF = 0.6, Vc = 20, k21 = 0.5, ka = 0.9;

    explicit LongHistory(bool oral) {
        for (int i = 0; i < 1000; ++i) {
            events.push_back(EventAt(12.0 * i, 1000, kEventIV, 1 + i % 2, 0, i < 100));
            if (i % 10 == 0) events.push_back(EventAt(12.0 * i + 0.5, 250, kEventIV, 0, 0, i < 100));
            if (oral && i % 2 == 1) events.push_back(EventAt(12.0 * i + 3, 300, kEventOral, 0, ka, i < 100));
        }
    }
    double OneCompartment(double t) const {
        const double k = Cl / Vd;
        double c = 0;
        for (const DoseEvent& e : events) {
            const double tau = t - e.time, m = e.outpatient ? CF : 1;
            if (tau < 0) break;
            if (e.route == kEventOral)
                c += m * F * e.amount * ka / (Vd * (ka - k)) * (std::exp(-k * tau) - std::exp(-ka * tau));
            else if (e.infusionTime == 0) c += m * e.amount / Vd * std::exp(-k * tau);
            else if (tau < e.infusionTime) c += m * e.rate / Cl * (1 - std::exp(-k * tau));
            else c += m * e.rate / Cl * (1 - std::exp(-k * e.infusionTime)) * std::exp(-k * (tau - e.infusionTime));
        }
        return c;
    }
    // Infusions only: the two-compartment model takes no other dose.
    double TwoCompartment(double t) const {
        const double beta = Cl / Vd, alpha = Cl / Vc * k21 / beta;
        const auto part = [&](double rate, double coefficient, double tau, double T) {
            return tau < T ? coefficient / rate * (1 - std::exp(-rate * tau))
                           : coefficient / rate * (1 - std::exp(-rate * T)) * std::exp(-rate * (tau - T));
        };
        double c = 0;
        for (const DoseEvent& e : events) {
            const double tau = t - e.time, m = e.outpatient ? CF : 1;
            if (tau < 0) break;
            if (e.infusionTime == 0) continue;
            const double r0 = m * e.rate / Vc;
            c += part(alpha, r0 * (alpha - k21) / (alpha - beta), tau, e.infusionTime) +
                 part(beta, r0 * (k21 - beta) / (alpha - beta), tau, e.infusionTime);
        }
        return c;
    }
};
}  // namespace

TEST(Prediction, LongHistoryEqualsTheSumOverEveryDose) {
    // Early, during an infusion, at a dose, between doses, at the end.
    const std::vector<double> times = {11990.5, 0.25, 12.5, 120.5, 5000, 6001.5, 11988};
    for (int kind : {1, 2}) {
        const LongHistory h(kind == 1);
        PredictionInput in;
        in.modelType = kind;
        in.events = h.events;
        in.vc = h.Vc;
        in.k21 = h.k21;
        const auto c = PredictConcentrations(in, Params(h.F, h.Vd, h.Cl, h.CF), times);
        for (std::size_t i = 0; i < times.size(); ++i) {
            const double expected = kind == 1 ? h.OneCompartment(times[i]) : h.TwoCompartment(times[i]);
            ASSERT_TRUE(c[i]);
            EXPECT_NEAR(*c[i], expected, 1e-9 * expected) << kind << " at " << times[i];
            // The other times asked for change nothing, not even the rounding.
            EXPECT_EQ(c[i], PredictConcentration(in, Params(h.F, h.Vd, h.Cl, h.CF), times[i])) << kind;
        }
    }
}
