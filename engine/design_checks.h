#pragma once
// The checks the regimen pages make when a field loses the focus (Vd, Cl
// and CF as on the forecast pages, forecast_checks.h).
#include <optional>
#include <string>

enum class DesignField {
    DesiredPeak,  // Desired Post on the IV page, Desired Peak on the oral/IM page
    PostTime,
    DesiredTrough,
    InfusionTime,
    DesiredAverage,
    InitialConc,
    TimeDrawn,
    LoadingInfusionTime,
};

// Every field refuses a value below 0.
std::optional<std::string> DesignFieldProblem(DesignField field, double value);
