#pragma once
#include <array>
#include <optional>

// One set of pharmacokinetic parameters. For phenytoin the Cl slot holds Km.
struct ParameterSet {
    double F = 0.0;   // bioavailability, fraction
    double Vd = 0.0;  // L
    double Cl = 0.0;  // L/h (phenytoin: Km, mg/L)
    double CF = 0.0;  // compliance factor, fraction
    double Km = 0.0;  // mg/L, phenytoin
    double Vm = 0.0;  // Vmax, mg/day, phenytoin
    bool operator==(const ParameterSet&) const = default;
};

inline constexpr int kMaxFitParameters = 5;
using FitMatrix = std::array<std::array<double, kMaxFitParameters>, kMaxFitParameters>;

// The spread of a fitted set by fitted parameter (F, Vd, Cl or Km, CF, Vm):
// bounds one standard deviation either side and the covariance they come
// from. Missing where the fit's final matrix gave no usable variance.
struct FitRange {
    std::array<std::optional<double>, kMaxFitParameters> lower, upper;
    std::optional<FitMatrix> covariance;
    // False when the fit ran away to values no patient has; such a set is
    // shown with a message and gets no curve.
    bool plausible = true;
};

// Numbered as the stored fit method numbers them.
enum FitMethod { kPopulation = 1, kLeastSquares = 2, kBayesian = 3, kDetailed = 4 };
