#pragma once
// The 95 % credible band of the Bayesian curve: at each curve time the 2.5
// and 97.5 % quantiles of the level predicted by the posterior's draws.
#include <vector>

#include "engine/curves.h"
#include "engine/posterior.h"

// The quantiles over `sets`, each predicted at every time.
CurveBand BandOfDraws(PredictionInput& in, const std::vector<ParameterSet>& sets, const std::vector<double>& times);

// The band's draws: fewer than the posterior's own, as 281 predictions per
// draw cost far more than the levels the sampling predicts. The draws are
// equally weighted and in no order, so every n-th of them is a smaller
// sample of the same posterior.
inline constexpr int kBandDraws = 1000;

// Over the record's history and the posterior of its Bayesian set; `times`
// are the curve's.
CurveBand ComputeCurveBand(const CaseRecord& r, const Posterior& posterior, const std::vector<double>& times);
// The band of the Bayesian curve, into `curves`; none without a posterior
// (a flagged fit, no measured level).
void AddCurveBand(const CaseRecord& r, const Posterior* posterior, AnalysisCurves& curves);
