#pragma once
// The serum concentration predicted from one parameter set at times of the
// history (hours after TimeZero): one-compartment (model kind 1),
// two-compartment (2) and Michaelis-Menten phenytoin (3).
#include <optional>
#include <vector>

#include "records/history.h"
#include "records/parameter_set.h"

struct CaseRecord;

// What a prediction reads besides the parameter set.
struct PredictionInput {
    int modelType = 1;
    std::vector<DoseEvent> events;   // in time order
    std::optional<double> baseline;  // a measured level at time 0
    double vc = 0, k21 = 0;          // L, 1/h: model kind 2
    double phenytoinAbsRate = 0;     // mg/h: model kind 3
    // Model kind 3: the doses, the measured levels and the last interval set
    // the steps per hour; a prediction-only row beyond them only stretches
    // the grid at that rate, so it never changes the fit.
    double gridSpan = 0;         // h
    double predictionReach = 0;  // h, the latest prediction row + the last interval
    // One model pass per time instead of one per call: the same numbers more
    // slowly, kept so that the two routes can be compared.
    bool passPerTime = false;
};
PredictionInput PredictionInputOf(const CaseRecord& r);

// Predictions at every time, missing where the set cannot give one (a zero
// volume or clearance, a result that is not finite). One call does the work
// that does not depend on t once; for phenytoin it integrates once up to the
// latest time. Every value equals the one PredictConcentration gives alone.
// An absorbed dose whose ka equals the set's elimination rate exactly has its
// ka raised by 0.0001 in `in`, for this and every later prediction.
std::vector<std::optional<double>> PredictConcentrations(PredictionInput& in, const ParameterSet& p,
                                                         const std::vector<double>& times);
std::optional<double> PredictConcentration(PredictionInput& in, const ParameterSet& p, double t);
// PredictConcentrations for each set in turn, with the same numbers; the
// phenytoin sets are integrated side by side in one pass over the grid.
std::vector<std::vector<std::optional<double>>> PredictConcentrationSets(PredictionInput& in,
                                                                         const std::vector<ParameterSet>& sets,
                                                                         const std::vector<double>& times);

// Over the record's converted history; a ka adjustment is kept in the record.
std::optional<double> PredictConcentration(CaseRecord& r, const ParameterSet& p, double t);
