#pragma once
// The fits the analysis page runs when it opens, and the predictions of its
// level table.
#include <array>
#include <string>
#include <vector>

#include "engine/fitting.h"
#include "engine/prediction.h"

struct CaseRecord;

// What the fits take from the set-up page and the drug model.
struct AnalysisSetup {
    ParameterSet initial;                                // the prior means and the start of every fit
    std::array<double, kMaxFitParameters> relativeSd{};  // F, Vd, Cl (Km), CF, Vm
    double fixedError = 0;                               // the drug's Bayesian error model
    double proportionalError = 0;
    double timeWeight = 1;
    bool phenytoin = false;
};
AnalysisSetup AnalysisSetupOf(const CaseRecord& r);

// The parameter set as the fits see it (F, Vd, Cl or Km, CF, and phenytoin's
// Vm) and back, the other values taken from `initial`.
FitVector FitVectorOf(const ParameterSet& s, bool phenytoin);
ParameterSet SetOfFitVector(const FitVector& p, const ParameterSet& initial, bool phenytoin);
// What the Bayesian fit minimises for the measured levels of `h`.
FitProblem BayesProblemOf(const History& h, const AnalysisSetup& s);
// Every value finite and within a factor 100 of its prior mean: beyond it a
// set has no patient behind it (a fit that ran away to Vd = 1e11 L).
bool WithinPriorFactor(const FitVector& values, const FitVector& priors);
// The fitted parameters no prediction depends on (F, CF), kept at their
// initial values.
std::array<bool, kMaxFitParameters> HeldParameters(const PredictionInput& in, const History& h);

struct AnalysisFits {
    ParameterSet leastSquares, bayes;
    FitRange leastSquaresRange, bayesRange;
    // "Cannot Fit Data" once per fit that gives up; a word per fit that ran
    // away to implausible values or to an F or CF above 100 % (its range
    // then carries the flag or the caution).
    std::vector<std::string> messages;
    // False when the initial set misses a fitted parameter or, for the
    // two-compartment model, describes no such model (the message says why).
    bool fitted = false;
};

// The least-squares fit, then the Bayesian fit with two or more measured
// levels (not phenytoin); otherwise both sets are the one fit made with the
// Bayesian error model. F keeps its initial value when no dose is oral (or
// the model is two-compartment), CF when the first dose is inpatient: no
// prediction depends on them then.
AnalysisFits RunAnalysisFits(PredictionInput& in, const History& h, const AnalysisSetup& s,
                             const FitProgress& progress = {});
// Runs them on the record's history and stores both sets with their ranges.
AnalysisFits RunAnalysisFits(CaseRecord& r, const FitProgress& progress = {});

// The population, least-squares and Bayesian predictions at every level
// point. A prediction below 0 is no level: it is left missing, and the
// message for its set says so. A fitted set given as null (flagged) leaves
// its predictions missing.
std::vector<std::string> FillLevelPredictions(PredictionInput& in, std::vector<LevelPoint>& levels,
                                              const ParameterSet& population, const ParameterSet* leastSquares,
                                              const ParameterSet* bayes);
std::vector<std::string> FillLevelPredictions(CaseRecord& r);
