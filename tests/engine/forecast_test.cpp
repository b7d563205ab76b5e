#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/analysis_fits.h"
#include "engine/design_iv.h"
#include "engine/forecast_checks.h"
#include "engine/forecast_iv.h"
#include "engine/forecast_levels.h"
#include "engine/forecast_oral.h"
#include "engine/forecast_parameters.h"

namespace {
// A step-by-step integration of the compartment amounts (gut, central,
// peripheral), independent of the closed forms under test.
struct Compartments {
    double ka = 0, k10 = 0, k12 = 0, k21 = 0, vc = 1;
};

struct Given {
    double time, amount, duration;  // duration 0: bolus (or into the gut when oral)
    bool oral = false;
};

constexpr double kStep = 0.0025;  // h; every dose time and duration below is a multiple

long Steps(double t) { return std::lround(t / kStep); }

// Central levels at the times asked for (multiples of kStep); a level at the
// moment of a bolus is taken just before it.
std::vector<double> Simulate(const Compartments& c, const std::vector<Given>& doses, const std::vector<double>& at) {
    double gut = 0, central = 0, peripheral = 0;
    std::vector<double> levels(at.size());
    std::vector<std::pair<long, std::size_t>> wanted;
    for (std::size_t j = 0; j < at.size(); ++j) wanted.push_back({Steps(at[j]), j});
    std::sort(wanted.begin(), wanted.end());
    auto next = wanted.begin();
    const long last = wanted.back().first;
    auto derivative = [&](const double s[3], double rate, double d[3]) {
        d[0] = -c.ka * s[0];
        d[1] = rate + c.ka * s[0] - (c.k10 + c.k12) * s[1] + c.k21 * s[2];
        d[2] = c.k12 * s[1] - c.k21 * s[2];
    };
    for (long n = 0; n <= last; ++n) {
        for (; next != wanted.end() && next->first == n; ++next) levels[next->second] = central / c.vc;
        double rate = 0;
        for (const Given& g : doses) {
            const long start = Steps(g.time);
            if (g.duration == 0 && start == n) (g.oral ? gut : central) += g.amount;
            if (g.duration > 0 && n >= start && n < start + Steps(g.duration)) rate += g.amount / g.duration;
        }
        double s[3] = {gut, central, peripheral}, k1[3], k2[3], k3[3], k4[3], tmp[3];
        derivative(s, rate, k1);
        for (int i = 0; i < 3; ++i) tmp[i] = s[i] + kStep / 2 * k1[i];
        derivative(tmp, rate, k2);
        for (int i = 0; i < 3; ++i) tmp[i] = s[i] + kStep / 2 * k2[i];
        derivative(tmp, rate, k3);
        for (int i = 0; i < 3; ++i) tmp[i] = s[i] + kStep * k3[i];
        derivative(tmp, rate, k4);
        gut += kStep / 6 * (k1[0] + 2 * k2[0] + 2 * k3[0] + k4[0]);
        central += kStep / 6 * (k1[1] + 2 * k2[1] + 2 * k3[1] + k4[1]);
        peripheral += kStep / 6 * (k1[2] + 2 * k2[2] + 2 * k3[2] + k4[2]);
    }
    return levels;
}

// `count` doses every `tau` hours; the levels at `offsets` after the start of the last one.
std::vector<double> SteadyState(const Compartments& c, double amount, double duration, bool oral, double tau, int count,
                                const std::vector<double>& offsets) {
    std::vector<Given> doses;
    for (int i = 0; i < count; ++i) doses.push_back({i * tau, amount, duration, oral});
    std::vector<double> at;
    for (double o : offsets) at.push_back((count - 1) * tau + o);
    return Simulate(c, doses, at);
}

RegimenModel Gentamicin() { return {.drug = "gm", .Vd = 20, .Cl = 5}; }

// Two-compartment constants chosen so that the rate constants are physical.
RegimenModel Vancomycin() { return {.drug = "vm", .modelType = 2, .Vd = 50, .Cl = 5, .vc = 15, .k21 = 0.46}; }

Compartments CompartmentsOf(const RegimenModel& m) {
    if (m.modelType == 1) return {m.ka, m.Cl / m.Vd, 0, 0, m.Vd};
    const double beta = m.Cl / m.Vd, k10 = m.Cl / m.vc, alpha = m.k21 * k10 / beta;
    return {0, k10, alpha + beta - k10 - m.k21, m.k21, m.vc};
}

IntermittentRegimen Regimen(double dose, double tau, double T, double tpost, double mic = 0) {
    return {dose, tau, T, tpost, mic};
}
}  // namespace

TEST(ForecastIntermittent, OneCompartmentAgreesWithManySingleDoses) {
    const RegimenModel m = Gentamicin();
    const auto levels = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1));
    const auto sim = SteadyState(CompartmentsOf(m), 120, 0.5, false, 8, 40, {0.5, 8, 1.5});
    EXPECT_NEAR(*levels.peak, sim[0], 1e-6);
    EXPECT_NEAR(*levels.trough, sim[1], 1e-6);
    EXPECT_NEAR(*levels.post, sim[2], 1e-6);
    // The average of the simulated curve over one interval (trapezoids).
    std::vector<double> grid;
    for (long n = 0; n <= Steps(8); ++n) grid.push_back(n * kStep);
    const auto curve = SteadyState(CompartmentsOf(m), 120, 0.5, false, 8, 40, grid);
    double area = 0;
    for (std::size_t i = 1; i < curve.size(); ++i) area += (curve[i - 1] + curve[i]) / 2 * kStep;
    EXPECT_NEAR(*levels.average, area / 8, 1e-5);
    EXPECT_NEAR(*levels.average, 120.0 / (8 * 5), 1e-12);
}

TEST(ForecastIntermittent, InfusionTimeZeroIsABolus) {
    const RegimenModel m = Gentamicin();
    const auto levels = ForecastIntermittent(m, Regimen(120, 8, 0, 1));
    const auto sim = SteadyState(CompartmentsOf(m), 120, 0, false, 8, 40, {8, 1});
    EXPECT_NEAR(*levels.trough, sim[0], 1e-6);
    EXPECT_NEAR(*levels.peak, sim[0] + 120 / 20.0, 1e-6);  // the bolus adds dose / Vd
    EXPECT_NEAR(*levels.post, sim[1], 1e-6);
}

TEST(ForecastIntermittent, TwoCompartmentAgreesWithIntegratedModel) {
    const RegimenModel m = Vancomycin();
    const auto levels = ForecastIntermittent(m, Regimen(1000, 12, 1, 1, 10));
    const auto sim = SteadyState(CompartmentsOf(m), 1000, 1, false, 12, 40, {1, 12, 2});
    EXPECT_NEAR(*levels.peak, sim[0], 1e-6);
    EXPECT_NEAR(*levels.trough, sim[1], 1e-6);
    EXPECT_NEAR(*levels.post, sim[2], 1e-6);
    // No average for this model, but the AUIC still comes from Cl.
    EXPECT_FALSE(levels.average);
    EXPECT_EQ(*levels.auic, std::floor(24 * 1000 / (12 * 5.0 * 10) + 0.5));
}

TEST(ForecastIntermittent, TwoCompartmentTimeAboveMicFollowsTheTrueCurve) {
    const RegimenModel m = Vancomycin();
    const double mic = 20;
    const auto levels = ForecastIntermittent(m, Regimen(1000, 12, 1, 1, mic));
    ASSERT_GT(mic, *levels.trough);
    ASSERT_LT(mic, *levels.peak);
    std::vector<double> grid;
    for (long n = 0; n < Steps(12); ++n) grid.push_back(n * kStep);
    const auto curve = SteadyState(CompartmentsOf(m), 1000, 1, false, 12, 40, grid);
    const double above = kStep * std::count_if(curve.begin(), curve.end(), [&](double c) { return c >= mic; });
    // The 0.1 h steps of the search, twice, then scaled to 24 h.
    EXPECT_NEAR(*levels.timeAboveMic, above * 24 / 12, 2 * 0.1 * 24 / 12);
    EXPECT_EQ(levels.timeAboveMicLabel, "hr/ 24 hr");
}

TEST(ForecastIntermittent, TwoCompartmentSearchEndsWithTheInfusion) {
    // A 0.05 h infusion with the MIC just under the peak: the rise search stops
    // at the end of the infusion, the fall search well before the interval ends.
    const RegimenModel m = Vancomycin();
    const auto plain = ForecastIntermittent(m, Regimen(1000, 12, 0.05, 1));
    const auto levels = ForecastIntermittent(m, Regimen(1000, 12, 0.05, 1, 0.999 * *plain.peak));
    ASSERT_TRUE(levels.timeAboveMic);
    EXPECT_GE(*levels.timeAboveMic, 0);
    EXPECT_LT(*levels.timeAboveMic, 0.1 * 24 / 12 + 1e-12);
}

TEST(ForecastIntermittent, TimeAboveMicLimitsAndLongIntervals) {
    const RegimenModel m = Gentamicin();
    // At or below the trough: the whole day, or the whole interval when longer.
    auto low = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1));
    low = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1, *low.trough));
    EXPECT_DOUBLE_EQ(*low.timeAboveMic, 24);
    EXPECT_EQ(low.timeAboveMicLabel, "hr/ 24 hr");
    const auto longer = ForecastIntermittent(m, Regimen(120, 36, 0.5, 1, 1e-6));
    EXPECT_DOUBLE_EQ(*longer.timeAboveMic, 36);
    EXPECT_EQ(longer.timeAboveMicLabel, "hr/ 36 hr");
    // At or above the peak: none.
    auto high = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1));
    high = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1, *high.peak));
    EXPECT_DOUBLE_EQ(*high.timeAboveMic, 0);
    // Between: linear rise through the infusion, then the fall to the MIC.
    const auto mid = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1, 4));
    const double rise = (4 - *mid.trough) / (*mid.peak - *mid.trough) * 0.5;
    EXPECT_NEAR(*mid.timeAboveMic, (std::log(*mid.peak / 4) / 0.25 + 0.5 - rise) * 3, 1e-12);
    EXPECT_NEAR(*mid.postMic, *mid.post / 4, 1e-12);
}

TEST(ForecastIntermittent, AuicRoundsHalvesUp) {
    RegimenModel m = Gentamicin();
    m.Cl = 2;
    // 24 x 100 / (8 x 2 x MIC) = 150 / MIC.
    EXPECT_EQ(*ForecastIntermittent(m, Regimen(100, 8, 0.5, 1, 12)).auic, 13);
    EXPECT_EQ(*ForecastIntermittent(m, Regimen(100, 8, 0.5, 1, 150 / 12.49)).auic, 12);
    m.CF = 0.5;
    EXPECT_EQ(*ForecastIntermittent(m, Regimen(100, 8, 0.5, 1, 12)).auic, 6);  // 6.25
}

TEST(ForecastIntermittent, MicIndicesOnlyForAntibioticsWithAnMic) {
    RegimenModel m = Gentamicin();
    m.drug = "th";
    const auto theophylline = ForecastIntermittent(m, Regimen(120, 8, 0.5, 1, 2));
    EXPECT_TRUE(theophylline.peak);
    EXPECT_FALSE(theophylline.postMic || theophylline.timeAboveMic || theophylline.auic);
    EXPECT_TRUE(theophylline.timeAboveMicLabel.empty());
    m.drug = "gm";
    EXPECT_FALSE(ForecastIntermittent(m, Regimen(120, 8, 0.5, 1, 0)).auic);
}

TEST(ForecastIntermittent, IncompleteOrImpossibleRegimensGiveNothing) {
    const RegimenModel m = Gentamicin();
    EXPECT_FALSE(ForecastIntermittent(m, {120, 8, 0.5, std::nullopt, std::nullopt}).peak);
    EXPECT_FALSE(ForecastIntermittent(m, Regimen(120, 0, 0.5, 0)).peak);  // interval 0
    EXPECT_FALSE(ForecastIntermittent(m, Regimen(120, 8, 9, 0)).peak);    // infusion longer than the interval
    EXPECT_FALSE(ForecastIntermittent(m, Regimen(120, 8, 0.5, 9)).peak);  // post after the interval
    EXPECT_TRUE(ForecastIntermittent(m, Regimen(120, 8, 0.5, 8)).post);   // post at the interval
    RegimenModel noClearance = m;
    noClearance.Cl = 0;
    EXPECT_FALSE(ForecastIntermittent(noClearance, Regimen(120, 8, 0.5, 1)).peak);
    RegimenModel noVolume = m;
    noVolume.Vd = 0;
    EXPECT_FALSE(ForecastIntermittent(noVolume, Regimen(120, 8, 0.5, 1)).peak);
}

TEST(TwoCompartment, ConstantsWithoutAModelAreRefusedEverywhere) {
    // k12 < 0 by the micro constants: Vd below Vc, and Cl/Vd above K21.
    RegimenModel small = Vancomycin();
    small.Vd = 10;
    small.Cl = 3;
    RegimenModel fast = Vancomycin();
    fast.Vd = 20;
    fast.Cl = 30;
    fast.vc = 11.4856;
    ASSERT_LT(CompartmentsOf(small).k12, 0);
    ASSERT_LT(CompartmentsOf(fast).k12, 0);
    ASSERT_GT(CompartmentsOf(Vancomycin()).k12, 0);
    DesignInputs targets;
    targets.desiredPost = 30;
    targets.postTime = 1;
    targets.desiredTrough = 10;
    targets.infusionTime = 1;
    for (const RegimenModel& m : {small, fast}) {
        const IntermittentLevels levels = ForecastIntermittent(m, Regimen(1000, 12, 1, 1));
        EXPECT_FALSE(levels.peak || levels.trough || levels.post);
        EXPECT_NE(levels.message.find("two-compartment model"), std::string::npos) << levels.message;
        const RegimenDesign design = DesignIv(m, 'D', targets);
        EXPECT_FALSE(design.dose || design.interval);
        EXPECT_EQ(design.message, levels.message);
    }
    EXPECT_EQ(ForecastIntermittent(small, Regimen(1000, 12, 1, 1)).message,
              "Vd (10.000 L) must be larger than Vc (15.000 L) for the two-compartment model.");
    EXPECT_EQ(DesignIv(fast, 'D', targets).message,
              "Cl/Vd (1.500 /hr) must be below K21 (0.460 /hr) for the two-compartment model.");
    EXPECT_TRUE(ForecastIntermittent(Vancomycin(), Regimen(1000, 12, 1, 1)).message.empty());

    // The fit does not start from such a set.
    History h;
    h.events = {{.time = 0, .amount = 1000, .route = kEventIV, .infusionTime = 1, .rate = 1000}};
    h.levels = {{.time = 6, .observed = 20}};
    h.measuredCount = 1;
    h.lastLevelTime = 6;
    PredictionInput in;
    in.modelType = 2;
    in.events = h.events;
    in.vc = 15;
    in.k21 = 0.46;
    AnalysisSetup s;
    s.initial = {.F = 1, .Vd = 10, .Cl = 3, .CF = 1};
    s.relativeSd = {0.1, 0.2, 0.3, 0.5, 0};
    const AnalysisFits fits = RunAnalysisFits(in, h, s);
    EXPECT_FALSE(fits.fitted);
    EXPECT_EQ(fits.messages, std::vector<std::string>{
                                 "Vd (10.000 L) must be larger than Vc (15.000 L) for the two-compartment model."});
    // Nor does the level table or a curve predict from it.
    EXPECT_FALSE(PredictConcentration(in, s.initial, 6));
    EXPECT_TRUE(PredictConcentration(in, {.F = 1, .Vd = 30, .Cl = 3, .CF = 1}, 6));
}

TEST(Forecasts, SayWhyThereAreNoLevels) {
    const RegimenModel gm = Gentamicin();
    const auto intermittent = [&](const RegimenModel& m, IntermittentRegimen r) {
        const IntermittentLevels levels = ForecastIntermittent(m, r);
        EXPECT_FALSE(levels.peak || levels.trough || levels.post || levels.average);
        return levels.message;
    };
    EXPECT_EQ(intermittent(gm, Regimen(120, 8, 10, 1)), "Infusion time cannot be longer than the interval.");
    EXPECT_EQ(intermittent(gm, {std::nullopt, 8, 0.5, 1, std::nullopt}), "Dose is missing.");
    EXPECT_EQ(intermittent(gm, {120, 8, 0.5, std::nullopt, std::nullopt}), "Time of post is missing.");
    EXPECT_EQ(intermittent(gm, Regimen(120, 0, 0, 0)), "Interval cannot be 0.");
    EXPECT_EQ(intermittent(gm, Regimen(120, 8, 0.5, 9)), "Time of post cannot be more than interval.");
    RegimenModel noClearance = gm;
    noClearance.Cl = 0;
    EXPECT_EQ(intermittent(noClearance, Regimen(120, 8, 0.5, 1)), "Cl is missing.");
    EXPECT_EQ(ForecastContinuous(noClearance, 50).message, "Cl is missing.");
    EXPECT_EQ(ForecastContinuous(gm, std::nullopt).message, "Infusion rate is missing.");
    EXPECT_TRUE(ForecastIntermittent(gm, Regimen(120, 8, 0.5, 1)).message.empty());

    // An oral product without an absorption rate.
    RegimenModel th{.drug = "th", .Vd = 30, .Cl = 3, .salt = 0.79};
    EXPECT_EQ(ForecastOral(th, 300, 12).message, "The product has no absorption rate (ka).");
    EXPECT_EQ(ForecastUneven(th, {{300, 8}}, std::nullopt, 0).message, "The product has no absorption rate (ka).");
    th.ka = 0.125;
    EXPECT_EQ(ForecastOral(th, 300, std::nullopt).message, "Interval is missing.");
    EXPECT_EQ(ForecastUneven(th, {}, std::nullopt, 0).message, "Dose and time of day are missing.");
    EXPECT_EQ(ForecastUneven(th, {{300, 24}}, std::nullopt, 0).message, "Hours have to be from 0 to 23");
    EXPECT_TRUE(ForecastOral(th, 300, 12).peak);
}

TEST(ForecastContinuous, AverageFromRate) {
    const RegimenModel m{.drug = "th", .F = 0.9, .Vd = 20, .Cl = 5, .salt = 0.8};
    EXPECT_NEAR(*ForecastContinuous(m, 50).average, 0.8 * 0.9 * 50 / 5, 1e-12);
    EXPECT_FALSE(ForecastContinuous(m, std::nullopt).average);
    EXPECT_FALSE(ForecastContinuous(m, -1).average);
}

TEST(ForecastOral, AgreesWithManySingleDoses) {
    const RegimenModel m{.drug = "th", .F = 0.9, .Vd = 35, .Cl = 3, .salt = 0.8, .ka = 1.2};
    const auto levels = ForecastOral(m, 300, 12);
    std::vector<double> grid;
    for (long n = 0; n <= Steps(12); ++n) grid.push_back(n * kStep);
    const auto curve = SteadyState(CompartmentsOf(m), 300 * 0.9 * 0.8, 0, true, 12, 30, grid);
    EXPECT_NEAR(*levels.peak, *std::max_element(curve.begin(), curve.end()), 1e-5);
    EXPECT_NEAR(*levels.trough, curve.front(), 1e-6);
    EXPECT_NEAR(*levels.average, 300 * 0.9 * 0.8 / (3 * 12.0), 1e-12);
}

TEST(ForecastOral, AbsorptionEqualToEliminationStaysFinite) {
    RegimenModel m{.drug = "th", .Vd = 20, .Cl = 5, .ka = 0.25};  // k = 5/20
    const auto same = ForecastOral(m, 300, 12);
    m.ka = 0.2501;
    const auto near = ForecastOral(m, 300, 12);
    ASSERT_TRUE(same.peak && same.trough);
    EXPECT_NEAR(*same.peak, *near.peak, 1e-6);
    EXPECT_NEAR(*same.trough, *near.trough, 1e-6);
}

TEST(ForecastOral, LithiumMilligramsBecomeMilliequivalents) {
    RegimenModel m{.drug = "li", .Vd = 20, .Cl = 5, .ka = 1.2};
    const auto lithium = ForecastOral(m, 300, 12);
    m.drug = "th";
    const auto asMeq = ForecastOral(m, 300 * 0.027066666666666666, 12);
    EXPECT_NEAR(*lithium.peak, *asMeq.peak, 1e-12);
    EXPECT_NEAR(*lithium.average, *asMeq.average, 1e-12);
    EXPECT_FALSE(ForecastOral(m, 300, 0).peak);
}

TEST(ForecastUneven, AgreesWithRepeatedDailyDoses) {
    const RegimenModel m{.drug = "th", .F = 0.9, .Vd = 35, .Cl = 3, .ka = 1.2};
    const std::vector<UnevenRow> rows = {{200, 8}, {300, 23}};
    const auto levels = ForecastUneven(m, rows, 12, 0);
    // Ten days of the schedule, then the levels of the last day.
    std::vector<Given> doses;
    for (int day = 0; day < 10; ++day)
        for (const auto& r : rows) doses.push_back({day * 24 + *r.hour, *r.dose * 0.9, 0, true});
    const double tmax = OralPeakTime(1.2, 3 / 35.0, 24);
    const double lastDay = 9 * 24;
    // The peak time after 23:00 falls on the next day.
    auto at = [](double t) { return std::round(t / kStep) * kStep; };
    const auto sim =
        Simulate(CompartmentsOf(m), doses,
                 {lastDay + 8, lastDay + 23, at(lastDay + 8 + tmax), at(lastDay + 23 + tmax), lastDay + 12});
    EXPECT_NEAR(*levels.trough, std::min(sim[0], sim[1]), 1e-5);
    EXPECT_NEAR(*levels.peak, std::max(sim[2], sim[3]), 2e-3);  // peak times rounded to the step
    EXPECT_NEAR(*levels.level, sim[4], 1e-5);
    EXPECT_NEAR(*levels.average, 0.9 * 500 / (24 * 3.0), 1e-12);
}

TEST(ForecastUneven, EmptyRowBetweenCountsAsZeroDoseAtMidnight) {
    const RegimenModel m{.drug = "th", .Vd = 20, .Cl = 5, .ka = 1.5};
    const auto gap = ForecastUneven(m, {{200, 8}, {}, {300, 20}}, std::nullopt, 0);
    const auto zero = ForecastUneven(m, {{200, 8}, {0, 0}, {300, 20}}, std::nullopt, 0);
    EXPECT_DOUBLE_EQ(*gap.trough, *zero.trough);
    EXPECT_DOUBLE_EQ(*gap.peak, *zero.peak);
    // The zero-dose row only adds midnight to the trough candidates.
    const auto two = ForecastUneven(m, {{200, 8}, {300, 20}}, 0, 0);
    EXPECT_DOUBLE_EQ(*gap.trough, std::min(*two.trough, *two.level));
    EXPECT_FALSE(gap.level);  // no hour asked
}

TEST(ForecastUneven, HoursOutsideTheDayGiveNoResult) {
    const RegimenModel m{.drug = "th", .Vd = 20, .Cl = 5, .ka = 1.5};
    EXPECT_FALSE(ForecastUneven(m, {{200, 24}}, 12, 0).peak);
    EXPECT_FALSE(ForecastUneven(m, {{-200, 8}}, 12, 0).peak);
    EXPECT_FALSE(ForecastUneven(m, {{200, 8}}, 24, 0).level);
    EXPECT_EQ(*ForecastFieldProblem(ForecastField::Hour, 24), "Hours have to be from 0 to 23");
    EXPECT_FALSE(ForecastFieldProblem(ForecastField::Hour, 23));
}

TEST(ForecastUneven, LithiumAndTimeLag) {
    RegimenModel m{.drug = "zz", .Vd = 20, .Cl = 5, .ka = 1.5};
    const auto lagged = ForecastUneven(m, {{200, 8}, {300, 20}}, 14, 2);
    const auto early = ForecastUneven(m, {{200, 8}, {300, 20}}, 12, 0);
    EXPECT_NEAR(*lagged.level, *early.level, 1e-12);
    EXPECT_NEAR(*lagged.peak, *early.peak, 1e-12);
    m.drug = "li";
    const auto lithium = ForecastUneven(m, {{200, 8}, {300, 20}}, 12, 0);
    EXPECT_NEAR(*lithium.level, *early.level * 0.027066666666666666, 1e-12);
    EXPECT_NEAR(*lithium.average, *early.average * 0.027066666666666666, 1e-12);
}

TEST(ForecastChecks, Messages) {
    EXPECT_EQ(*ForecastFieldProblem(ForecastField::Dose, -1), "Dose cannot be negative.");
    EXPECT_EQ(*ForecastFieldProblem(ForecastField::InfusionRate, -1), "Infusion rate cannot be negative.");
    EXPECT_EQ(*ForecastFieldProblem(ForecastField::Mic, -0.5), "MIC cannot be negative.");
    EXPECT_FALSE(ForecastFieldProblem(ForecastField::Interval, 0));
    EXPECT_FALSE(PostTimeProblem(8, 8));
    EXPECT_EQ(*PostTimeProblem(9, 8), "Time of post cannot be more than interval.");
    EXPECT_EQ(*PostTimeProblem(-1, 8), "Time of post cannot be negative.");
    EXPECT_FALSE(PostTimeProblem(9, 0));
    EXPECT_EQ(*CfPercentProblem(100.5), "Please input a correct Value of CF.");
    EXPECT_EQ(*VdProblem(-1), "Please input a correct Value of VD.");
    EXPECT_FALSE(ClProblem(0));
}

TEST(ForecastParameters, ShownBesideTheSet) {
    EXPECT_NEAR(*HalfLife(20, 5), 0.693 / 0.25, 1e-12);
    EXPECT_FALSE(EliminationConstant(0, 5));
    EXPECT_FALSE(HalfLife(20, 0));
    EXPECT_EQ(PerKilogramText(35, 70, "L/kg"), "(0.50 L/kg)");
    EXPECT_EQ(PerKilogramText(35, 0, "L/kg"), "(0.00 L/kg)");
    EXPECT_EQ(PerKilogramText(500, 70, "mg/day/kg"), "(7.14 mg/day/kg)");
    EXPECT_EQ(SaltText(0.92), "0.92");
    EXPECT_EQ(SaltText(1), "1.00");
    EXPECT_EQ(PercentText(0.875), "88 %");
    EXPECT_FALSE(CanForecast(20, 0, 1));
    EXPECT_TRUE(CanForecast(0, 5, 0));
}

TEST(ForecastParameters, TablesShowAnyFiniteKdAndPerKilogramNeedsAWeight) {
    // A fitted set with Cl 0 or a negative Vd still shows its kd; forecasts do not use it.
    EXPECT_EQ(*Kd(20, 0), 0);
    EXPECT_EQ(*Kd(-20, 5), -0.25);
    EXPECT_FALSE(EliminationConstant(-20, 5));
    EXPECT_FALSE(Kd(0, 5));
    EXPECT_NEAR(TimeToSteadyState(2.77), 11.08, 1e-12);
    EXPECT_EQ(*PerKilogram(35, 70), 0.5);
    EXPECT_FALSE(PerKilogram(35, 0));
    EXPECT_FALSE(PerKilogram(35, -70));
}

TEST(ForecastParameters, BioavailabilityFollowsTheFitProducts) {
    EXPECT_EQ(ForecastBioavailability("Oral - Tablets", "Intermittent IV - Injection", "Oral - Tablets", 0.6, 0.9),
              0.6);
    EXPECT_EQ(ForecastBioavailability("Oral - Elixir", "Intermittent IV - Injection", "Oral - Tablets", 0.6, 0.9), 0.9);
    EXPECT_EQ(ForecastBioavailability("", "", "", 0.6, 0.9), 0.9);
    // Phenytoin: same route as the first fit product is enough.
    EXPECT_EQ(PhenytoinBioavailability("Oral - Suspension", "Oral - Capsules", 0.7, 1.0), 0.7);
    EXPECT_EQ(PhenytoinBioavailability("IM - Injection (Fosphenytoin)", "Oral - Capsules", 0.7, 1.0), 1.0);
}
