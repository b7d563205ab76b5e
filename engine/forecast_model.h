#pragma once
// What the steady-state forecasts and the regimen designs need to know about
// the drug, the dosage form and the current parameter set.
#include <initializer_list>
#include <optional>
#include <string>

struct CaseRecord;

struct RegimenModel {
    std::string drug;  // lower-case code
    int modelType = 1;
    double F = 1, Vd = 0, Cl = 0, CF = 1;
    double salt = 1;
    double ka = 0;           // absorption rate of the oral or IM product, 1/h
    double vc = 0, k21 = 0;  // two-compartment model only
};

// The salt factor of the case's product: the oral one for route O, else the
// parenteral one.
double ProductSalt(const CaseRecord& r);

// The current set of the record with the product's salt factor and ka, and
// the bioavailability the caller chose by ForecastBioavailability.
RegimenModel RegimenModelOf(const CaseRecord& r, double F);

// The current set's F when the product is one of the two chosen for the fit,
// else the product's default (the population F).
double ForecastBioavailability(const std::string& routeProduct, const std::string& fitProduct1,
                               const std::string& fitProduct2, double currentF, double populationF);

// Phenytoin compares route codes: the current set's F when the product is
// given by the same route as the first product chosen for the fit.
double PhenytoinBioavailability(const std::string& routeProduct, const std::string& fitProduct1, double currentF,
                                double populationF);

// k = Cl/Vd; missing unless both are positive.
std::optional<double> EliminationRate(const RegimenModel& m);

// A finite value, or missing: no NaN or infinity leaves the engine.
std::optional<double> Finite(double value);

bool IsOneOf(const std::string& code, std::initializer_list<const char*> codes);
