// The history, fits and curves parts of a run.
#include "cli/calc_history.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "cli/calc_posterior.h"
#include "engine/analysis_fits.h"
#include "engine/curves.h"
#include "engine/dose_expansion.h"
#include "engine/history_rows.h"
#include "engine/user_drug.h"
#include "fhir/case_input.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
std::string Item(const std::string& list, std::size_t i) { return list + "[" + std::to_string(i) + "]"; }

// The fit set-up page's lists: the drug's route-products, a second one only
// for the drugs whose page offers a second list.
std::vector<std::string> ReadFitRouteProducts(const Json& history, const CaseRecord& r) {
    if (!history.contains("route_products")) return {};
    const Json& list = history.at("route_products");
    const std::string where = "history.route_products";
    if (!list.is_array() || list.empty() || list.size() > 2) Fail(where, "must be a list of one or two route-products");
    const bool second = r.Drug_ID == "th" || r.Drug_ID == "qd" || r.Drug_ID == "ph";
    if (list.size() == 2 && !second)
        Fail(where, "a second route-product is offered only for theophylline, quinidine and phenytoin");
    const auto offered = r.Drug_ID == "zz" ? UserDrugRouteProducts(r.userDrug) : RouteProductsOf(r.Drug_ID);
    std::vector<std::string> products;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list[i].is_string()) Fail(Item(where, i), "must be a route-product text");
        const std::string product = list[i].get<std::string>();
        if (std::find(offered.begin(), offered.end(), product) == offered.end())
            Fail(Item(where, i), Quoted(product) + " is not offered for " + DrugNameOf(r.Drug_ID));
        products.push_back(product);
    }
    return products;
}

void ReadHistory(const Json& input, CaseRecord& r) {
    const Json& h = ObjectField(input, "", "history");
    CheckKeys(h, "history", {"doses", "levels", "route_products"});
    // An F given with the parameters is the user's edit after the products.
    const double givenF = r.population.F;
    ApplyFitRouteProducts(r, ReadFitRouteProducts(h, r));
    if (input.contains("parameters") && input.at("parameters").contains("F")) r.population.F = givenF;
    ReadHistoryRows(h, r);
    // The page stops counting at such a row; here it is refused, not dropped.
    const auto counted = static_cast<std::size_t>(CountedLevelRows(r.history.levelRows));
    if (counted < r.history.levelRows.size())
        Fail(Item("history.levels", counted), "a measured level after a prediction row (-1) would not be counted");
    // Without either there is no time zero to count from and nothing to fit.
    const bool measured = std::any_of(r.history.levelRows.begin(), r.history.levelRows.end(),
                                      [](const LevelRow& l) { return l.level >= 0; });
    if (r.history.doseRows.empty() && !measured) Fail("history", "needs a dose row or a measured level");
    if (auto message = AcceptHistory(r)) {
        for (char& c : *message)
            if (c == '\n') c = ' ';
        Fail("history", *message);
    }
}

// "YYYY-MM-DD HH:MM" of a moment in absolute hours.
std::string TimeZeroText(double hours) { return IsoDateTime(hours / 24).substr(0, 16); }

// `F` is the population F the fits start from for doses by mouth; no other
// dose is scaled by F.
Json HistoryJson(const History& h, double F) {
    Json events = Json::array();
    for (const DoseEvent& e : h.events)
        events.push_back({{"time", Num(e.time)},
                          {"amount", Num(e.amount)},
                          {"route", e.route},
                          {"outpatient", e.outpatient},
                          {"infusion_time", Num(e.infusionTime)},
                          {"rate", Num(e.rate)},
                          {"salt", Num(e.salt)},
                          {"F", Num(e.route == kEventOral ? F : 1.0)},
                          {"ka", Num(e.ka)}});
    Json levels = Json::array();
    for (const LevelPoint& l : h.levels)
        levels.push_back({{"time", Num(l.time)},
                          {"observed", Num(l.observed)},
                          {"population", Num(l.population)},
                          {"least_squares", Num(l.leastSquares)},
                          {"bayes", Num(l.bayes)}});
    return {
        {"time_zero", TimeZeroText(h.timeZero)}, {"events", events}, {"levels", levels}, {"messages", Json::array()}};
}

using Bound = std::array<std::optional<double>, kMaxFitParameters>;

Json Bounds(const Bound& b, bool phenytoin) {
    return {{"F", Num(b[0])},
            {"Vd", Num(b[1])},
            {"Cl", Num(b[2])},
            {"CF", Num(b[3])},
            {"Km", phenytoin ? Num(b[2]) : Json(nullptr)},
            {"Vm", phenytoin ? Num(b[4]) : Json(nullptr)}};
}

// One standard deviation of each parameter: half the bounds' distance.
Bound StandardDeviations(const FitRange& range) {
    Bound sd;
    for (int j = 0; j < kMaxFitParameters; ++j)
        if (range.lower[j] && range.upper[j]) sd[j] = (*range.upper[j] - *range.lower[j]) / 2;
    return sd;
}

// A flagged set gives the flag in place of its numbers, as the pages do.
Json SetJson(const ParameterSet& s, const FitRange& range, bool fitted, bool phenytoin) {
    const bool shown = fitted && range.Usable();
    const Bound none{};
    return {{"F", NumIf(shown, s.F)},
            {"Vd", NumIf(shown, s.Vd)},
            {"Cl", NumIf(shown, s.Cl)},
            {"CF", NumIf(shown, s.CF)},
            {"Km", NumIf(shown && phenytoin, s.Km)},
            {"Vm", NumIf(shown && phenytoin, s.Vm)},
            {"lower", Bounds(shown ? range.lower : none, phenytoin)},
            {"upper", Bounds(shown ? range.upper : none, phenytoin)},
            {"sd", Bounds(shown ? StandardDeviations(range) : none, phenytoin)},
            {"usable", shown},
            {"flag", fitted && !range.Usable() ? Json(range.flag) : Json(nullptr)},
            {"caution", shown && !range.caution.empty() ? Json(range.caution) : Json(nullptr)}};
}

Json CurveJson(const std::vector<std::optional<double>>& curve) {
    Json values = Json::array();
    for (const auto& c : curve) values.push_back(Num(c));
    return values;
}

Json CurvesJson(const AnalysisCurves& c) {
    return {{"span_hours", Num(c.time.span)},
            {"tick_hours", Num(c.time.tick)},
            {"label_step", c.time.labelStep},
            {"unit", c.time.unit},
            {"conc_top", Num(c.conc.top)},
            {"times", c.times},
            {"population", CurveJson(c.population)},
            {"least_squares", CurveJson(c.leastSquares)},
            {"bayes", CurveJson(c.bayes)}};
}

// An output section asked for with true or false; it needs a history.
bool Asked(const Json& input, const char* key) {
    if (!input.contains(key)) return false;
    if (!input.at(key).is_boolean()) Fail(key, "must be true or false");
    if (!input.contains("history")) Fail(key, "needs a history");
    return input.at(key).get<bool>();
}
}  // namespace

std::optional<Posterior> RunHistorySection(const Json& input, CaseRecord& r, Json& out) {
    const bool curves = Asked(input, "curves");
    const bool posterior = Asked(input, "posterior");
    if (!input.contains("history")) return std::nullopt;
    ReadHistory(input, r);
    AnalysisFits fits = RunAnalysisFits(r);
    for (std::string& message : FillLevelPredictions(r)) fits.messages.push_back(std::move(message));
    const bool phenytoin = r.ModelType == 3;
    out["history"] = HistoryJson(r.history, r.population.F);
    out["fits"] = {{"least_squares", SetJson(r.leastSquares, r.leastSquaresRange, fits.fitted, phenytoin)},
                   {"bayes", SetJson(r.bayes, r.bayesRange, fits.fitted, phenytoin)},
                   {"messages", fits.messages}};
    // Sampling costs far more than the fits: only when asked for.
    std::optional<Posterior> drawn;
    if (posterior) {
        if (fits.fitted) drawn = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        out["posterior"] = PosteriorJson(drawn, phenytoin);
    }
    if (curves) out["curves"] = CurvesJson(ComputeCurves(r));
    return drawn;
}
