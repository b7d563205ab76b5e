#pragma once
// The steady-state levels of the detailed results page: a typed regimen
// forecast with the population, least-squares and Bayesian sets, and the
// spread of each fitted prediction from its fit's covariance.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/prediction_interval.h"

struct CaseRecord;
struct ParameterSet;

// The regimen as typed; an empty field is missing.
struct ResultsRegimen {
    std::optional<double> dose, interval, infusionTime, postTime, rate;
    std::optional<double> dose2, interval2;  // phenytoin: the fit's second product
};

// Which regimen fields and levels the case's product calls for.
enum class ResultsLayout { None, OralOrIm, Continuous, Intermittent, Phenytoin };
ResultsLayout LayoutOf(const CaseRecord& r);
// The levels shown for a layout, in their order: "peak", "trough", "post",
// "average", "auc24" (IV, for the drugs given it), and for phenytoin
// "average", "adjusted", "t90" (days).
std::vector<std::string> PredictionNames(ResultsLayout layout, const std::string& drug);

// One level for each set (population, least squares, Bayes) and the spread
// of the two fitted ones.
struct PredictionRow {
    std::string name;
    std::array<std::optional<double>, 3> value;
    std::array<std::optional<PredictionRange>, 2> range;
};

struct ResultsPredictions {
    std::vector<PredictionRow> rows;
    std::string message;  // why the population levels are missing, or the Vmax message
    // Phenytoin: the daily dose reaches Vmax, so nothing is forecast.
    bool vmaxReached = false;
};
ResultsPredictions PredictSteadyState(const CaseRecord& r, const ResultsRegimen& regimen);

// The F of the case's product with a set's F; an IM product, and a
// parenteral phenytoin product, is taken whole (F = 1).
double ResultsF(const CaseRecord& r, const ParameterSet& set);
// The page's check of the continuous infusion rate.
std::optional<std::string> ResultsRateProblem(double rate);
// One fit stands for both fitted sets: a single measured level, or phenytoin.
bool SingleFit(const CaseRecord& r);
