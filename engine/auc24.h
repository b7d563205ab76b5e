#pragma once
// The daily exposure at steady state, AUC24: the area over 24 hours under
// the very levels the forecast shows (the compliance factor does not enter
// them, so it does not enter the area), and the regimen that reaches a
// target AUC24 with its trough kept under a limit.
#include <optional>
#include <string>

#include "engine/forecast_model.h"

// An intermittent infusion of D every τ hours: 24·S·D / (τ·Cl), S left out
// for the two-compartment model as its levels leave it out (at steady state
// the area over one interval is the amount given over the clearance).
std::optional<double> Auc24(const RegimenModel& m, double dose, double interval);
// 24·S·F·R / Cl for a continuous infusion at R dose units per hour.
std::optional<double> Auc24Continuous(const RegimenModel& m, double rate);
// 24·S·F·D / (τ·Cl) for an oral or IM dose D every τ hours; lithium's dose
// is taken in mEq, as its levels are.
std::optional<double> Auc24Absorbed(const RegimenModel& m, double dose, double interval);

struct Auc24Target {
    std::optional<double> target{};        // mg·h/L
    std::optional<double> interval{};      // given: the dose is designed
    std::optional<double> dose{};          // given instead: the interval is designed
    std::optional<double> infusionTime{};  // h, for the trough
    std::optional<double> troughLimit{};   // mg/L; none: any trough
};

struct Auc24Design {
    std::optional<double> dose, interval;
    std::optional<double> peak, trough;  // of the designed regimen at steady state
    std::string message;                 // why there is no regimen, or the trough above the limit
    bool troughAboveLimit = false;       // the trough as shown ("%.1f") is above the limit
};

// The dose for the given interval, or the interval for the given dose, whose
// AUC24 is the target; the regimen's peak and trough by the intermittent
// infusion forecast. A trough above the limit keeps the regimen and says so.
Auc24Design DesignForAuc24(const RegimenModel& m, const Auc24Target& in);

// The drugs for which the pages offer AUC24: those with MIC indices.
bool HasAuc24(const std::string& drug);
