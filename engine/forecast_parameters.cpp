#include "engine/forecast_parameters.h"

#include <cmath>

#include "engine/forecast_model.h"
#include "records/text_format.h"

bool CanForecast(double vd, double cl, double cf) { return vd >= 0 && cl > 0 && cf >= 0; }

std::optional<double> EliminationConstant(double vd, double cl) {
    if (!(vd > 0) || !(cl > 0)) return std::nullopt;
    return Finite(cl / vd);
}

std::optional<double> HalfLife(double vd, double cl) {
    const auto k = EliminationConstant(vd, cl);
    if (!k) return std::nullopt;
    return Finite(0.693 / *k);
}

std::string PerKilogramText(double value, double weight, const char* unit) {
    const double perKg = weight > 0 ? value / weight : 0;
    return "(" + FormatNumber("%.2f", std::isfinite(perKg) ? perKg : 0) + " " + unit + ")";
}

std::string SaltText(double salt) { return FormatNumber("%f", salt).substr(0, 4); }

std::string PercentText(double fraction) { return FormatNumber("%.0f", fraction * 100) + " %"; }
