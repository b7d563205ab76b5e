#include "engine/curve_band.h"

#include <algorithm>
#include <cmath>

#include "records/case_record.h"

CurveBand BandOfDraws(PredictionInput& in, const std::vector<ParameterSet>& sets, const std::vector<double>& times) {
    CurveBand band;
    if (sets.empty()) return band;
    const auto predictions = PredictConcentrationSets(in, sets, times);
    std::vector<double> levels(sets.size());
    for (std::size_t t = 0; t < times.size(); ++t) {
        // A quantile over the draws that happen to give a level would be a
        // quantile of another distribution: one missing level loses the point.
        bool complete = true;
        for (std::size_t d = 0; d < sets.size() && complete; ++d) {
            const auto& level = predictions[d][t];
            complete = level && std::isfinite(*level);
            if (complete) levels[d] = *level;
        }
        band.low.push_back(complete ? std::optional(Quantile(levels, 0.025)) : std::nullopt);
        band.high.push_back(complete ? std::optional(Quantile(levels, 0.975)) : std::nullopt);
    }
    return band;
}

CurveBand ComputeCurveBand(const CaseRecord& r, const Posterior& posterior, const std::vector<double>& times) {
    if (times.empty()) return {};
    const AnalysisSetup s = AnalysisSetupOf(r);
    const std::size_t step = std::max<std::size_t>(1, posterior.draws.size() / kBandDraws);
    std::vector<ParameterSet> sets;
    for (std::size_t i = 0; i < posterior.draws.size(); i += step)
        sets.push_back(SetOfFitVector(posterior.draws[i], s.initial, s.phenytoin));
    PredictionInput in = PredictionInputOf(r);
    // As for the curves: the phenytoin grid reaches the end of the axis.
    in.predictionReach = std::max(in.predictionReach, times.back());
    return BandOfDraws(in, sets, times);
}

void AddCurveBand(const CaseRecord& r, const Posterior* posterior, AnalysisCurves& curves) {
    curves.bayesBand = posterior ? ComputeCurveBand(r, *posterior, curves.times) : CurveBand{};
}
