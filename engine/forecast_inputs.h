#pragma once
// Why a forecast or a regimen design gives no numbers: the input that is
// missing, or parameters that describe no model, in words the page and
// kinevo-calc show.
#include <initializer_list>
#include <optional>
#include <string>

#include "engine/forecast_checks.h"
#include "engine/forecast_model.h"

// The two-compartment model exists only while k12 > 0, that is while the
// beta-phase volume Vd exceeds Vc and beta = Cl/Vd stays below K21.
std::optional<std::string> TwoCompartmentProblem(double vd, double cl, double vc, double k21);
// For values that pass those tests and still overflow.
inline constexpr const char* kNoUsableModel = "These parameters describe no usable model.";

// Vd or Cl missing (not above 0), the product's ka missing when the dose is
// `absorbed`, and for model type 2 Vc or K21 missing or the constants
// describing no model.
std::optional<std::string> ModelProblem(const RegimenModel& m, bool absorbed);

// A model value counts as given when it is above 0.
std::optional<double> GivenIfPositive(double value);

// A regimen's dose or interval: the field's message for a negative one, and
// an interval of 0 repeats the dose without end.
std::optional<std::string> DoseOrIntervalProblem(double dose, double interval);

// A computed level or dose can be shown only when it is finite (Finite()
// leaves the others missing) and not negative.
bool UsableResult(const std::optional<double>& value);
inline constexpr const char* kUnusableLevels = "The levels come out negative or not finite for these values.";
inline constexpr const char* kUnusableDose = "The dose comes out negative or not finite for these values.";

struct NamedInput {
    const char* name;  // as the page labels it, "Dose"
    std::optional<double> value;
};
// "Dose is missing." for the first input not given.
std::optional<std::string> FirstMissing(std::initializer_list<NamedInput> inputs);
