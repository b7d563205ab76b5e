#include "engine/auc24.h"

#include "engine/forecast_iv.h"
#include "records/text_format.h"

namespace {
// S·F·CF per clearance: the area of one dose unit.
std::optional<double> AreaPerDose(const RegimenModel& m) {
    if (!(m.Cl > 0)) return std::nullopt;
    return Finite(m.salt * m.F * m.CF / m.Cl);
}

Auc24Design NoDesign(const std::string& reason) {
    Auc24Design d;
    d.message = reason;
    return d;
}

std::optional<std::string> InputProblem(const Auc24Target& in) {
    if (!in.target || !(*in.target > 0)) return "Desired AUC24 is missing.";
    if (in.interval.has_value() == in.dose.has_value()) return "Give either the interval or the dose for the AUC24.";
    if (in.interval && !(*in.interval > 0)) return "Interval must be above 0.";
    if (in.dose && !(*in.dose > 0)) return "Dose must be above 0.";
    if (!in.infusionTime || *in.infusionTime < 0) return "Infusion time is missing.";
    if (in.troughLimit && *in.troughLimit < 0) return "Trough limit cannot be negative.";
    return std::nullopt;
}
}  // namespace

std::optional<double> Auc24(const RegimenModel& m, double dose, double interval) {
    const auto area = AreaPerDose(m);
    if (!area || !(interval > 0) || dose < 0) return std::nullopt;
    return Finite(24 * *area * dose / interval);
}

std::optional<double> Auc24Continuous(const RegimenModel& m, double rate) {
    const auto area = AreaPerDose(m);
    if (!area || rate < 0) return std::nullopt;
    return Finite(24 * *area * rate);
}

Auc24Design DesignForAuc24(const RegimenModel& m, const Auc24Target& in) {
    if (const auto problem = InputProblem(in)) return NoDesign(*problem);
    const auto area = AreaPerDose(m);
    if (!area || !(*area > 0)) return NoDesign("Cl is missing.");
    Auc24Design d;
    // AUC24 = 24 · area · D / τ, solved for the one not given.
    if (in.interval) {
        d.interval = in.interval;
        d.dose = Finite(*in.target * *in.interval / (24 * *area));
    } else {
        d.dose = in.dose;
        d.interval = Finite(24 * *area * *in.dose / *in.target);
    }
    if (!d.dose || !d.interval) return NoDesign("No regimen reaches this AUC24.");
    if (*in.infusionTime > *d.interval) return NoDesign("The infusion time is longer than the interval.");
    const IntermittentLevels levels = ForecastIntermittent(m, {d.dose, d.interval, in.infusionTime, 0.0, {}});
    d.peak = levels.peak;
    d.trough = levels.trough;
    if (in.troughLimit && d.trough && *d.trough > *in.troughLimit) {
        d.troughAboveLimit = true;
        d.message = "Trough " + FormatNumber("%.1f", *d.trough) + " is above the limit of " +
                    FormatNumber("%.1f", *in.troughLimit) + ".";
    }
    return d;
}

bool HasAuc24(const std::string& drug) { return HasMicIndices(drug); }
