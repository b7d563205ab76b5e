#pragma once
// The checks the forecast pages make when a field loses the focus: the
// message to show, or nothing when the value is accepted.
#include <optional>
#include <string>

// The parameter fields shared by the forecast, regimen and user's choice
// pages; CF in percent.
std::optional<std::string> VdProblem(double vd);
std::optional<std::string> ClProblem(double cl);
std::optional<std::string> CfPercentProblem(double cfPercent);

enum class ForecastField { Dose, InfusionRate, InfusionTime, Interval, Mic, PostTime, Hour };

std::optional<std::string> ForecastFieldProblem(ForecastField field, double value);
// The time of post against a given interval (only a positive one limits it).
std::optional<std::string> PostTimeProblem(double postTime, std::optional<double> interval);
