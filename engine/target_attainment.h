#pragma once
// How likely a regimen is to reach its targets: the share of the posterior
// draws whose steady-state levels, forecast as the forecast pages forecast
// them, lie in the ranges asked for.
#include <optional>

#include "engine/forecast_iv.h"
#include "engine/phenytoin_forecast.h"
#include "engine/posterior.h"

// Either side may stay open; a range with neither side is not asked for.
struct TargetRange {
    std::optional<double> low, high;
    bool Asked() const { return low || high; }
    bool Holds(double x) const { return (!low || x >= *low) && (!high || x <= *high); }
};

// A regimen's targets: the trough in the therapeutic range, the peak (or the
// post, the level at the time of post) at least the desired one, AUC24 in
// 400-600 mg.h/L with the trough under a limit (the trough's range then has
// only its high side).
struct IntermittentTargets {
    TargetRange trough{}, peak{}, auc24{}, post{};
};

// Shares of the draws, 0 to 1, for each range asked for and for all of them
// at once. A draw the forecast gives no level for reaches no target.
struct Attainment {
    std::optional<double> trough, peak, auc24, average, post;
    std::optional<double> all;
};

// The model with a draw's F, Vd, Cl and CF in place of its own.
RegimenModel WithDraw(RegimenModel m, const FitVector& draw);

// `m` is the model of the regimen; each draw's F, Vd, Cl and CF replace its own.
Attainment IntermittentAttainment(const RegimenModel& m, const Posterior& posterior, const IntermittentRegimen& regimen,
                                  const IntermittentTargets& targets);

// A regular oral or IM regimen of `dose` every `interval` hours, forecast by
// ForecastOral; it has no post.
Attainment OralAttainment(const RegimenModel& m, const Posterior& posterior, double dose, double interval,
                          const IntermittentTargets& targets);

// Phenytoin: the average steady-state level of the regimen, as measured,
// in `average` (the range as AdjustedRange gives it for the patient's
// binding), each draw's F, Vd, Km and Vm in turn. A daily rate at or above a
// draw's Vm reaches no level.
Attainment PhenytoinAttainment(const Posterior& posterior, const PhenytoinDoseLine& regimen,
                               const TargetRange& average);
