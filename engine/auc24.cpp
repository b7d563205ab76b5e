#include "engine/auc24.h"

#include <cstdlib>

#include "engine/forecast_iv.h"
#include "records/text_format.h"
#include "records/units.h"

namespace {
// The area under the levels of one dose unit: the part of it that reaches
// the levels over the clearance.
std::optional<double> AreaPerDose(const RegimenModel& m, double reaching) {
    if (!(m.Cl > 0)) return std::nullopt;
    return Finite(reaching / m.Cl);
}

std::optional<double> InfusionAreaPerDose(const RegimenModel& m) {
    return AreaPerDose(m, m.modelType == 2 ? 1.0 : m.salt);
}

// The limit as typed, to the digits it was typed with (up to two).
std::string LimitText(double limit) {
    const std::string one = FormatNumber("%.1f", limit);
    return std::strtod(one.c_str(), nullptr) == limit ? one : FormatNumber("%.2f", limit);
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
    const auto area = InfusionAreaPerDose(m);
    if (!area || !(interval > 0) || dose < 0) return std::nullopt;
    return Finite(24 * *area * dose / interval);
}

std::optional<double> Auc24Continuous(const RegimenModel& m, double rate) {
    const auto area = AreaPerDose(m, m.salt * m.F);
    if (!area || rate < 0) return std::nullopt;
    return Finite(24 * *area * rate);
}

std::optional<double> Auc24Absorbed(const RegimenModel& m, double dose, double interval) {
    const auto area = AreaPerDose(m, m.salt * m.F);
    if (!area || !(interval > 0) || dose < 0) return std::nullopt;
    const double amount = m.drug == "li" ? dose * kLithiumMgToMeq : dose;
    return Finite(24 * *area * amount / interval);
}

Auc24Design DesignForAuc24(const RegimenModel& m, const Auc24Target& in) {
    if (const auto problem = InputProblem(in)) return NoDesign(*problem);
    const auto area = InfusionAreaPerDose(m);
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
    // Judged as shown: a trough of 15.04 reads 15.0 and is not above 15.
    const std::string trough = d.trough ? FormatNumber("%.1f", *d.trough) : std::string();
    if (in.troughLimit && d.trough && std::strtod(trough.c_str(), nullptr) > *in.troughLimit) {
        d.troughAboveLimit = true;
        d.message = "Trough " + trough + " is above the limit of " + LimitText(*in.troughLimit) + ".";
    }
    return d;
}

bool HasAuc24(const std::string& drug) { return HasMicIndices(drug); }
