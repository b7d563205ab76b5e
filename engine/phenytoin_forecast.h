#pragma once
// Phenytoin's saturable (Michaelis-Menten) forecasts: the range adjusted to
// the patient's binding, the daily dose for a desired average, the loading
// dose, and the levels of up to two concurrent regimens.
#include <optional>
#include <string>

struct PhenytoinParameters {
    double Vd = 0;  // L
    double Km = 0;  // mg/L
    double Vm = 0;  // mg/day
};

// The 10-20 mg/L range at normal binding, scaled by 0.1/fu.
struct PhenytoinRange {
    double low, high;
};
std::optional<PhenytoinRange> AdjustedRange(double freeFraction);

struct PhenytoinDesign {
    std::optional<double> dailyDose;  // per 24 h
    double interval = 24;
    std::optional<double> loadingDose;
    std::string message;  // why there is no dose
};

// Daily dose when the desired average is above 0; loading dose when the
// current level is given and not negative (0 at or above the target). The
// level is used as measured, whenever it was drawn.
PhenytoinDesign DesignPhenytoin(const PhenytoinParameters& p, double salt, double F,
                                std::optional<double> desiredAverage, std::optional<double> currentConc);

struct PhenytoinDoseLine {
    std::optional<double> dose, interval;
    double salt = 1;
};

struct PhenytoinLevels {
    std::optional<double> dailyRate;  // mg/day reaching the body
    std::optional<double> observed, adjusted, t90Days;
    std::string message;  // the Vmax message when the rate reaches Vm, or why there are no levels
};

// Each line counts when its dose and interval are both above 0; either line
// alone is a regimen. A rate at or above Vm gives the message and no levels.
PhenytoinLevels ForecastPhenytoin(const PhenytoinParameters& p, double F, double freeFraction,
                                  const PhenytoinDoseLine& first, const PhenytoinDoseLine& second);

// The second regimen's salt factor, from the form part of its product.
double SecondRegimenSalt(const std::string& formName);

// Dose and daily-dose labels: phenytoin equivalents for fosphenytoin.
struct PhenytoinDoseUnits {
    std::string dose, daily;
};
PhenytoinDoseUnits DoseUnitsFor(const std::string& formName);

// The forecast page's interval check.
std::optional<std::string> PhenytoinIntervalProblem(double interval);
