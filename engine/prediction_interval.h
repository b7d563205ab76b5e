#pragma once
// The spread of a prediction made with a fitted set, carried over from the
// spread of the fitted parameters: Y - sqrt(var) to Y + sqrt(var), with
// var = sum_j sum_k (dY/dP_j)(dY/dP_k) covariance_jk.
#include <functional>
#include <optional>

#include "records/parameter_set.h"

struct PredictionRange {
    double low = 0;  // never below 0: a level cannot be negative
    double high = 0;
};

// A prediction from one parameter set; missing where there is none.
using SetPrediction = std::function<std::optional<double>(const ParameterSet&)>;

// dY/dP_j by a forward difference with P_j x 1.001, for the first
// `parameterCount` fitted parameters in the fit's order (F, Vd, Cl or Km,
// CF, Vm; the Cl slot moves Cl and Km together, as the fit keeps Km in both
// for phenytoin). A parameter of 0 has no relative step and adds nothing.
// Missing when the prediction is, at the set or at a stepped one, or when
// the variance comes out negative or not finite.
std::optional<PredictionRange> PredictionInterval(const SetPrediction& predict, const ParameterSet& set,
                                                  const FitMatrix& covariance, int parameterCount);
