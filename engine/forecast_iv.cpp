#include "engine/forecast_iv.h"

#include <algorithm>
#include <cmath>

#include "engine/forecast_inputs.h"
#include "engine/forecast_levels.h"
#include "records/text_format.h"

namespace {
constexpr double kSearchStep = 0.1;  // h, the time-above-MIC search for model type 2

struct Regimen {
    double dose, tau, T, tpost, mic;
};

// Hours above the MIC within one interval, from the levels at the end of
// the infusion and at the trough (the limit cases the caller has handled).
double OneCompartmentTimeAbove(const Regimen& g, double k, double peak, double trough) {
    const double rise = std::max(0.0, (g.mic - trough) / (peak - trough) * g.T);
    return std::log(peak / g.mic) / k + g.T - rise;
}

// Steps through the true level: up through the infusion to the MIC, then down
// after it. Each search stops at the end of its phase, so a short infusion or
// a slow fall cannot run past the interval.
double TwoCompartmentTimeAbove(const std::vector<Phase>& phases, const Regimen& g) {
    auto level = [&](double t) { return SteadyStateInfusionLevel(phases, g.dose, g.T, g.tau, t); };
    int up = 0;
    while (up * kSearchStep < g.T && level(up * kSearchStep) < g.mic) ++up;
    const double m = std::min(up * kSearchStep, g.T);
    int down = 0;
    while (g.T + down * kSearchStep < g.tau && level(g.T + down * kSearchStep) > g.mic) ++down;
    const double o = std::min(g.T + down * kSearchStep, g.tau);
    return std::max(0.0, o - m);
}

// The regimen's values against each other; all of them are given.
std::optional<std::string> RegimenProblem(const IntermittentRegimen& r) {
    if (const auto problem = DoseOrIntervalProblem(*r.dose, *r.interval)) return problem;
    if (const auto negative = ForecastFieldProblem(ForecastField::InfusionTime, *r.infusionTime)) return negative;
    if (*r.infusionTime > *r.interval) return "Infusion time cannot be longer than the interval.";
    return PostTimeProblem(*r.postTime, r.interval);
}

void AddMicIndices(const RegimenModel& m, const Regimen& g, const std::vector<Phase>& phases, IntermittentLevels& out) {
    const double peak = *out.peak, trough = *out.trough;
    out.postMic = Finite(*out.post / g.mic);
    double above;
    if (g.mic <= trough) above = g.tau;
    else if (g.mic >= peak) above = 0;
    else if (m.modelType == 2) above = TwoCompartmentTimeAbove(phases, g);
    else above = OneCompartmentTimeAbove(g, phases.front().rate, peak, trough);
    if (g.tau <= 24) {
        out.timeAboveMic = Finite(above * 24 / g.tau);
    } else {
        out.timeAboveMic = Finite(above);
    }
    out.timeAboveMicLabel = TimeAboveMicLabel(g.tau);
    const auto auic = Finite(24 * m.salt * m.F * m.CF * g.dose / (g.tau * m.Cl * g.mic));
    if (auic) out.auic = Finite(RoundAuic(*auic));
}
}  // namespace

bool HasMicIndices(const std::string& drug) {
    return IsOneOf(drug, {"ak", "cx", "fc", "gm", "nm", "ox", "tm", "vm", "zz"});
}

double RoundAuic(double auic) { return std::floor(auic + 0.5); }

std::string TimeAboveMicLabel(double tau) { return tau <= 24 ? "hr/ 24 hr" : FormatNumber("hr/ %0.0f hr", tau); }

IntermittentLevels ForecastIntermittent(const RegimenModel& m, const IntermittentRegimen& regimen) {
    IntermittentLevels out;
    auto problem = ModelProblem(m, false);
    if (!problem)
        problem = FirstMissing({{"Dose", regimen.dose},
                                {"Interval", regimen.interval},
                                {"Infusion time", regimen.infusionTime},
                                {"Time of post", regimen.postTime}});
    if (!problem) problem = RegimenProblem(regimen);
    std::optional<std::vector<Phase>> phases;
    if (!problem) phases = PhasesOf(m);
    if (!phases) {
        out.message = problem.value_or(kNoUsableModel);
        return out;
    }
    const Regimen g{*regimen.dose, *regimen.interval, *regimen.infusionTime, *regimen.postTime,
                    regimen.mic.value_or(0)};
    // The two-compartment model takes the dose as given; salt and F do not enter.
    const double amount = m.modelType == 2 ? g.dose : m.salt * g.dose;
    auto level = [&](double t) { return Finite(SteadyStateInfusionLevel(*phases, amount, g.T, g.tau, t)); };
    out.peak = level(g.T);
    out.trough = level(g.tau);
    out.post = level(g.T + g.tpost);
    if (m.modelType != 2) out.average = Finite(m.salt * m.F * g.dose / (g.tau * m.Cl));
    if (!UsableResult(out.peak) || !UsableResult(out.trough) || !UsableResult(out.post) ||
        (m.modelType != 2 && !UsableResult(out.average))) {
        IntermittentLevels none;
        none.message = kUnusableLevels;
        return none;
    }
    if (g.mic > 0 && HasMicIndices(m.drug)) AddMicIndices(m, g, *phases, out);
    return out;
}

ContinuousLevel ForecastContinuous(const RegimenModel& m, std::optional<double> rate) {
    ContinuousLevel out;
    auto problem = FirstMissing({{"Cl", GivenIfPositive(m.Cl)}, {"Infusion rate", rate}});
    if (!problem) problem = ForecastFieldProblem(ForecastField::InfusionRate, *rate);
    if (problem) out.message = *problem;
    else out.average = Finite(m.salt * m.F * *rate / m.Cl);
    if (!problem && !UsableResult(out.average)) {
        out.average.reset();
        out.message = kUnusableLevels;
    }
    return out;
}
