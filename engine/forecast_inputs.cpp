#include "engine/forecast_inputs.h"

#include "records/text_format.h"

std::optional<double> GivenIfPositive(double value) { return value > 0 ? std::optional(value) : std::nullopt; }

std::optional<std::string> DoseOrIntervalProblem(double dose, double interval) {
    if (const auto negative = ForecastFieldProblem(ForecastField::Dose, dose)) return negative;
    if (const auto negative = ForecastFieldProblem(ForecastField::Interval, interval)) return negative;
    if (!(interval > 0)) return "Interval cannot be 0.";
    return std::nullopt;
}

std::optional<std::string> TwoCompartmentProblem(double vd, double cl, double vc, double k21) {
    if (!(vd > vc))
        return FormatNumbers("Vd (%.3f L) must be larger than Vc (%.3f L) for the two-compartment model.", vd, vc);
    if (!(cl / vd < k21))
        return FormatNumbers("Cl/Vd (%.3f /hr) must be below K21 (%.3f /hr) for the two-compartment model.", cl / vd,
                             k21);
    return std::nullopt;
}

std::optional<std::string> ModelProblem(const RegimenModel& m, bool absorbed) {
    if (const auto missing = FirstMissing({{"Vd", GivenIfPositive(m.Vd)}, {"Cl", GivenIfPositive(m.Cl)}}))
        return missing;
    if (absorbed && !(m.ka > 0)) return "The product has no absorption rate (ka).";
    if (m.modelType != 2) return std::nullopt;
    if (const auto missing = FirstMissing({{"Vc", GivenIfPositive(m.vc)}, {"K21", GivenIfPositive(m.k21)}}))
        return missing;
    return TwoCompartmentProblem(m.Vd, m.Cl, m.vc, m.k21);
}

bool UsableResult(const std::optional<double>& value) { return value && *value >= 0; }

std::optional<std::string> FirstMissing(std::initializer_list<NamedInput> inputs) {
    for (const NamedInput& input : inputs)
        if (!input.value) return std::string(input.name) + " is missing.";
    return std::nullopt;
}
