#include "engine/forecast_levels.h"

#include <cmath>

#include "engine/forecast_inputs.h"

namespace {
// Fraction of a unit dose, infused over T, that one phase shows at time t.
double PhaseShare(double rate, double T, double t) {
    if (T <= 0) return std::exp(-rate * t);
    if (t >= T) return (std::exp(-rate * (t - T)) - std::exp(-rate * t)) / (rate * T);
    return -std::expm1(-rate * t) / (rate * T);
}
}  // namespace

std::optional<TwoCompartment> TwoCompartmentOf(const RegimenModel& m) {
    if (ModelProblem(m, false)) return std::nullopt;
    const double beta = m.Cl / m.Vd;
    const double alpha = m.k21 * (m.Cl / m.vc) / beta;
    if (!std::isfinite(alpha) || !std::isfinite(beta)) return std::nullopt;
    return TwoCompartment{alpha, beta, m.vc, m.k21};
}

std::vector<Phase> PhasesOf(const TwoCompartment& c) {
    const double spread = (c.alpha - c.beta) * c.vc;
    return {{(c.alpha - c.k21) / spread, c.alpha}, {(c.k21 - c.beta) / spread, c.beta}};
}

std::optional<std::vector<Phase>> PhasesOf(const RegimenModel& m) {
    if (m.modelType == 2) {
        const auto c = TwoCompartmentOf(m);
        if (!c) return std::nullopt;
        return PhasesOf(*c);
    }
    const auto k = EliminationRate(m);
    if (!k) return std::nullopt;
    return std::vector<Phase>{{1 / m.Vd, *k}};
}

double SingleInfusionLevel(const std::vector<Phase>& phases, double dose, double T, double t) {
    double level = 0;
    for (const Phase& p : phases) level += p.coefficient * dose * PhaseShare(p.rate, T, t);
    return level;
}

double SteadyStateInfusionLevel(const std::vector<Phase>& phases, double dose, double T, double tau, double t) {
    // This dose plus all earlier ones, which have ended by now (T <= tau).
    double level = 0;
    for (const Phase& p : phases) {
        const double earlier = PhaseShare(p.rate, T, t + tau) / -std::expm1(-p.rate * tau);
        level += p.coefficient * dose * (PhaseShare(p.rate, T, t) + earlier);
    }
    return level;
}

double SeparatedKa(double ka, double k) { return ka == k ? ka + 0.0001 : ka; }

double OralSteadyStateLevel(double ka, double k, double vd, double absorbed, double tau, double t) {
    ka = SeparatedKa(ka, k);
    return ka * absorbed / (vd * (ka - k)) *
           (std::exp(-k * t) / -std::expm1(-k * tau) - std::exp(-ka * t) / -std::expm1(-ka * tau));
}

double OralPeakTime(double ka, double k, double tau) {
    ka = SeparatedKa(ka, k);
    return std::log(ka * -std::expm1(-k * tau) / (k * -std::expm1(-ka * tau))) / (ka - k);
}
