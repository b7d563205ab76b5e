// Model kinds 1 and 2: closed-form sums over the dose events up to t. What
// does not depend on t (rate constants, compliance, the coefficient of each
// event) is worked out once per call.
#include <algorithm>
#include <cmath>

#include "engine/prediction.h"
#include "engine/prediction_models.h"

namespace {
enum class Shape { kBolus, kInfusion, kAbsorption, kTwoCompartment };

struct Term {
    double time;
    double infusionTime;
    Shape shape;
    double c1;              // scale of the event's contribution (kind 2: of its beta part)
    double c2 = 0;          // after an infusion: c1 x (1 - e^(-kT)) (kind 2: scale of the alpha part)
    double ka = 0;          // absorbed doses
    double gA = 0, gB = 0;  // kind 2: 1 - e^(-alpha T), 1 - e^(-beta T)
};

std::vector<Term> OneCompartmentTerms(PredictionInput& in, const ParameterSet& p, double k, double tMax) {
    const std::vector<double> m = ComplianceOf(in.events, p.CF);
    std::vector<Term> terms;
    for (std::size_t i = 0; i < in.events.size() && in.events[i].time <= tMax; ++i) {
        DoseEvent& e = in.events[i];
        if (e.route == kEventIV && e.infusionTime <= 0) {
            terms.push_back({e.time, 0, Shape::kBolus, m[i] * e.amount * e.salt / p.Vd});
        } else if (e.route == kEventIV) {
            const double c1 = m[i] * e.salt * e.rate / p.Cl;
            terms.push_back({e.time, e.infusionTime, Shape::kInfusion, c1, c1 * (1 - std::exp(-k * e.infusionTime))});
        } else {
            if (e.ka == k) e.ka += 0.0001;
            const double g = e.route == kEventOral ? p.F : 1.0;
            const double c1 = g * e.amount * e.salt * e.ka * m[i] / (p.Vd * (e.ka - k));
            terms.push_back({e.time, 0, Shape::kAbsorption, c1, 0, e.ka});
        }
    }
    return terms;
}

double OneCompartmentAt(const std::vector<Term>& terms, double k, double t) {
    double c = 0;
    for (const Term& term : terms) {
        if (term.time > t) break;
        const double tau = t - term.time;
        switch (term.shape) {
            case Shape::kBolus: c += term.c1 * std::exp(-k * tau); break;
            case Shape::kInfusion:
                if (t < term.time + term.infusionTime) c += term.c1 * (1 - std::exp(-k * tau));
                else c += term.c2 * std::exp(-k * (tau - term.infusionTime));
                break;
            default: c += term.c1 * (std::exp(-k * tau) - std::exp(-term.ka * tau)); break;
        }
    }
    return c;
}

struct TwoCompartmentRates {
    double alpha, beta;
};

std::vector<Term> TwoCompartmentTerms(const PredictionInput& in, const ParameterSet& p, TwoCompartmentRates r,
                                      double tMax) {
    const std::vector<double> m = ComplianceOf(in.events, p.CF);
    const double a = (in.k21 - r.beta) / r.beta;
    const double b = (r.alpha - in.k21) / r.alpha;
    std::vector<Term> terms;
    for (std::size_t i = 0; i < in.events.size() && in.events[i].time <= tMax; ++i) {
        const DoseEvent& e = in.events[i];
        if (e.infusionTime <= 0) continue;  // only infusions enter this model
        const double scale = m[i] * e.salt * e.rate / (in.vc * (r.alpha - r.beta));
        Term term{e.time, e.infusionTime, Shape::kTwoCompartment, scale * a, scale * b};
        term.gA = 1 - std::exp(-r.alpha * e.infusionTime);
        term.gB = 1 - std::exp(-r.beta * e.infusionTime);
        terms.push_back(term);
    }
    return terms;
}

// After the infusion e^(-x(tau - T)) - e^(-x tau) is written as
// e^(-x(tau - T)) (1 - e^(-xT)), one exponential per rate instead of two.
double TwoCompartmentAt(const std::vector<Term>& terms, TwoCompartmentRates r, double t) {
    double c = 0;
    for (const Term& term : terms) {
        if (term.time > t) break;
        const double tau = t - term.time;
        if (t < term.time + term.infusionTime) {
            c += term.c1 * (1 - std::exp(-r.beta * tau)) + term.c2 * (1 - std::exp(-r.alpha * tau));
        } else {
            const double after = tau - term.infusionTime;
            c += term.c1 * term.gB * std::exp(-r.beta * after) + term.c2 * term.gA * std::exp(-r.alpha * after);
        }
    }
    return c;
}

// The level at time 0 decays with the slowest rate constant.
std::optional<double> WithBaseline(double c, const PredictionInput& in, double rate, double t) {
    if (in.baseline) c += *in.baseline * std::exp(-rate * t);
    return std::isfinite(c) ? std::optional<double>(c) : std::nullopt;
}
}  // namespace

void PredictLinear(PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                   std::vector<std::optional<double>>& out) {
    if (times.empty() || p.Vd == 0 || p.Cl == 0) return;
    const double tMax = *std::max_element(times.begin(), times.end());
    if (in.modelType == 2) {
        if (in.vc == 0 || in.k21 == 0) return;
        TwoCompartmentRates r;
        r.beta = p.Cl / p.Vd;
        r.alpha = p.Cl / in.vc * in.k21 / r.beta;
        if (r.alpha == r.beta) return;
        const std::vector<Term> terms = TwoCompartmentTerms(in, p, r, tMax);
        for (std::size_t i = 0; i < times.size(); ++i)
            out[i] = WithBaseline(TwoCompartmentAt(terms, r, times[i]), in, r.beta, times[i]);
        return;
    }
    const double k = p.Cl / p.Vd;
    const std::vector<Term> terms = OneCompartmentTerms(in, p, k, tMax);
    for (std::size_t i = 0; i < times.size(); ++i)
        out[i] = WithBaseline(OneCompartmentAt(terms, k, times[i]), in, k, times[i]);
}
