#pragma once
// Steady-state levels of an intermittent or continuous IV regimen, with the
// antibiotic exposure indices.
#include <optional>
#include <string>

#include "engine/forecast_model.h"

// Fields left empty are missing.
struct IntermittentRegimen {
    std::optional<double> dose, interval, infusionTime, postTime, mic;
};

struct IntermittentLevels {
    std::optional<double> peak, trough, post, average;
    std::optional<double> postMic;
    std::optional<double> timeAboveMic;  // hours per day, or per interval when it is over 24 h
    std::string timeAboveMicLabel;       // "hr/ 24 hr" or "hr/ 36 hr"; empty with no time
    std::optional<double> auic;          // a whole number
    std::string message;                 // why there are no levels
};

// The drugs for which the MIC indices are worked out.
bool HasMicIndices(const std::string& drug);

// Levels when dose, interval, infusion time and time of post are given and
// not negative, the interval is above 0, the infusion fits in the interval
// and the post is not later than the interval. An infusion time of 0 is a
// bolus dose. Otherwise the message names the input missing or wrong.
IntermittentLevels ForecastIntermittent(const RegimenModel& m, const IntermittentRegimen& regimen);

struct ContinuousLevel {
    std::optional<double> average;
    std::string message;  // why there is no level
};
// Average level of a continuous infusion at `rate` dose units per hour.
ContinuousLevel ForecastContinuous(const RegimenModel& m, std::optional<double> rate);

// AUIC rounded to the nearest whole number, halves up.
double RoundAuic(double auic);

// The unit of the time above MIC: per day up to a daily interval, else per interval.
std::string TimeAboveMicLabel(double tau);
