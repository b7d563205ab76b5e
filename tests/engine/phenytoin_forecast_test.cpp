#include <gtest/gtest.h>

#include <cmath>

#include "engine/phenytoin_forecast.h"

namespace {
const PhenytoinParameters kAdult{45, 4, 500};

PhenytoinDoseLine Line(double dose, double interval, double salt = 1) { return {dose, interval, salt}; }
}  // namespace

TEST(PhenytoinForecast, DailyDoseForAnAverageGivesThatAverageBack) {
    const double salt = 0.92, F = 0.95;
    const auto design = DesignPhenytoin(kAdult, salt, F, 15, std::nullopt);
    ASSERT_TRUE(design.dailyDose);
    EXPECT_EQ(design.interval, 24);
    EXPECT_FALSE(design.loadingDose);
    const auto levels = ForecastPhenytoin(kAdult, F, 0.1, Line(*design.dailyDose, 24, salt), {});
    EXPECT_NEAR(*levels.observed, 15, 1e-9);
    EXPECT_EQ(levels.message, "");
}

TEST(PhenytoinForecast, BindingScalesRangeAndAdjustedLevel) {
    const auto normal = AdjustedRange(0.1);
    EXPECT_NEAR(normal->low, 10, 1e-12);
    EXPECT_NEAR(normal->high, 20, 1e-12);
    const auto low = AdjustedRange(0.2);
    EXPECT_NEAR(low->low, 5, 1e-12);
    EXPECT_NEAR(low->high, 10, 1e-12);
    EXPECT_FALSE(AdjustedRange(0));
    const auto atNormal = ForecastPhenytoin(kAdult, 1, 0.1, Line(300, 24), {});
    EXPECT_NEAR(*atNormal.adjusted, *atNormal.observed, 1e-12);
    const auto doubled = ForecastPhenytoin(kAdult, 1, 0.2, Line(300, 24), {});
    EXPECT_NEAR(*doubled.adjusted, 2 * *doubled.observed, 1e-12);
    // Css = Km R / (Vm - R).
    EXPECT_NEAR(*atNormal.observed, 4 * 300 / (500 - 300.0), 1e-12);
}

TEST(PhenytoinForecast, RateAtVmaxIsRefused) {
    const auto atVmax = ForecastPhenytoin(kAdult, 1, 0.1, Line(250, 12), {});
    EXPECT_EQ(atVmax.message, "Daily Dosage is greater than Vmax.");
    EXPECT_FALSE(atVmax.observed || atVmax.adjusted || atVmax.t90Days);
    EXPECT_EQ(ForecastPhenytoin(kAdult, 1, 0.1, Line(249, 12), {}).message, "");
}

TEST(PhenytoinForecast, TwoRegimensAndSecondAlone) {
    const auto both = ForecastPhenytoin(kAdult, 1, 0.1, Line(200, 24, 0.92), Line(100, 12));
    EXPECT_NEAR(*both.dailyRate, 0.92 * 200 + 200, 1e-12);
    // The second regimen alone is a regimen of its own, Vmax check included.
    const auto second = ForecastPhenytoin(kAdult, 1, 0.1, {}, Line(100, 12));
    EXPECT_NEAR(*second.dailyRate, 200, 1e-12);
    EXPECT_NEAR(*second.observed, 4 * 200 / 300.0, 1e-12);
    EXPECT_EQ(ForecastPhenytoin(kAdult, 1, 0.1, Line(0, 0), Line(300, 12)).message,
              "Daily Dosage is greater than Vmax.");
    EXPECT_FALSE(ForecastPhenytoin(kAdult, 1, 0.1, {}, {}).dailyRate);
    EXPECT_FALSE(ForecastPhenytoin({45, 0, 500}, 1, 0.1, Line(300, 24), {}).observed);
}

TEST(PhenytoinForecast, NinetyPercentTimeAgreesWithIntegratedElimination) {
    // dC/dt = (R - Vm C / (Km + C)) / Vd, from 0 until 90 % of the steady level.
    const double R = 300, css = 4 * R / (500 - R);
    double c = 0, t = 0;
    const double dt = 1e-4;  // days
    while (c < 0.9 * css) {
        auto slope = [&](double x) { return (R - 500 * x / (4 + x)) / 45; };
        const double k1 = slope(c), k2 = slope(c + dt / 2 * k1), k3 = slope(c + dt / 2 * k2), k4 = slope(c + dt * k3);
        c += dt / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
        t += dt;
    }
    // The closed form uses 2.3 for ln 10.
    EXPECT_NEAR(*ForecastPhenytoin(kAdult, 1, 0.1, Line(R, 24), {}).t90Days, t, 0.002 * t);
}

TEST(PhenytoinForecast, LoadingDose) {
    const auto below = DesignPhenytoin(kAdult, 1, 1, 15, 5);
    EXPECT_NEAR(*below.loadingDose, (15 - 5) * 45, 1e-9);
    EXPECT_EQ(*DesignPhenytoin(kAdult, 1, 1, 15, 18).loadingDose, 0);
    EXPECT_FALSE(DesignPhenytoin(kAdult, 1, 1, 15, -1).loadingDose);
    EXPECT_FALSE(DesignPhenytoin(kAdult, 1, 1, 0, 5).dailyDose);
}

TEST(PhenytoinForecast, SaltUnitsAndIntervalCheck) {
    EXPECT_EQ(SecondRegimenSalt("Capsules"), 0.92);
    EXPECT_EQ(SecondRegimenSalt("Suspension"), 1.00);
    EXPECT_EQ(DoseUnitsFor("Injection (Fosphenytoin)").dose, "mg (PE)");
    EXPECT_EQ(DoseUnitsFor("Injection (Fosphenytoin)").daily, "mg (PE)/24 hr");
    EXPECT_EQ(DoseUnitsFor("Capsules").daily, "mg/24 hr");
    EXPECT_EQ(*PhenytoinIntervalProblem(-12), " Interval can not be negative. ");
    EXPECT_FALSE(PhenytoinIntervalProblem(0));
}

TEST(PhenytoinForecast, SaysWhyThereIsNoResult) {
    EXPECT_EQ(DesignPhenytoin(kAdult, 1, 1, std::nullopt, 5).message, "Desired average is missing.");
    EXPECT_EQ(DesignPhenytoin({0, 4, 500}, 1, 1, 15, 5).message, "Vd is missing.");
    const auto noF = DesignPhenytoin(kAdult, 1, 0, 15, 5);  // divided by S F = 0
    EXPECT_FALSE(noF.dailyDose || noF.loadingDose);
    EXPECT_EQ(noF.message, "The dose comes out negative or not finite for these values.");
    EXPECT_TRUE(DesignPhenytoin(kAdult, 1, 1, 15, 5).message.empty());

    EXPECT_EQ(ForecastPhenytoin({45, 0, 500}, 1, 0.1, Line(300, 24), {}).message, "Km is missing.");
    EXPECT_EQ(ForecastPhenytoin(kAdult, 1, 0.1, {}, {}).message, "Dose and interval are missing.");
    // A volume of 1e308 L takes the 90 % time past any double.
    const auto huge = ForecastPhenytoin({1e308, 4, 500}, 1, 0.1, Line(300, 24), {});
    EXPECT_FALSE(huge.observed || huge.t90Days);
    EXPECT_EQ(huge.message, "The levels come out negative or not finite for these values.");
    // A daily amount past any double says so too.
    EXPECT_EQ(ForecastPhenytoin(kAdult, 1, 0.1, Line(1e308, 0.001), {}).message, huge.message);
}
