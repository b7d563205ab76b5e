#pragma once
// Steady-state levels of a regular oral or IM regimen and of an uneven daily
// schedule of up to four doses at fixed clock hours.
#include <optional>
#include <string>
#include <vector>

#include "engine/forecast_model.h"

struct OralLevels {
    std::optional<double> peak, trough, average;
    std::string message;  // why there are no levels
};

// Levels when dose and interval are given, the dose is not negative and the
// interval is above 0. Lithium doses are in mg and the levels in mEq/L.
OralLevels ForecastOral(const RegimenModel& m, std::optional<double> dose, std::optional<double> interval);

// One row of the uneven schedule as typed; a missing field is empty.
struct UnevenRow {
    std::optional<double> dose, hour;
};

struct UnevenLevels {
    std::optional<double> peak, trough, average;
    std::optional<double> level;  // at the requested hour
    std::string message;          // why there are no levels
};

// The rows up to the last one with both dose and hour; a row among them
// without both counts as a zero dose at hour 0. Every dose is repeated each
// day; `timeLag` (h, the user's choice drug) delays each dose. No result when
// an hour lies outside 0..23 or a dose is negative; no level without an hour.
UnevenLevels ForecastUneven(const RegimenModel& m, const std::vector<UnevenRow>& rows, std::optional<double> levelHour,
                            double timeLag);
