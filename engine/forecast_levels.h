#pragma once
// Closed-form levels of linear models: infusions (and bolus doses) as sums of
// exponential phases, and first-order absorption. Times in hours.
#include <optional>
#include <vector>

#include "engine/forecast_model.h"

// One phase of the level after a unit dose: coefficient (1/L) x e^(-rate t).
struct Phase {
    double coefficient;
    double rate;
};

// The two-compartment constants: beta = Cl/Vd, alpha = K21 (Cl/Vc) / beta;
// missing when ModelProblem finds no such model.
struct TwoCompartment {
    double alpha, beta, vc, k21;
};
std::optional<TwoCompartment> TwoCompartmentOf(const RegimenModel& m);

// One phase (1/Vd, k) for model type 1, the alpha and beta phases for model
// type 2; missing when the parameters describe no model.
std::optional<std::vector<Phase>> PhasesOf(const RegimenModel& m);
std::vector<Phase> PhasesOf(const TwoCompartment& c);

// Level t hours after the start of one dose infused over T hours (T = 0: a
// bolus).
double SingleInfusionLevel(const std::vector<Phase>& phases, double dose, double T, double t);

// Level t hours after the start of a dose at steady state, doses every tau
// hours, each infused over T <= tau hours.
double SteadyStateInfusionLevel(const std::vector<Phase>& phases, double dose, double T, double tau, double t);

// ka nudged off k by 0.0001 so that the absorption formulas stay defined.
double SeparatedKa(double ka, double k);

// Steady-state level t hours after an oral or IM dose; `absorbed` = F S D.
double OralSteadyStateLevel(double ka, double k, double vd, double absorbed, double tau, double t);

// Time of the steady-state peak after an oral or IM dose.
double OralPeakTime(double ka, double k, double tau);
