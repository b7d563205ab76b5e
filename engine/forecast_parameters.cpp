#include "engine/forecast_parameters.h"

#include "engine/forecast_model.h"
#include "records/text_format.h"

bool CanForecast(double vd, double cl, double cf) { return vd >= 0 && cl > 0 && cf >= 0; }

std::optional<double> Kd(double vd, double cl) { return Finite(cl / vd); }

std::optional<double> EliminationConstant(double vd, double cl) {
    if (!(vd > 0) || !(cl > 0)) return std::nullopt;
    return Kd(vd, cl);
}

std::optional<double> HalfLife(double vd, double cl) {
    const auto k = EliminationConstant(vd, cl);
    if (!k) return std::nullopt;
    return Finite(0.693 / *k);
}

double TimeToSteadyState(double halfLife) { return 4 * halfLife; }

std::optional<double> PerKilogram(double value, double weight) {
    if (!(weight > 0)) return std::nullopt;
    return Finite(value / weight);
}

std::string PerKilogramText(double value, double weight, const char* unit) {
    return "(" + FormatNumber("%.2f", PerKilogram(value, weight).value_or(0)) + " " + unit + ")";
}

std::string SaltText(double salt) { return FormatNumber("%f", salt).substr(0, 4); }

std::string PercentText(double fraction) { return FormatNumber("%.0f", fraction * 100) + " %"; }
