#pragma once
// Draws of the fitted parameters from the whole Bayesian posterior: the
// density exp(-chi-square / 2) of the objective the Bayesian fit minimises,
// sampled by importance resampling from a widened multivariate t around the
// fitted set. Seeded, so a case gives the same draws every time.
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/analysis_fits.h"

struct PosteriorSettings {
    int draws = 10000;
    std::uint64_t seed = 30;
};
// Phenytoin's predictions integrate the whole history per set: fewer draws.
PosteriorSettings PosteriorSettingsFor(int modelType);

// Below this share of the draws the effective sample size is poor: the
// quantiles then rest on few distinct sets.
inline constexpr double kPoorSampleShare = 0.1;

struct Posterior {
    std::vector<int> fitted;         // the indices of the parameters drawn (F, Vd, Cl or Km, CF, Vm)
    std::vector<FitVector> draws;    // equally weighted; held parameters at their stored values
    double effectiveSampleSize = 0;  // of the weighted proposals before resampling
    bool poor = false;
    int rejected = 0;  // proposals with no finite, physical prediction
};

// Missing when the Bayesian set is flagged, has no covariance or its
// covariance is not positive definite for the fitted parameters, when no
// level was measured, or when every proposal is rejected.
std::optional<Posterior> SamplePosterior(PredictionInput& in, const History& h, const AnalysisSetup& s,
                                         const ParameterSet& bayes, const FitRange& bayesRange,
                                         const PosteriorSettings& settings);
// Over the record's history and its stored Bayesian set.
std::optional<Posterior> SamplePosterior(const CaseRecord& r, const PosteriorSettings& settings);

// The q quantile (0..1) of `values`, interpolated between order statistics.
double Quantile(std::vector<double> values, double q);
// The draws of parameter j.
std::vector<double> ParameterDraws(const Posterior& posterior, int j);
