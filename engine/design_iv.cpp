#include "engine/design_iv.h"

#include <cmath>

#include "engine/design_checks.h"
#include "engine/forecast_inputs.h"
#include "engine/forecast_levels.h"

namespace {
constexpr double kRootTolerance = 0.0001;
constexpr int kRootIterations = 30;
constexpr const char* kNoRegimen =
    "The interval search found no interval longer than the infusion for the desired post and trough.";

bool SameSign(double a, double b) { return (a < 0) == (b < 0); }

// Fraction (1 - e^(-kT)) / T of an infusion over T; k itself for a bolus.
double InfusionFraction(double k, double T) { return T > 0 ? -std::expm1(-k * T) / T : k; }

struct Targets {
    double post, tpost, trough, T;
};

RegimenDesign OneCompartment(const RegimenModel& m, double k, const Targets& t, const DesignInputs& in) {
    RegimenDesign d;
    const double peak = t.post * std::exp(k * t.tpost);
    const double tau = t.T + std::log(peak / t.trough) / k;
    d.interval = Finite(tau);
    d.dose = Finite(peak * m.Cl * -std::expm1(-k * tau) / (InfusionFraction(k, t.T) * m.salt));
    std::optional<double> loading;
    const auto now = CurrentLevel(k, in.initialConc, in.timeDrawn);
    if (in.loadingInfusionTime && in.timeDrawn && now) {
        const double TL = *in.loadingInfusionTime;
        if (SkipsLoadingAboveTrough(m.drug) && *now > t.trough) loading = 0;
        else loading = Finite(m.Cl * (peak - *now * std::exp(-k * TL)) / (InfusionFraction(k, TL) * m.F * m.salt));
    }
    FinishDesign(m, DesignPath::IvPeakTrough, loading, k, now, t.trough, in, d);
    return d;
}

RegimenDesign TwoCompartmentDesign(const RegimenModel& m, const TwoCompartment& c, const Targets& t,
                                   const DesignInputs& in) {
    RegimenDesign d;
    const auto phases = PhasesOf(c);
    const double b = c.beta;
    // The level from earlier doses is taken to fall with beta alone.
    const double dose =
        (t.post - t.trough * std::exp(-b * (t.T + t.tpost))) / SingleInfusionLevel(phases, 1, t.T, t.T + t.tpost);
    d.dose = Finite(dose);
    if (!UsableResult(d.dose)) return NoRegimen(kUnusableDose);
    // The dose's level at tau in its after-infusion form for every tau: a
    // secant step that lands inside the infusion must see the same smooth
    // exponentials, or the search runs away from the root.
    const auto troughGap = [&](double tau) {
        double level = 0;
        for (const Phase& p : phases)
            level +=
                p.coefficient * dose * -std::expm1(-p.rate * t.T) / (p.rate * t.T) * std::exp(-p.rate * (tau - t.T));
        return level + t.trough * std::expm1(-b * tau);
    };
    const double tau = IntervalRoot(troughGap, std::log(2.0) / b);
    // A dose without its interval is no regimen.
    if (!(tau > t.T) || !(std::abs(troughGap(tau)) <= kRootTolerance)) return NoRegimen(kNoRegimen);
    d.interval = tau;
    std::optional<double> loading;
    const auto now = CurrentLevel(b, in.initialConc, in.timeDrawn);
    if (in.loadingInfusionTime && in.timeDrawn && now) {
        const double TL = *in.loadingInfusionTime;
        loading =
            Finite((t.post - *now * std::exp(-b * (TL + t.tpost))) / SingleInfusionLevel(phases, 1, TL, TL + t.tpost));
    }
    FinishDesign(m, DesignPath::IvPeakTrough, loading, b, now, t.trough, in, d);
    return d;
}

RegimenDesign Continuous(const RegimenModel& m, double k, const DesignInputs& in) {
    RegimenDesign d;
    if (!in.desiredAverage || !(*in.desiredAverage > 0)) return NoRegimen("Desired average is missing.");
    const double average = *in.desiredAverage;
    d.daily = Finite(24 * average * m.Cl / (m.salt * m.F));
    std::optional<double> loading;
    const double rateLevel = in.rateSinceLevel ? m.F * m.salt * *in.rateSinceLevel / m.Cl : 0;
    const auto now = CurrentLevel(k, in.initialConc, in.timeDrawn, rateLevel);
    if (in.loadingInfusionTime && in.timeDrawn && now) {
        const double TL = *in.loadingInfusionTime;
        loading = Finite(m.Cl * (average - *now * std::exp(-k * TL)) / (InfusionFraction(k, TL) * m.F * m.salt));
    }
    // Below the loading dose, the wait is for the level to fall to the average.
    FinishDesign(m, DesignPath::IvAverage, loading, k, now, average, in, d);
    return d;
}
}  // namespace

double IntervalRoot(const std::function<double(double)>& f, double start) {
    double kept = start, fKept = f(kept);
    double tau = start + 0.1, fTau = f(tau);
    for (int i = 0; i < kRootIterations && std::abs(fTau) > kRootTolerance; ++i) {
        if (SameSign(fTau, fKept)) {
            if (fKept == fTau) break;
            const double next = tau - fTau * (kept - tau) / (fKept - fTau);
            if (!std::isfinite(next)) break;
            kept = tau;
            fKept = fTau;
            tau = next;
            fTau = f(tau);
        } else {
            // Keep the root between the new point and the kept one.
            const double next = (tau + kept) / 2;
            const double fNext = f(next);
            if (!SameSign(fNext, fTau)) {
                kept = tau;
                fKept = fTau;
            }
            tau = next;
            fTau = fNext;
        }
    }
    return tau;
}

RegimenDesign DesignIv(const RegimenModel& m, char routeCode, const DesignInputs& in) {
    const auto k = EliminationRate(m);
    if (!k) return NoRegimen(ModelProblem(m, false).value_or(kNoUsableModel));
    if (routeCode != 'D') return Continuous(m, *k, in);
    if (TakesAverageTarget(m.drug) && in.desiredAverage && *in.desiredAverage > 0)
        return NoRegimen("A desired average cannot be designed for an intermittent infusion.");
    auto problem = PeakTroughProblem("post", in.desiredPost, in.desiredTrough);
    if (!problem) problem = FirstMissing({{"Infusion time", in.infusionTime}});
    if (!problem && !(*in.infusionTime > 0)) problem = "Infusion time must be above 0.";
    if (!problem && in.postTime) problem = DesignFieldProblem(DesignField::PostTime, *in.postTime);
    if (problem) return NoRegimen(*problem);
    const Targets t{*in.desiredPost, in.postTime.value_or(0), *in.desiredTrough, *in.infusionTime};
    if (m.modelType == 2) {
        const auto c = TwoCompartmentOf(m);
        if (!c) return NoRegimen(ModelProblem(m, false).value_or(kNoUsableModel));
        return TwoCompartmentDesign(m, *c, t, in);
    }
    return OneCompartment(m, *k, t, in);
}
