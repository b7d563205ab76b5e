// The "results" section: the detailed results page's steady-state levels.
#include "cli/calc_results.h"

#include "cli/calc_forecast.h"
#include "engine/forecast_checks.h"
#include "engine/results_predictions.h"
#include "records/case_record.h"

namespace {
// The regimen fields the page shows for the case's product; kinevo-calc
// chooses no second fit product, so phenytoin takes one regimen.
void CheckResultsKeys(const Json& g, ResultsLayout layout, const CaseRecord& r) {
    switch (layout) {
        case ResultsLayout::Continuous: return CheckPageKeys(g, "results", {"rate"}, r);
        case ResultsLayout::Intermittent:
            return CheckPageKeys(g, "results", {"dose", "interval", "infusion_time", "post_time"}, r);
        default: return CheckPageKeys(g, "results", {"dose", "interval"}, r);
    }
}

ResultsRegimen ReadRegimen(const Json& g, const CaseRecord& r) {
    CheckResultsKeys(g, LayoutOf(r), r);
    const auto check = [](ForecastField field) { return [field](double v) { return ForecastFieldProblem(field, v); }; };
    ResultsRegimen regimen;
    regimen.dose = CheckedNumber(g, "results", "dose", check(ForecastField::Dose));
    regimen.interval = CheckedNumber(g, "results", "interval", check(ForecastField::Interval));
    regimen.infusionTime = CheckedNumber(g, "results", "infusion_time", check(ForecastField::InfusionTime));
    regimen.postTime =
        CheckedNumber(g, "results", "post_time", [&](double v) { return PostTimeProblem(v, regimen.interval); });
    regimen.rate = CheckedNumber(g, "results", "rate", ResultsRateProblem);
    return regimen;
}

Json RangeJson(const std::optional<PredictionRange>& range) {
    if (!range) return nullptr;
    return {{"low", Num(range->low)}, {"high", Num(range->high)}};
}
}  // namespace

void RunResultsSection(const Json& input, const CaseRecord& r, Json& out) {
    if (!input.contains("results")) return;
    if (!input.contains("history")) Fail("results", "needs a history");
    const ResultsPredictions p = PredictSteadyState(r, ReadRegimen(ObjectField(input, "", "results"), r));
    Json levels = Json::object();
    for (const PredictionRow& row : p.rows)
        levels[row.name] = {{"population", Num(row.value[0])},
                            {"least_squares", Num(row.value[1])},
                            {"bayes", Num(row.value[2])},
                            {"least_squares_range", RangeJson(row.range[0])},
                            {"bayes_range", RangeJson(row.range[1])}};
    out["results"] = {{"levels", levels}, {"message", p.message}};
}
