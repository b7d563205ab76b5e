#pragma once
// What the regimen designs share: the targets as typed, the result, the
// patient's current level and the closing step (loading dose, note line,
// lithium amounts).
#include <optional>
#include <string>

#include "engine/forecast_model.h"

// Fields left empty are missing. Levels in the drug's concentration unit
// (lithium: mEq/L), times in hours, the rate in dose units per hour.
struct DesignInputs {
    std::optional<double> desiredPost{}, postTime{}, desiredTrough{}, infusionTime{};
    std::optional<double> desiredPeak{}, desiredAverage{};
    std::optional<double> initialConc{}, timeDrawn{}, loadingInfusionTime{}, rateSinceLevel{};
};

// Exact estimates; lithium amounts in mg.
struct RegimenDesign {
    std::optional<double> dose, interval, daily, loadingDose;
    std::string note;
    std::string message;  // why there is no regimen
};

// No regimen, and why.
RegimenDesign NoRegimen(const std::string& reason);

// The targets of a peak-and-trough design (`peakWord` "post" or "peak"):
// both given, the trough above 0 and not above the peak.
std::optional<std::string> PeakTroughProblem(const std::string& peakWord, std::optional<double> peak,
                                             std::optional<double> trough);

// Drugs whose pages read a desired average for a regular regimen.
bool TakesAverageTarget(const std::string& drug);
// Drugs given no loading dose while the current level is above the trough.
bool SkipsLoadingAboveTrough(const std::string& drug);

// The level now, from a level drawn `timeDrawn` hours ago; `infusionLevel`
// is the steady level of an infusion running since then (0 without one).
// Missing without a level that is not negative.
std::optional<double> CurrentLevel(double k, std::optional<double> initialConc, std::optional<double> timeDrawn,
                                   double infusionLevel = 0);

enum class DesignPath { IvPeakTrough, IvAverage, OralPeakTrough, OralAverage };

// Keeps a positive loading dose with its note, or leaves it empty and says
// how long to wait until the level has fallen to `target`; then turns
// lithium amounts from mEq into mg. A maintenance dose, interval or daily
// amount that came out negative or not finite leaves no regimen.
void FinishDesign(const RegimenModel& m, DesignPath path, std::optional<double> loadingDose, double k,
                  std::optional<double> currentLevel, double target, const DesignInputs& in, RegimenDesign& d);
