#include "engine/curves.h"

#include <algorithm>
#include <cmath>

#include "records/case_record.h"

namespace {
struct AxisRow {
    double span, tick;
    int labelStep;
    const char* unit;
};

constexpr AxisRow kAxisRows[] = {
    {5, 1, 1, "Hours"},      {10, 2, 2, "Hours"},     {20, 4, 4, "Hours"},     {30, 6, 6, "Hours"},
    {40, 8, 8, "Hours"},     {60, 12, 12, "Hours"},   {120, 24, 1, "Days"},    {240, 48, 2, "Days"},
    {360, 72, 3, "Days"},    {480, 96, 4, "Days"},    {600, 120, 5, "Days"},   {720, 144, 6, "Days"},
    {840, 168, 1, "Weeks"},  {1680, 336, 2, "Weeks"}, {2520, 504, 3, "Weeks"}, {3360, 672, 4, "Weeks"},
    {4200, 840, 5, "Weeks"},
};

bool CurveAllowed(const ParameterSet& s) { return s.F >= 0 && s.Vd >= 0 && s.Cl >= 0 && s.CF >= 0; }

void Raise(double& highest, const std::vector<std::optional<double>>& curve) {
    for (const auto& c : curve)
        if (c) highest = std::max(highest, *c);
}
}  // namespace

TimeAxis TimeAxisFor(double neededHours) {
    const AxisRow* row = &kAxisRows[std::size(kAxisRows) - 1];
    for (const AxisRow& r : kAxisRows) {
        if (neededHours <= r.span) {
            row = &r;
            break;
        }
    }
    return {row->span, row->tick, row->labelStep, row->unit};
}

double SpanNeeded(const History& h) {
    double needed = (h.events.empty() ? 0 : h.events.back().time) + h.lastDoseInterval;
    for (const LevelPoint& level : h.levels) needed = std::max(needed, level.time);
    return needed;
}

ConcAxis ConcAxisFor(double graphMax, double highest, bool lithium) {
    double top = graphMax;
    if (highest > graphMax) {
        const double headroom = highest + 2;
        if (std::round(headroom) <= 4) {
            top = std::round(headroom * 2) / 2;
            if (top < highest) top += 0.5;
        } else {
            top = std::round(headroom);
            const double remainder = std::fmod(top, 5);
            if (remainder == 1 || remainder == 2) top -= remainder;
            if (remainder == 3 || remainder == 4) top += 5 - remainder;
            // Cutting the remainder must not put the highest value off the axis.
            if (top < highest) top += 5;
        }
    }
    if (!(top > 0)) top = 5;  // a drug without a graph top and nothing to show
    return {top, top / 5, lithium || top / 5 < 1};
}

AnalysisCurves ComputeCurves(PredictionInput& in, const History& h, const CurveSets& sets, double graphMax,
                             bool lithium, const std::function<void()>& setDone) {
    const auto done = [&] {
        if (setDone) setDone();
    };
    AnalysisCurves out;
    out.time = TimeAxisFor(SpanNeeded(h));
    // The phenytoin grid ends with the history; the curve goes on to the end
    // of the axis at the same step rate instead of holding the last value.
    in.predictionReach = std::max(in.predictionReach, out.time.span);
    const double step = out.time.span / (kCurvePoints - 1);
    for (int i = 0; i < kCurvePoints; ++i) out.times.push_back(i * step);
    const auto curve = [&](const ParameterSet& s, bool usable = true) {
        return usable && CurveAllowed(s) ? PredictConcentrations(in, s, out.times)
                                         : std::vector<std::optional<double>>{};
    };
    out.population = curve(sets.population);
    done();
    out.leastSquares = curve(sets.leastSquares, sets.leastSquaresUsable);
    done();
    out.bayes = in.modelType == 3 ? out.leastSquares : curve(sets.bayes, sets.bayesUsable);
    done();

    double highest = 0;
    for (int i = 0; i < h.measuredCount; ++i) highest = std::max(highest, h.levels[i].observed);
    Raise(highest, out.population);
    Raise(highest, out.leastSquares);
    Raise(highest, out.bayes);
    out.conc = ConcAxisFor(graphMax, highest, lithium);
    return out;
}

AnalysisCurves ComputeCurves(CaseRecord& r, const std::function<void()>& setDone) {
    PredictionInput in = PredictionInputOf(r);
    const CurveSets sets{r.population, r.leastSquares, r.bayes, r.leastSquaresRange.Usable(), r.bayesRange.Usable()};
    AnalysisCurves curves = ComputeCurves(in, r.history, sets, r.GraphMax, r.Drug_ID == "li", setDone);
    r.history.events = std::move(in.events);
    return curves;
}
