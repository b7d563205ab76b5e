#pragma once
#include <array>
#include <optional>
#include <string>

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
    // Why the set must not be used, in a few words ("did not converge", "not
    // plausible", ...); empty when it may be. A flagged set is shown as this
    // flag instead of its numbers, gets no curve and leads to no dose or report.
    std::string flag;
    // What a usable set asks the pharmacist to check (a fitted F or CF above
    // 100 %); empty when nothing.
    std::string caution;
    bool Usable() const { return flag.empty(); }
};

// Numbered as the stored fit method numbers them.
enum FitMethod { kPopulation = 1, kLeastSquares = 2, kBayesian = 3, kDetailed = 4 };
