// The chance that the regimens of a run reach their goals.
#include "cli/calc_attainment.h"

#include "cli/calc_forecast.h"
#include "engine/forecast_iv.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_forecast.h"
#include "engine/regimen_attainment.h"
#include "engine/regimen_chance.h"
#include "records/case_record.h"

namespace {
// A regimen's dose and interval and, for an intermittent infusion, its
// infusion time and time of post, as the sections read them.
struct GivenRegimen {
    std::optional<double> dose, interval, infusionTime, postTime;
};

// A number the run has written, or missing.
std::optional<double> Printed(const Json& value) {
    return value.is_number() ? std::optional(value.get<double>()) : std::nullopt;
}

Json SharesJson(const Attainment& a, const std::string& text) {
    return {{"trough", Num(a.trough)},   {"peak", Num(a.peak)}, {"post", Num(a.post)}, {"auc24", Num(a.auc24)},
            {"average", Num(a.average)}, {"all", Num(a.all)},   {"text", text}};
}

// Null without a dose and interval, or for a continuous infusion.
Json RegimenJson(const CaseRecord& r, const Posterior& posterior, const GivenRegimen& g, const RegimenGoals& goals) {
    if (!g.dose || !g.interval) return nullptr;
    const bool poor = posterior.poor;
    if (r.ModelType == 3) {
        const auto range = AdjustedRange(CurrentFreeFraction(r));
        if (!range) return nullptr;
        const TargetRange average{range->low, range->high};
        const Attainment a = PhenytoinAttainment(posterior, {g.dose, g.interval, ProductSalt(r)}, average);
        return {{"levels", SharesJson(a, AverageAttainmentText(a, average, poor))}, {"exposure", nullptr}};
    }
    GoalShares shares;
    if (r.RouteCode == 'D')
        shares =
            IntermittentShares(SectionModel(r), posterior, {g.dose, g.interval, g.infusionTime, g.postTime, {}}, goals);
    else if (r.RouteCode == 'O' || r.RouteCode == 'I')
        shares = OralShares(SectionModel(r), posterior, *g.dose, *g.interval, goals);
    else return nullptr;
    Json exposure = nullptr;
    if (shares.exposure)
        exposure = SharesJson(*shares.exposure, AttainmentText(*shares.exposure, *goals.exposure, poor));
    return {{"levels", SharesJson(shares.levels, AttainmentText(shares.levels, goals.levels, poor))},
            {"exposure", exposure}};
}

GivenRegimen Given(const Json& section, const char* where) {
    return {OptNumber(section, where, "dose"), OptNumber(section, where, "interval"),
            OptNumber(section, where, "infusion_time"), OptNumber(section, where, "post_time")};
}

RegimenGoals GoalsOf(const CaseRecord& r, std::optional<double> desiredPeak) {
    return GoalsFor(r.Drug_ID, r.TherapeuticMin, r.TherapeuticMax, desiredPeak, r.RouteCode == 'D');
}

// The design's targets: its desired post or peak, the regimen it designed.
std::optional<double> DesiredPeak(const Json& design, const CaseRecord& r) {
    return OptNumber(design, "design", r.RouteCode == 'D' ? "desired_post" : "desired_peak");
}

// The practical regimen beside the design's exact one.
Json PracticalJson(const Json& design, const GivenRegimen& exact, const CaseRecord& r, const Posterior& posterior) {
    if (r.RouteCode != 'D') return nullptr;
    const auto choice = PracticalChoiceFor(r, SectionModel(r), posterior,
                                           {exact.dose, exact.interval, exact.infusionTime, exact.postTime, {}},
                                           DesiredPeak(design, r));
    if (!choice) return nullptr;
    return {{"dose", Num(choice->regimen.dose)},
            {"interval", Num(choice->regimen.interval)},
            {"share", Num(choice->regimen.share)},
            {"text", choice->text}};
}
}  // namespace

void AddAttainment(const Json& input, const CaseRecord& r, const Posterior& posterior, Json& out) {
    Json attainment = Json::object();
    const bool phenytoin = r.ModelType == 3;
    if (input.contains("forecast") && !phenytoin)
        attainment["forecast"] = RegimenJson(r, posterior, Given(input.at("forecast"), "forecast"), GoalsOf(r, {}));
    if (input.contains("design") && !phenytoin) {
        const Json& design = input.at("design");
        GivenRegimen g = Given(design, "design");
        g.dose = Printed(out["design"]["dose"]);
        g.interval = Printed(out["design"]["interval"]);
        attainment["design"] = RegimenJson(r, posterior, g, GoalsOf(r, DesiredPeak(design, r)));
        attainment["practical"] = PracticalJson(design, g, r, posterior);
    }
    if (input.contains("phenytoin") && phenytoin) {
        const GivenRegimen g{Printed(out["phenytoin"]["daily_dose"]), 24, {}, {}};
        attainment["design"] = RegimenJson(r, posterior, g, {});
    }
    if (input.contains("results"))
        attainment["results"] = RegimenJson(r, posterior, Given(input.at("results"), "results"), GoalsOf(r, {}));
    out["posterior"]["attainment"] = attainment;
}
