#include "engine/results_predictions.h"

#include <algorithm>
#include <utility>

#include "engine/auc24.h"
#include "engine/forecast_iv.h"
#include "engine/forecast_model.h"
#include "engine/forecast_oral.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_case.h"
#include "engine/phenytoin_forecast.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
using Levels = std::vector<std::optional<double>>;

struct SetLevels {
    Levels values;
    std::string message;
};

// Phenytoin levels beyond this are no forecast a pharmacist could use.
constexpr double kPhenytoinLevelLimit = 5000;

std::optional<double> PhenytoinShown(const std::optional<double>& value) {
    if (!value || *value < 0 || *value > kPhenytoinLevelLimit) return std::nullopt;
    return value;
}

std::pair<PhenytoinDoseLine, PhenytoinDoseLine> PhenytoinLines(const CaseRecord& r, const ResultsRegimen& g) {
    const double salt2 = SecondRegimenSalt(FormNameOf(r.FitRouteProduct2));
    return {{g.dose, g.interval, ProductSalt(r)}, {g.dose2, g.interval2, salt2}};
}

SetLevels PhenytoinLevelsOf(const CaseRecord& r, const ResultsRegimen& g, const ParameterSet& set) {
    const auto [first, second] = PhenytoinLines(r, g);
    const PhenytoinLevels l =
        ForecastPhenytoin({set.Vd, set.Km, set.Vm}, ResultsF(r, set), CurrentFreeFraction(r), first, second);
    return {{PhenytoinShown(l.observed), PhenytoinShown(l.adjusted), PhenytoinShown(l.t90Days)}, l.message};
}

SetLevels LevelsOf(const CaseRecord& r, ResultsLayout layout, const ResultsRegimen& g, const ParameterSet& set) {
    if (layout == ResultsLayout::Phenytoin) return PhenytoinLevelsOf(r, g, set);
    RegimenModel m = RegimenModelOf(r, ResultsF(r, set));
    m.Vd = set.Vd;
    m.Cl = set.Cl;
    m.CF = set.CF;
    switch (layout) {
        case ResultsLayout::OralOrIm: {
            const OralLevels l = ForecastOral(m, g.dose, g.interval);
            return {{l.peak, l.trough, l.average}, l.message};
        }
        case ResultsLayout::Continuous: {
            const ContinuousLevel l = ForecastContinuous(m, g.rate);
            return {{l.average, l.average ? Auc24Continuous(m, *g.rate) : std::nullopt}, l.message};
        }
        case ResultsLayout::Intermittent: {
            const IntermittentLevels l =
                ForecastIntermittent(m, {g.dose, g.interval, g.infusionTime, g.postTime, std::nullopt});
            const auto auc24 = l.peak ? Auc24(m, *g.dose, *g.interval) : std::nullopt;
            return {{l.peak, l.trough, l.post, l.average, auc24}, l.message};
        }
        default: return {};
    }
}

// Every fitted parameter spreads into the 95 % ranges, Vm too for phenytoin.
int FittedCount(const CaseRecord& r) { return r.ModelType == 3 ? 5 : 4; }

// The daily dose against the larger Vmax, taken in with the smaller F of the
// population and Bayesian sets (the free fraction plays no part in it): the
// Vmax message when it reaches it.
std::optional<std::string> VmaxMessage(const CaseRecord& r, const ResultsRegimen& g) {
    const auto [first, second] = PhenytoinLines(r, g);
    const double F = std::min(ResultsF(r, r.population), ResultsF(r, r.bayes));
    const double vm = std::max(r.population.Vm, r.bayes.Vm);
    const PhenytoinLevels l = ForecastPhenytoin({r.population.Vd, r.population.Km, vm}, F, 0.1, first, second);
    if (l.message != "Daily Dosage is greater than Vmax.") return std::nullopt;
    return l.message;
}
}  // namespace

ResultsLayout LayoutOf(const CaseRecord& r) {
    if (r.ModelType == 3) return ResultsLayout::Phenytoin;
    switch (r.RouteCode) {
        case 'O':
        case 'I': return ResultsLayout::OralOrIm;
        case 'C': return ResultsLayout::Continuous;
        case 'D': return ResultsLayout::Intermittent;
        default: return ResultsLayout::None;
    }
}

std::vector<std::string> PredictionNames(ResultsLayout layout, const std::string& drug) {
    const bool auc24 = HasAuc24(drug);
    switch (layout) {
        case ResultsLayout::OralOrIm: return {"peak", "trough", "average"};
        case ResultsLayout::Continuous:
            return auc24 ? std::vector<std::string>{"average", "auc24"} : std::vector<std::string>{"average"};
        case ResultsLayout::Intermittent:
            if (auc24) return {"peak", "trough", "post", "average", "auc24"};
            return {"peak", "trough", "post", "average"};
        case ResultsLayout::Phenytoin: return {"average", "adjusted", "t90"};
        default: return {};
    }
}

ResultsPredictions PredictSteadyState(const CaseRecord& r, const ResultsRegimen& regimen) {
    ResultsPredictions out;
    const ResultsLayout layout = LayoutOf(r);
    if (layout == ResultsLayout::Phenytoin)
        if (auto vmax = VmaxMessage(r, regimen)) {
            out.vmaxReached = true;
            out.message = std::move(*vmax);
            return out;
        }
    const std::vector<std::string> names = PredictionNames(layout, r.Drug_ID);
    const ParameterSet* sets[] = {&r.population, &r.leastSquares, &r.bayes};
    const FitRange* ranges[] = {&r.leastSquaresRange, &r.bayesRange};
    // A flagged fitted set gives no levels.
    std::array<SetLevels, 3> levels;
    for (int s = 0; s < 3; ++s)
        if (s == 0 || ranges[s - 1]->Usable()) levels[s] = LevelsOf(r, layout, regimen, *sets[s]);
    out.message = levels[0].message;
    for (std::size_t i = 0; i < names.size(); ++i) {
        PredictionRow row{names[i], {}, {}};
        for (int s = 0; s < 3; ++s)
            if (i < levels[s].values.size()) row.value[s] = levels[s].values[i];
        const SetPrediction predict = [&](const ParameterSet& set) {
            const Levels values = LevelsOf(r, layout, regimen, set).values;
            return i < values.size() ? values[i] : std::nullopt;
        };
        for (int f = 0; f < 2; ++f)
            if (row.value[f + 1] && ranges[f]->covariance)
                row.range[f] = PredictionInterval(predict, *sets[f + 1], *ranges[f]->covariance, FittedCount(r));
        out.rows.push_back(row);
    }
    return out;
}

double ResultsF(const CaseRecord& r, const ParameterSet& set) {
    const bool whole = r.RouteCode == 'I' || (r.ModelType == 3 && TakenWhole(r));
    return whole ? 1.0 : set.F;
}

std::optional<std::string> ResultsRateProblem(double rate) {
    if (rate < 0) return "Rate cannot be negative.";
    return std::nullopt;
}

bool SingleFit(const CaseRecord& r) { return r.ModelType == 3 || r.history.measuredCount < 2; }
