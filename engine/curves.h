#pragma once
// The curves of the analysis graph and the rules of its two axes.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/prediction.h"

struct CaseRecord;

inline constexpr int kCurvePoints = 281;

struct TimeAxis {
    double span = 5;  // h
    double tick = 1;  // h between ticks
    int labelStep = 1;
    std::string unit = "Hours";
};
// The first row of the axis table whose span covers `neededHours`; the last
// row beyond it.
TimeAxis TimeAxisFor(double neededHours);
// The later of the last dose event + the last row's interval and the latest
// level or prediction time.
double SpanNeeded(const History& h);

struct ConcAxis {
    double top = 0;
    double tick = 0;          // top / 5
    bool oneDecimal = false;  // labels "%.1f" instead of "%d"
};
// The drug's top unless `highest` (curves and measured levels) exceeds it.
ConcAxis ConcAxisFor(double graphMax, double highest, bool lithium);

// A shaded band around a curve, at the curve's times; both sides empty when
// there is no band. A point is missing where the band cannot be computed.
struct CurveBand {
    std::vector<std::optional<double>> low, high;
    bool Empty() const { return low.empty(); }
};

struct AnalysisCurves {
    TimeAxis time;
    ConcAxis conc;
    std::vector<double> times;  // 281, from 0 to the span
    // Empty for a set with a negative F, Vd, Cl or CF; a point is missing
    // where the set gives no prediction.
    std::vector<std::optional<double>> population, leastSquares, bayes;
    CurveBand bayesBand;  // the 95 % credible band of the Bayesian curve, from AddCurveBand
};

struct CurveSets {
    ParameterSet population, leastSquares, bayes;
    bool leastSquaresUsable = true, bayesUsable = true;  // a flagged fit gets no curve
};
// The three curves (phenytoin: the Bayesian curve is the least-squares one)
// and both axes. `setDone` is called after each of the three sets. The
// prediction reach of `in` is stretched to the end of the time axis.
AnalysisCurves ComputeCurves(PredictionInput& in, const History& h, const CurveSets& sets, double graphMax,
                             bool lithium, const std::function<void()>& setDone = {});
AnalysisCurves ComputeCurves(CaseRecord& r, const std::function<void()>& setDone = {});
