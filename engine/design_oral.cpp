#include "engine/design_oral.h"

#include <cmath>

#include "engine/forecast_inputs.h"
#include "engine/forecast_levels.h"

namespace {
RegimenDesign AverageTarget(const RegimenModel& m, double k, double average, const DesignInputs& in) {
    RegimenDesign d;
    d.daily = Finite(24 * average * m.Cl / (m.salt * m.F));
    const auto now = CurrentLevel(k, in.initialConc, in.timeDrawn);
    std::optional<double> loading;
    if (now && in.timeDrawn) loading = Finite((average - *now) * m.Vd / (m.F * m.salt));
    // Below the loading dose, the wait is for the level to fall to the average.
    FinishDesign(m, DesignPath::OralAverage, loading, k, now, average, in, d);
    return d;
}

RegimenDesign PeakAndTrough(const RegimenModel& m, double k, double peak, double trough, const DesignInputs& in) {
    RegimenDesign d;
    const double ka = SeparatedKa(m.ka, k);
    // Peak time of a single dose.
    const double t1 = std::log(ka / k) / (ka - k);
    const double tau = t1 + std::log(peak / trough) / k;
    d.interval = Finite(tau);
    const double tmax = OralPeakTime(ka, k, tau);
    d.dose = Finite(peak * m.Vd * -std::expm1(-k * tau) / (m.F * m.salt * std::exp(-k * tmax)));
    const auto now = CurrentLevel(k, in.initialConc, in.timeDrawn);
    std::optional<double> loading;
    if (now && in.timeDrawn) {
        if (SkipsLoadingAboveTrough(m.drug) && *now > trough) loading = 0;
        else
            loading = Finite(m.Vd * (ka - k) * (peak - *now) /
                             (ka * m.F * m.salt * (std::exp(-k * t1) - std::exp(-ka * t1))));
    }
    FinishDesign(m, DesignPath::OralPeakTrough, loading, k, now, trough, in, d);
    return d;
}
}  // namespace

RegimenDesign DesignOral(const RegimenModel& m, const DesignInputs& in) {
    const auto k = EliminationRate(m);
    if (!k) return NoRegimen(ModelProblem(m, false).value_or(kNoUsableModel));
    const auto average = TakesAverageTarget(m.drug) ? in.desiredAverage : std::nullopt;
    if (average && *average > 0) return AverageTarget(m, *k, *average, in);
    auto problem = PeakTroughProblem("peak", in.desiredPeak, in.desiredTrough);
    if (!problem) problem = ModelProblem(m, true);
    if (!problem && m.modelType != 1) problem = kNoUsableModel;
    if (problem) return NoRegimen(*problem);
    return PeakAndTrough(m, *k, *in.desiredPeak, *in.desiredTrough, in);
}
