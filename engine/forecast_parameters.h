#pragma once
// The values the pages show beside a parameter set, worked out once for the
// forecast, regimen, fitting, results and report pages alike.
#include <optional>
#include <string>

// Levels are worked out only while Vd >= 0, Cl > 0 and CF >= 0.
bool CanForecast(double vd, double cl, double cf);

// kd = Cl/Vd as the parameter tables show it: any finite quotient, so a
// fitted set with an implausible sign shows it rather than hiding it.
std::optional<double> Kd(double vd, double cl);
// kd and t1/2 = 0.693/kd for a usable set: missing when Vd or Cl is empty or 0.
std::optional<double> EliminationConstant(double vd, double cl);
std::optional<double> HalfLife(double vd, double cl);
// Steady state is taken as reached after four half-lives.
double TimeToSteadyState(double halfLife);

// A value per kilogram of body weight; missing without a weight.
std::optional<double> PerKilogram(double value, double weight);
// "(0.50 L/kg)" from a value and the weight; "(0.00 L/kg)" for weight 0.
// `unit` is the per-kilogram unit, such as "L/kg" or "mg/day/kg".
std::string PerKilogramText(double value, double weight, const char* unit);

// The salt factor as the first four characters of its "%f" text.
std::string SaltText(double salt);
// F as a whole percent: "100 %".
std::string PercentText(double fraction);
