#include <gtest/gtest.h>

#include <cmath>

#include "engine/design_checks.h"
#include "engine/design_iv.h"
#include "engine/design_oral.h"
#include "engine/forecast_iv.h"
#include "engine/forecast_oral.h"
#include "records/text_format.h"

namespace {
RegimenModel OneCompartment(const char* drug, double vd, double cl) { return {.drug = drug, .Vd = vd, .Cl = cl}; }

RegimenModel Vancomycin() { return {.drug = "vm", .modelType = 2, .Vd = 50, .Cl = 5, .vc = 15, .k21 = 0.46}; }

DesignInputs PostAndTrough(double post, double tpost, double trough, double T) {
    DesignInputs in;
    in.desiredPost = post;
    in.postTime = tpost;
    in.desiredTrough = trough;
    in.infusionTime = T;
    return in;
}

// Designs for a post and trough, forecasts the design again and compares.
void ExpectRoundTrip(const RegimenModel& m, double post, double tpost, double trough, double T, double tolerance) {
    const auto d = DesignIv(m, 'D', PostAndTrough(post, tpost, trough, T));
    ASSERT_TRUE(d.dose && d.interval);
    const auto back = ForecastIntermittent(m, {d.dose, d.interval, T, tpost, std::nullopt});
    EXPECT_NEAR(*back.post, post, tolerance);
    EXPECT_NEAR(*back.trough, trough, tolerance);
}
}  // namespace

TEST(DesignIv, OneCompartmentRoundTripGivesPostAndTroughBack) {
    RegimenModel m = OneCompartment("gm", 20, 5);
    m.salt = 0.9;
    ExpectRoundTrip(m, 8, 1, 1, 0.5, 1e-9);
}

TEST(DesignIv, TroughEqualToPostAndAbovePost) {
    const RegimenModel m = OneCompartment("gm", 20, 5);
    EXPECT_NEAR(*DesignIv(m, 'D', PostAndTrough(4, 1, 4, 0.5)).interval, 0.5 + 1, 1e-12);
    const auto above = DesignIv(m, 'D', PostAndTrough(4, 1, 5, 0.5));
    EXPECT_FALSE(above.dose || above.interval || above.loadingDose);
    EXPECT_FALSE(DesignIv(m, 'D', PostAndTrough(4, 1, 0, 0.5)).dose);
    EXPECT_FALSE(DesignIv(m, 'D', PostAndTrough(4, 1, 1, 0)).dose);
}

TEST(DesignIv, TwoCompartmentRoundTripWithinTheSearchTolerance) { ExpectRoundTrip(Vancomycin(), 30, 1, 10, 1, 1e-3); }

TEST(DesignIv, IntervalSearchStopsAfterThirtyIterations) {
    // No root: the search runs out and gives the last interval it tried.
    int calls = 0;
    double last = 0;
    const double tau = IntervalRoot(
        [&](double t) {
            ++calls;
            last = t;
            return 0.01 + (t - 3) * (t - 3);
        },
        5);
    EXPECT_EQ(calls, 2 + 30);
    EXPECT_EQ(tau, last);
    EXPECT_TRUE(std::isfinite(tau));
    // A root is found to |f| <= 0.0001.
    const double root = IntervalRoot([](double t) { return 2 - t; }, 5);
    EXPECT_NEAR(root, 2, 1e-4);
}

TEST(DesignIv, TwoCompartmentIntervalFoundFromAFarStart) {
    // A slow clearance puts the search's start (ln 2 / beta = 48.5 h) far past
    // the root; the secant step then lands inside the infusion, where the
    // search must still see the same exponential f.
    const RegimenModel m{.drug = "vm", .modelType = 2, .Vd = 70, .Cl = 1, .vc = 17, .k21 = 0.46};
    const double T = 1, trough = 15;
    const auto d = DesignIv(m, 'D', PostAndTrough(20, 0, trough, T));
    ASSERT_TRUE(d.dose && d.interval);
    // f(tau) = B1 e^(-beta (tau - T)) + A1 e^(-alpha (tau - T)) - trough (1 - e^(-beta tau)), by hand.
    const double b = 1 / 70.0, a = 0.46 * (1 / 17.0) / b;
    const double A1 = (a - 0.46) * (1 - std::exp(-a * T)) * *d.dose / ((a - b) * a * 17 * T);
    const double B1 = (0.46 - b) * (1 - std::exp(-b * T)) * *d.dose / ((a - b) * b * 17 * T);
    auto f = [&](double tau) {
        return B1 * std::exp(-b * (tau - T)) + A1 * std::exp(-a * (tau - T)) - trough * (1 - std::exp(-b * tau));
    };
    ASSERT_GT(f(9), 0);
    ASSERT_LT(f(10), 0);
    EXPECT_GT(*d.interval, 9);
    EXPECT_LT(*d.interval, 10);
    EXPECT_LE(std::abs(f(*d.interval)), 1e-4);
}

TEST(DesignIv, TwoCompartmentSearchWithoutAnIntervalGivesNoDose) {
    // A newborn: the search starts at ln 2 / beta = 1.4 h, inside the 3-hour
    // infusion, and ends without an interval; a dose alone is no regimen.
    const RegimenModel m{.drug = "vm", .modelType = 2, .Vd = 14.35, .Cl = 7.12, .vc = 0.527, .k21 = 0.64};
    DesignInputs in = PostAndTrough(53.486, 2, 23.916, 3);
    in.initialConc = 10;
    in.timeDrawn = 1;
    in.loadingInfusionTime = 1;
    const RegimenDesign d = DesignIv(m, 'D', in);
    EXPECT_FALSE(d.dose || d.interval || d.loadingDose);
    EXPECT_EQ(d.message,
              "The interval search found no interval longer than the infusion for the desired post and trough.");
    EXPECT_TRUE(DesignIv(Vancomycin(), 'D', PostAndTrough(30, 1, 10, 1)).message.empty());
}

TEST(Designs, SayWhyThereIsNoRegimen) {
    const RegimenModel gm = OneCompartment("gm", 20, 5);
    DesignInputs noTrough = PostAndTrough(8, 1, 1, 0.5);
    noTrough.desiredTrough.reset();
    EXPECT_EQ(DesignIv(gm, 'D', noTrough).message, "Desired trough is missing.");
    EXPECT_EQ(DesignIv(gm, 'D', PostAndTrough(4, 1, 5, 0.5)).message,
              "Desired trough cannot be above the desired post.");
    EXPECT_EQ(DesignIv(OneCompartment("gm", 0, 5), 'D', PostAndTrough(8, 1, 1, 0.5)).message, "Vd is missing.");
    DesignInputs average = PostAndTrough(2, 1, 1, 0.5);
    average.desiredAverage = 1.5;
    EXPECT_EQ(DesignIv(OneCompartment("dg", 400, 8), 'D', average).message,
              "A desired average cannot be designed for an intermittent infusion.");
    EXPECT_EQ(DesignIv(gm, 'C', DesignInputs{}).message, "Desired average is missing.");
    EXPECT_TRUE(DesignIv(gm, 'D', PostAndTrough(8, 1, 1, 0.5)).message.empty());

    // Theophylline tablets without an absorption rate: no peak-and-trough
    // design, but the average target needs no ka.
    const RegimenModel th = OneCompartment("th", 30, 3);
    DesignInputs oral;
    oral.desiredPeak = 15;
    oral.desiredTrough = 10;
    const RegimenDesign none = DesignOral(th, oral);
    EXPECT_FALSE(none.dose || none.interval);
    EXPECT_EQ(none.message, "The product has no absorption rate (ka).");
    oral.desiredAverage = 12;
    EXPECT_NEAR(*DesignOral(th, oral).daily, 24 * 12 * 3, 1e-9);
}

TEST(Designs, DosesAndLevelsThatAreNotFiniteAreNoResult) {
    // Vd 1e-300 L: e^(k tpost) overflows, and so do the peak, the interval
    // and the dose.
    const RegimenDesign d = DesignIv(OneCompartment("gm", 1e-300, 5), 'D', PostAndTrough(8, 1, 1, 0.5));
    EXPECT_FALSE(d.dose || d.interval || d.loadingDose);
    EXPECT_EQ(d.message, "The dose comes out negative or not finite for these values.");
    // 1.7e308 mg/h through a clearance of 0.5 L/h is beyond any double.
    const ContinuousLevel level = ForecastContinuous(OneCompartment("th", 30, 0.5), 1.7e308);
    EXPECT_FALSE(level.average);
    EXPECT_EQ(level.message, "The levels come out negative or not finite for these values.");
}

TEST(DesignIv, LoadingDoseBringsTheCurrentLevelToThePeak) {
    const RegimenModel m = OneCompartment("vm", 40, 4);
    DesignInputs in = PostAndTrough(30, 1, 10, 1);
    RegimenModel one = m;
    one.modelType = 1;
    in.initialConc = 8;
    in.timeDrawn = 2;
    in.loadingInfusionTime = 1;
    const auto d = DesignIv(one, 'D', in);
    ASSERT_TRUE(d.loadingDose);
    // Level at the end of the loading infusion: the decayed current level plus the infusion.
    const double k = 0.1, now = 8 * std::exp(-k * 2);
    const double end = now * std::exp(-k * 1) + *d.loadingDose / (1 * 4.0) * (1 - std::exp(-k * 1));
    EXPECT_NEAR(end, 30 * std::exp(k * 1), 1e-9);
    EXPECT_EQ(d.note, "");
    // A bolus loading dose (infusion time 0) lifts the level by dose / Vd.
    in.loadingInfusionTime = 0;
    EXPECT_NEAR(now + *DesignIv(one, 'D', in).loadingDose / 40, 30 * std::exp(k * 1), 1e-9);
}

TEST(DesignIv, TwoCompartmentLoadingNoteAndWait) {
    DesignInputs in = PostAndTrough(30, 1, 10, 1);
    in.initialConc = 5;
    in.timeDrawn = 1;
    in.loadingInfusionTime = 1;
    const auto d = DesignIv(Vancomycin(), 'D', in);
    ASSERT_TRUE(d.loadingDose);
    EXPECT_GT(*d.loadingDose, 0);
    EXPECT_EQ(d.note, "to achieve a post of 30.0 mg/L 1 hours after the end of the infusion.");
}

TEST(DesignIv, GentamicinAboveTroughWaits) {
    const RegimenModel m = OneCompartment("gm", 20, 5);
    DesignInputs in = PostAndTrough(8, 1, 1, 0.5);
    in.initialConc = 3;
    in.timeDrawn = 1;
    in.loadingInfusionTime = 0.5;
    const auto d = DesignIv(m, 'D', in);
    EXPECT_FALSE(d.loadingDose);
    const double now = 3 * std::exp(-0.25);
    EXPECT_EQ(d.note, FormatNumber("Give dose in %.1f hours.", std::log(now / 1) / 0.25));
    EXPECT_EQ(d.note, "Give dose in 3.4 hours.");
    // Within 0.05 h of the trough: no note.
    in.initialConc = 1.01 * std::exp(0.25);
    EXPECT_EQ(DesignIv(m, 'D', in).note, "");
}

TEST(DesignIv, DesiredAverageOnIntermittentProduct) {
    DesignInputs in = PostAndTrough(2, 1, 0.8, 1);
    in.desiredAverage = 1.5;
    // Read for digoxin: the design is suppressed.
    const auto digoxin = DesignIv(OneCompartment("dg", 500, 6), 'D', in);
    EXPECT_FALSE(digoxin.dose || digoxin.interval || digoxin.daily);
    // Not read for gentamicin: the post-and-trough design runs.
    EXPECT_TRUE(DesignIv(OneCompartment("gm", 20, 5), 'D', in).dose);
}

TEST(DesignIv, ContinuousRoundTripAndLoading) {
    RegimenModel m = OneCompartment("th", 35, 3);
    m.salt = 0.8;
    DesignInputs in;
    in.desiredAverage = 12;
    const auto d = DesignIv(m, 'C', in);
    EXPECT_NEAR(*ForecastContinuous(m, *d.daily / 24).average, 12, 1e-9);
    EXPECT_FALSE(d.dose || d.interval);
    // A level of 4 drawn 3 h ago with 20 mg/h running since.
    in.initialConc = 4;
    in.timeDrawn = 3;
    in.rateSinceLevel = 20;
    in.loadingInfusionTime = 0.5;
    const auto loaded = DesignIv(m, 'C', in);
    const double k = 3 / 35.0;
    const double now = 0.8 * 20 / 3 * (1 - std::exp(-k * 3)) + 4 * std::exp(-k * 3);
    const double end = now * std::exp(-k * 0.5) + 0.8 * *loaded.loadingDose / (0.5 * 3) * (1 - std::exp(-k * 0.5));
    EXPECT_NEAR(end, 12, 1e-9);
    // Already above the average: no loading dose; wait for the level to fall to the average.
    in.initialConc = 20;
    in.rateSinceLevel.reset();
    const auto high = DesignIv(m, 'C', in);
    EXPECT_FALSE(high.loadingDose);
    EXPECT_EQ(high.note, FormatNumber("Give dose in %.1f hours.", std::log(20 * std::exp(-k * 3) / 12) / k));
}

TEST(DesignOral, PeakAndTroughRoundTrip) {
    const RegimenModel m{.drug = "th", .F = 0.9, .Vd = 35, .Cl = 3, .ka = 1.2};
    const auto d = DesignOral(m, {.desiredTrough = 8, .desiredPeak = 15});
    ASSERT_TRUE(d.dose && d.interval);
    const auto back = ForecastOral(m, d.dose, d.interval);
    EXPECT_NEAR(*back.peak, 15, 1e-9);
    // The interval comes from the single-dose peak time, so the trough is close, not exact.
    EXPECT_NEAR(*back.trough, 8, 0.3);
}

TEST(DesignOral, AbsorptionEqualToEliminationStaysFinite) {
    const RegimenModel m{.drug = "th", .Vd = 30, .Cl = 3, .ka = 0.1};
    const auto d = DesignOral(m, {.desiredTrough = 8, .desiredPeak = 15, .initialConc = 2, .timeDrawn = 1});
    ASSERT_TRUE(d.dose && d.interval && d.loadingDose);
    EXPECT_NEAR(*ForecastOral(m, d.dose, d.interval).peak, 15, 1e-6);
}

TEST(DesignOral, OralLoadingDoseReachesThePeak) {
    const RegimenModel m{.drug = "pb", .Vd = 50, .Cl = 0.3, .salt = 0.91, .ka = 1.5};
    const auto d = DesignOral(m, {.desiredTrough = 20, .desiredPeak = 25, .initialConc = 5, .timeDrawn = 10});
    const double k = 0.3 / 50, now = 5 * std::exp(-k * 10);
    const double t1 = std::log(1.5 / k) / (1.5 - k);
    // Single-dose level at its peak time on top of the current level, as the formula assumes.
    const double single = 0.91 * *d.loadingDose * 1.5 / (50 * (1.5 - k)) * (std::exp(-k * t1) - std::exp(-1.5 * t1));
    EXPECT_NEAR(now + single, 25, 1e-9);
}

TEST(DesignOral, AverageTargetWaitsForTheAverage) {
    const RegimenModel m{.drug = "dg", .F = 0.7, .Vd = 400, .Cl = 6};
    DesignInputs in{.desiredTrough = 1, .desiredPeak = 2, .desiredAverage = 1.5, .initialConc = 0.5, .timeDrawn = 6};
    const auto d = DesignOral(m, in);
    EXPECT_FALSE(d.dose || d.interval);
    EXPECT_NEAR(*d.daily, 24 * 1.5 * 6 / 0.7, 1e-9);
    const double k = 6 / 400.0, now = 0.5 * std::exp(-k * 6);
    EXPECT_NEAR(*d.loadingDose, (1.5 - now) * 400 / 0.7, 1e-9);
    // At 2.5 the level must fall to the desired average, not to the trough.
    in.initialConc = 2.5;
    const auto high = DesignOral(m, in);
    EXPECT_FALSE(high.loadingDose);
    EXPECT_EQ(high.note, FormatNumber("Give dose in %.1f hours.", std::log(2.5 * std::exp(-k * 6) / 1.5) / k));
}

TEST(DesignOral, DigoxinDividedDosesAboveOnePointZeroNineTimes) {
    // Loading / daily = Vd / (24 Cl) with no current level.
    DesignInputs in;
    in.desiredAverage = 2;
    in.initialConc = 0;
    in.timeDrawn = 0;
    RegimenModel m = OneCompartment("dg", 1.10 * 240, 10);
    EXPECT_EQ(DesignOral(m, in).note, "Give in Divided Doses");
    m.Vd = 1.09 * 240;
    EXPECT_EQ(DesignOral(m, in).note, "");
}

TEST(DesignOral, LithiumAmountsInMilligrams) {
    // A daily amount of 1 mEq shows as 37 mg.
    RegimenModel m = OneCompartment("li", 30, 1 / 24.0);
    DesignInputs in;
    in.desiredAverage = 1;
    const auto d = DesignOral(m, in);
    EXPECT_NEAR(*d.daily, 36.94581280788178, 1e-12);
    EXPECT_EQ(FormatNumber("%.0f", *d.daily), "37");
    // The designed regimen, forecast again in mg, gives the desired level in mEq/L.
    m.ka = 1.2;
    const auto regimen = DesignOral(m, {.desiredTrough = 0.6, .desiredPeak = 1});
    EXPECT_NEAR(*ForecastOral(m, regimen.dose, regimen.interval).peak, 1, 1e-9);
}

TEST(DesignChecks, Messages) {
    EXPECT_EQ(*DesignFieldProblem(DesignField::DesiredPeak, -1), "Please input a correct Value of peak.");
    EXPECT_EQ(*DesignFieldProblem(DesignField::LoadingInfusionTime, -0.1),
              "Please input a correct Value of Infusion time for loading dose.");
    EXPECT_EQ(*DesignFieldProblem(DesignField::InitialConc, -2),
              "Please input a correct Value of Initial Concentration.");
    EXPECT_FALSE(DesignFieldProblem(DesignField::TimeDrawn, 0));
}
