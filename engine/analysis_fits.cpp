#include "engine/analysis_fits.h"

#include <algorithm>
#include <cmath>

#include "engine/fit_checks.h"
#include "engine/forecast_inputs.h"
#include "records/case_record.h"

namespace {
int ParameterCount(bool phenytoin) { return phenytoin ? 5 : 4; }

std::vector<double> MeasuredTimes(const History& h) {
    std::vector<double> times;
    for (int i = 0; i < h.measuredCount; ++i) times.push_back(h.levels[i].time);
    return times;
}

FitProblem ProblemOf(const History& h, const AnalysisSetup& s, double fixedError, double proportionalError) {
    FitProblem problem;
    problem.times = MeasuredTimes(h);
    for (int i = 0; i < h.measuredCount; ++i) problem.observed.push_back(h.levels[i].observed);
    problem.lastLevelTime = h.lastLevelTime;
    problem.timeWeight = s.timeWeight;
    problem.fixedError = fixedError;
    problem.proportionalError = proportionalError;
    problem.priorMeans = FitVectorOf(s.initial, s.phenytoin);
    problem.relativeSd.assign(s.relativeSd.begin(), s.relativeSd.begin() + ParameterCount(s.phenytoin));
    problem.logPriors = s.phenytoin;
    return problem;
}

struct Stored {
    ParameterSet set;
    FitRange range;
};

// A fit that ran away (say to Vd = 1e11 L) has no patient behind it: every
// value must be finite, above 0 and within a factor 100 of its prior mean, a
// two-compartment set must still describe that model, and the measured
// levels must be predicted as levels (finite, not below 0).
bool Plausible(const FitVector& values, const History& h, const AnalysisSetup& s, PredictionInput& in) {
    if (!WithinPriorFactor(values, FitVectorOf(s.initial, s.phenytoin))) return false;
    if (in.modelType == 2 && TwoCompartmentProblem(values[1], values[2], in.vc, in.k21)) return false;
    const auto predictions =
        PredictConcentrations(in, SetOfFitVector(values, s.initial, s.phenytoin), MeasuredTimes(h));
    return std::all_of(predictions.begin(), predictions.end(), [](const auto& c) { return c && *c >= 0; });
}

// The fitted set as the record keeps it, with bounds one standard deviation
// either side of each stored value, and its flag or caution. The messages
// for it go to `messages`, led by `fitName`.
Stored Store(const FitOutcome& fit, const History& h, const AnalysisSetup& s, PredictionInput& in,
             const std::string& fitName, std::vector<std::string>& messages) {
    const std::array<bool, kMaxFitParameters> held = HeldParameters(in, h);
    const bool fHeld = held[0];
    const bool cfHeld = held[3];
    FitVector values = fit.p;
    if (fHeld) values[0] = s.initial.F;
    if (cfHeld) values[3] = s.initial.CF;
    Stored out{SetOfFitVector(values, s.initial, s.phenytoin), {}};
    if (fit.cannotFit) {
        out.range.flag = kFlagNotConverged;
    } else if (!Plausible(values, h, s, in)) {
        out.range.flag = kFlagNotPlausible;
        messages.push_back(fitName + " did not converge to plausible parameters.");
    } else {
        const AboveFull above = AboveFullCheck(fitName, out.set, fHeld, cfHeld);
        out.range.flag = above.flag;
        out.range.caution = above.caution;
        if (!above.message.empty()) messages.push_back(above.message);
    }
    out.range.covariance = fit.covariance;
    if (!fit.covariance) return out;
    // A parameter no prediction depends on was not estimated: it keeps its
    // initial value, has no spread and lends none to the predictions.
    FitMatrix& covariance = *out.range.covariance;
    for (int j = 0; j < kMaxFitParameters; ++j)
        if (held[j])
            for (int k = 0; k < kMaxFitParameters; ++k) covariance[j][k] = covariance[k][j] = 0;
    for (std::size_t j = 0; j < values.size(); ++j) {
        if (held[j]) continue;
        const double variance = covariance[j][j];
        if (!(variance >= 0)) continue;
        out.range.lower[j] = values[j] - std::sqrt(variance);
        out.range.upper[j] = values[j] + std::sqrt(variance);
    }
    return out;
}

// Why a fit cannot start: constants that describe no two-compartment model,
// or levels that no dose reaches, which carry nothing to fit (the search
// would hand back its start as if it agreed with them).
std::optional<std::string> StartProblem(const PredictionInput& in, const AnalysisSetup& s, const FitProblem& first,
                                        const LevelModel& model) {
    if (in.modelType == 2)
        if (auto problem = TwoCompartmentProblem(s.initial.Vd, s.initial.Cl, in.vc, in.k21)) return problem;
    if (first.times.empty()) return std::nullopt;
    const auto start = model(first.priorMeans);
    if (std::none_of(start.begin(), start.end(), [](const auto& c) { return c && *c != 0; }))
        return "Cannot Fit Data: the starting parameters predict no drug at any measured level.";
    return std::nullopt;
}
}  // namespace

FitVector FitVectorOf(const ParameterSet& s, bool phenytoin) {
    FitVector p = {s.F, s.Vd, s.Cl, s.CF};
    if (phenytoin) p.push_back(s.Vm);
    return p;
}

ParameterSet SetOfFitVector(const FitVector& p, const ParameterSet& initial, bool phenytoin) {
    ParameterSet s = initial;
    s.F = p[0];
    s.Vd = p[1];
    s.Cl = p[2];
    s.CF = p[3];
    if (phenytoin) {
        s.Km = p[2];
        s.Vm = p[4];
    }
    return s;
}

FitProblem BayesProblemOf(const History& h, const AnalysisSetup& s) {
    return ProblemOf(h, s, s.fixedError, s.proportionalError);
}

bool WithinPriorFactor(const FitVector& values, const FitVector& priors) {
    for (std::size_t j = 0; j < values.size(); ++j) {
        const double v = values[j];
        if (!std::isfinite(v) || !(v > 0) || v > 100 * priors[j] || v < priors[j] / 100) return false;
    }
    return true;
}

// F acts on oral doses only, and not at all in the two-compartment model;
// CF on the outpatient doses before the first inpatient one.
std::array<bool, kMaxFitParameters> HeldParameters(const PredictionInput& in, const History& h) {
    const bool fActs = in.modelType != 2 && std::any_of(h.events.begin(), h.events.end(),
                                                        [](const DoseEvent& e) { return e.route == kEventOral; });
    const bool cfActs = !h.events.empty() && h.events.front().outpatient != 0;
    return {!fActs, false, false, !cfActs, false};
}

AnalysisSetup AnalysisSetupOf(const CaseRecord& r) {
    AnalysisSetup s;
    s.initial = r.population;
    s.relativeSd = {r.Init_f_sd, r.init_vd_sd, r.init_cl_sd, r.init_cf_sd, r.init_vm_sd};
    s.fixedError = r.Fixed_err;
    s.proportionalError = r.Var_err;
    s.timeWeight = r.Time_wt;
    s.phenytoin = r.ModelType == 3;
    return s;
}

AnalysisFits RunAnalysisFits(PredictionInput& in, const History& h, const AnalysisSetup& s,
                             const FitProgress& progress) {
    AnalysisFits out;
    const std::vector<double> times = MeasuredTimes(h);
    const LevelModel model = [&](const FitVector& p) {
        return PredictConcentrations(in, SetOfFitVector(p, s.initial, s.phenytoin), times);
    };
    // Only the phenytoin model steps sets side by side; the closed forms
    // cost as much per set together as alone.
    LevelModelSets models;
    if (in.modelType == 3 && !in.passPerTime)
        models = [&](const std::vector<FitVector>& ps) {
            std::vector<ParameterSet> sets;
            for (const FitVector& p : ps) sets.push_back(SetOfFitVector(p, s.initial, s.phenytoin));
            return PredictConcentrationSets(in, sets, times);
        };
    const bool twoFits = h.measuredCount >= 2 && !s.phenytoin;
    const FitProblem first = twoFits ? ProblemOf(h, s, 0, 0.01) : ProblemOf(h, s, s.fixedError, s.proportionalError);
    out.fitted = std::all_of(first.priorMeans.begin(), first.priorMeans.end(), [](double m) { return m > 0; });
    if (const auto problem = out.fitted ? StartProblem(in, s, first, model) : std::nullopt) {
        out.messages.push_back(*problem);
        out.fitted = false;
        return out;
    }
    FitOutcome fit = FitParameters(first, model, progress, models);
    if (fit.cannotFit) out.messages.push_back("Cannot Fit Data");
    if (!out.fitted) return out;
    const Stored leastSquares = Store(fit, h, s, in, twoFits ? "Least-squares fit" : "Fit", out.messages);
    out.leastSquares = leastSquares.set;
    out.leastSquaresRange = leastSquares.range;
    if (!twoFits) {
        out.bayes = out.leastSquares;
        out.bayesRange = out.leastSquaresRange;
        return out;
    }
    fit = FitParameters(BayesProblemOf(h, s), model, progress, models);
    if (fit.cannotFit) out.messages.push_back("Cannot Fit Data");
    const Stored bayes = Store(fit, h, s, in, "Bayesian fit", out.messages);
    out.bayes = bayes.set;
    out.bayesRange = bayes.range;
    return out;
}

AnalysisFits RunAnalysisFits(CaseRecord& r, const FitProgress& progress) {
    PredictionInput in = PredictionInputOf(r);
    AnalysisFits fits = RunAnalysisFits(in, r.history, AnalysisSetupOf(r), progress);
    r.history.events = std::move(in.events);
    r.leastSquares = fits.leastSquares;
    r.bayes = fits.bayes;
    r.leastSquaresRange = fits.leastSquaresRange;
    r.bayesRange = fits.bayesRange;
    return fits;
}

std::vector<std::string> FillLevelPredictions(PredictionInput& in, std::vector<LevelPoint>& levels,
                                              const ParameterSet& population, const ParameterSet* leastSquares,
                                              const ParameterSet* bayes) {
    std::vector<double> times;
    for (const LevelPoint& level : levels) times.push_back(level.time);
    std::vector<std::string> messages;
    const auto fill = [&](const ParameterSet* set, std::optional<double> LevelPoint::*column, const char* name) {
        const auto predictions =
            set ? PredictConcentrations(in, *set, times) : std::vector<std::optional<double>>(times.size());
        bool negative = false;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            negative = negative || (predictions[i] && *predictions[i] < 0);
            levels[i].*column = predictions[i] && *predictions[i] >= 0 ? predictions[i] : std::nullopt;
        }
        if (negative) messages.push_back(std::string(name) + " predictions below 0 are not shown.");
    };
    fill(&population, &LevelPoint::population, "Population");
    fill(leastSquares, &LevelPoint::leastSquares, "Least-squares");
    fill(bayes, &LevelPoint::bayes, "Bayesian");
    return messages;
}

std::vector<std::string> FillLevelPredictions(CaseRecord& r) {
    PredictionInput in = PredictionInputOf(r);
    auto messages = FillLevelPredictions(in, r.history.levels, r.population,
                                         r.leastSquaresRange.Usable() ? &r.leastSquares : nullptr,
                                         r.bayesRange.Usable() ? &r.bayes : nullptr);
    r.history.events = std::move(in.events);
    return messages;
}
