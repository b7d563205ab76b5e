#include "engine/forecast_checks.h"

std::optional<std::string> VdProblem(double vd) {
    if (vd < 0) return "Please input a correct Value of VD.";
    return std::nullopt;
}

std::optional<std::string> ClProblem(double cl) {
    if (cl < 0) return "Please input a correct Value of CL.";
    return std::nullopt;
}

std::optional<std::string> CfPercentProblem(double cfPercent) {
    if (cfPercent < 0 || cfPercent > 100) return "Please input a correct Value of CF.";
    return std::nullopt;
}

std::optional<std::string> ForecastFieldProblem(ForecastField field, double value) {
    if (field == ForecastField::Hour) {
        if (value < 0 || value > 23) return "Hours have to be from 0 to 23";
        return std::nullopt;
    }
    if (value >= 0) return std::nullopt;
    switch (field) {
        case ForecastField::Dose: return "Dose cannot be negative.";
        case ForecastField::InfusionRate: return "Infusion rate cannot be negative.";
        case ForecastField::InfusionTime: return "Infusion time cannot be negative.";
        case ForecastField::Interval: return "Interval cannot be negative.";
        case ForecastField::Mic: return "MIC cannot be negative.";
        case ForecastField::PostTime: return "Time of post cannot be negative.";
        case ForecastField::Hour: break;
    }
    return std::nullopt;
}

std::optional<std::string> PostTimeProblem(double postTime, std::optional<double> interval) {
    if (const auto negative = ForecastFieldProblem(ForecastField::PostTime, postTime)) return negative;
    if (interval && *interval > 0 && postTime > *interval) return "Time of post cannot be more than interval.";
    return std::nullopt;
}
