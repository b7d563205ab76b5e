#pragma once
// The damped Gauss-Newton (Levenberg-Marquardt) search behind both the
// least-squares and the Bayesian fit: weighted level residuals plus one prior
// residual per parameter, forward-difference derivatives, and the covariance
// at the final parameters.
#include <functional>
#include <optional>
#include <vector>

#include "records/parameter_set.h"

// P_1..P_np at indices 0..np-1: F, Vd, Cl (phenytoin: Km), CF, and Vm.
using FitVector = std::vector<double>;

struct FitProblem {
    std::vector<double> times;  // the measured levels
    std::vector<double> observed;
    double lastLevelTime = 0;
    double timeWeight = 1;         // TWF: older levels weigh less
    double fixedError = 0;         // SD0, concentration unit
    double proportionalError = 0;  // SDp, fraction of the prediction
    FitVector priorMeans;          // must all be above 0; the search starts at 1.1 x these
    FitVector relativeSd;
    bool logPriors = false;  // phenytoin: parameters 2 to 5 are judged on a log scale
};

// The predicted levels at FitProblem::times for P; missing where none exists.
using LevelModel = std::function<std::vector<std::optional<double>>(const FitVector& p)>;

// The predicted levels for several P at once, each exactly as LevelModel
// gives it alone, for a model that works them out side by side for about
// the cost of one: the derivatives ask for all their steps together, and
// the search asks for its next trial steps and their derivatives ahead.
using LevelModelSets = std::function<std::vector<std::vector<std::optional<double>>>(const std::vector<FitVector>& ps)>;

// Called with 0..100 as the search goes on, 60 when it is done.
using FitProgress = std::function<void(int)>;

struct FitOutcome {
    FitVector p;
    // Missing when the final curvature matrix could not be inverted, or the
    // inverse is not finite.
    std::optional<FitMatrix> covariance;
    // The limit of 1000 iterations and rejected steps was reached, the damped
    // matrix could not be inverted, or the search could not start (a prior
    // mean of 0, a model that gives nothing at the start). The parameters are
    // the ones reached.
    bool cannotFit = false;
    int iterations = 0;     // curvature evaluations
    int rejectedSteps = 0;  // trial steps undone for raising chi-square
};

// The chi-square the search minimises, at P with the levels predicted there:
// HUGE_VAL where a prediction is missing or a residual is not finite.
double ChiSquareAt(const FitProblem& problem, const FitVector& p,
                   const std::vector<std::optional<double>>& predictions);

FitOutcome FitParameters(const FitProblem& problem, const LevelModel& model, const FitProgress& progress = {},
                         const LevelModelSets& models = {});
