#include "cli/calc.h"

#include <new>

#include "cli/calc_attainment.h"
#include "cli/calc_forecast.h"
#include "cli/calc_history.h"
#include "cli/calc_results.h"
#include "fhir/json_input.h"
#include "records/calendar.h"
#include "records/case_record.h"

namespace {
double NowOf(const Json& input, double systemNow) {
    const auto today = OptText(input, "", "today");
    if (!today) return systemNow;
    const auto date = ParseIsoDate(*today);
    if (!date) Fail("today", "must be a date YYYY-MM-DD");
    // A moment inside the day: rounded up it is the next day, down that day.
    return DayNumber(*date) + 0.5;
}
}  // namespace

Json RunCalc(const Json& input, double systemNow) {
    CheckKeys(input, "",
              {"today", "patient", "drug", "factors", "route_product", "parameters", "history", "curves", "posterior",
               "user_drug", "forecast", "design", "phenytoin", "results"});
    const double now = NowOf(input, systemNow);
    CaseRecord r;
    ReadCase(input, now, r);
    Json out = Json::object();
    WriteCase(r, out);
    RunForecastSection(input, r, out);
    RunDesignSection(input, r, out);
    RunPhenytoinSection(input, r, out);
    const std::optional<Posterior> posterior = RunHistorySection(input, r, out);
    RunResultsSection(input, r, out);
    if (posterior) AddAttainment(input, r, *posterior, out);
    return out;
}

CalcOutcome RunCalcText(const std::string& text, double systemNow) noexcept {
    try {
        return {0, RunCalc(ParseInput(text), systemNow).dump(2) + "\n", {}};
    } catch (const BadInput& e) {
        return {2, {}, e.what()};
    } catch (const std::bad_alloc&) {
        return {2, {}, "kinevo-calc: out of memory", true};
    } catch (const std::exception& e) {
        return {2, {}, "kinevo-calc: internal error: " + OneLine(e.what()), true};
    } catch (...) {
        return {2, {}, "kinevo-calc: internal error", true};
    }
}
