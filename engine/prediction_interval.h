#pragma once
// The 95 % range of a prediction made with a fitted set, carried over from
// the spread of the fitted parameters (their covariance).
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
// With sd^2 = sum_j sum_k (dY/dP_j)(dY/dP_k) covariance_jk, the range is Y
// at the sets 1.96 sd away along the direction in which Y changes fastest
// (Y +/- 1.96 sd where Y is linear; the exact 2.5 and 97.5 % points where Y
// follows one parameter, as an AUC24 follows 1/Cl), widened to hold Y;
// Y +/- 1.96 sd where such a set predicts nothing. Missing when the
// prediction is, at the set or at a stepped one, or when the variance comes
// out negative or not finite.
std::optional<PredictionRange> PredictionInterval(const SetPrediction& predict, const ParameterSet& set,
                                                  const FitMatrix& covariance, int parameterCount);
