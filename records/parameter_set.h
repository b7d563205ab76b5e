#pragma once
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

// Numbered as the stored fit method numbers them.
enum FitMethod { kPopulation = 1, kLeastSquares = 2, kBayesian = 3, kDetailed = 4 };
