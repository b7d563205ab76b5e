// The "forecast" section: steady-state levels of the product's forecast page.
#include "cli/calc_forecast.h"

#include "engine/auc24.h"
#include "engine/forecast_checks.h"
#include "engine/forecast_iv.h"
#include "engine/forecast_oral.h"
#include "records/case_record.h"

void CheckPageKeys(const Json& object, const std::string& where, std::initializer_list<const char*> used,
                   const CaseRecord& r) {
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const char* u : used) known = known || key == u;
        if (!known) Fail(where + "." + key, "is not used for \"" + r.RouteProduct + "\"");
    }
}

std::optional<double> CheckedNumber(const Json& object, const std::string& where, const char* key,
                                    const FieldCheck& problem) {
    const auto value = OptNumber(object, where, key);
    if (value)
        if (const auto message = problem(*value)) Fail(where + "." + key, *message);
    return value;
}

RegimenModel SectionModel(const CaseRecord& r) {
    // kinevo-calc has no fit set-up, so every product takes its default F.
    const double F = ForecastBioavailability(r.RouteProduct, "", "", r.CurrentSet().F, r.population.F);
    return RegimenModelOf(r, F);
}

namespace {
FieldCheck Check(ForecastField field) {
    return [field](double v) { return ForecastFieldProblem(field, v); };
}

void Intermittent(const Json& f, const CaseRecord& r, Json& result) {
    CheckPageKeys(f, "forecast", {"dose", "interval", "infusion_time", "post_time", "mic"}, r);
    IntermittentRegimen g;
    g.dose = CheckedNumber(f, "forecast", "dose", Check(ForecastField::Dose));
    g.interval = CheckedNumber(f, "forecast", "interval", Check(ForecastField::Interval));
    g.infusionTime = CheckedNumber(f, "forecast", "infusion_time", Check(ForecastField::InfusionTime));
    g.postTime = CheckedNumber(f, "forecast", "post_time", [&](double v) { return PostTimeProblem(v, g.interval); });
    g.mic = CheckedNumber(f, "forecast", "mic", Check(ForecastField::Mic));
    const RegimenModel m = SectionModel(r);
    const IntermittentLevels levels = ForecastIntermittent(m, g);
    result["peak"] = Num(levels.peak);
    result["trough"] = Num(levels.trough);
    result["post"] = Num(levels.post);
    result["average"] = Num(levels.average);
    result["post_mic"] = Num(levels.postMic);
    result["time_above_mic"] = Num(levels.timeAboveMic);
    if (levels.timeAboveMic) result["time_above_mic_label"] = levels.timeAboveMicLabel;
    result["auic"] = Num(levels.auic);
    if (levels.peak) result["auc24"] = Num(Auc24(m, *g.dose, *g.interval));
    result["message"] = levels.message;
}

void Continuous(const Json& f, const CaseRecord& r, Json& result) {
    CheckPageKeys(f, "forecast", {"rate"}, r);
    const auto rate = CheckedNumber(f, "forecast", "rate", Check(ForecastField::InfusionRate));
    const RegimenModel m = SectionModel(r);
    const ContinuousLevel level = ForecastContinuous(m, rate);
    result["average_level"] = Num(level.average);
    if (level.average) result["auc24"] = Num(Auc24Continuous(m, *rate));
    result["message"] = level.message;
}

std::vector<UnevenRow> UnevenRows(const Json& f) {
    const Json& list = f.at("uneven");
    if (!list.is_array() || list.size() > 4) Fail("forecast.uneven", "must be a list of at most 4 rows");
    std::vector<UnevenRow> rows;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = "forecast.uneven[" + std::to_string(i) + "]";
        CheckKeys(list[i], where, {"dose", "hour"});
        rows.push_back({CheckedNumber(list[i], where, "dose", Check(ForecastField::Dose)),
                        CheckedNumber(list[i], where, "hour", Check(ForecastField::Hour))});
    }
    return rows;
}

void OralOrIm(const Json& f, const CaseRecord& r, Json& result) {
    CheckPageKeys(f, "forecast", {"dose", "interval", "uneven", "level_hour"}, r);
    const RegimenModel m = SectionModel(r);
    if (f.contains("uneven")) {
        // The page keeps either the regular regimen or the uneven schedule.
        if (f.contains("dose") || f.contains("interval"))
            Fail("forecast.uneven", "give either dose and interval or uneven rows, not both");
        const auto hour = CheckedNumber(f, "forecast", "level_hour", Check(ForecastField::Hour));
        const UnevenLevels u = ForecastUneven(m, UnevenRows(f), hour, r.Drug_ID == "zz" ? r.TimeLag : 0);
        result["uneven"] = {
            {"peak", Num(u.peak)}, {"trough", Num(u.trough)}, {"average", Num(u.average)}, {"level", Num(u.level)}};
        result["message"] = u.message;
        return;
    }
    if (f.contains("level_hour")) Fail("forecast.level_hour", "belongs to the uneven schedule");
    const auto dose = CheckedNumber(f, "forecast", "dose", Check(ForecastField::Dose));
    const auto interval = CheckedNumber(f, "forecast", "interval", Check(ForecastField::Interval));
    const OralLevels levels = ForecastOral(m, dose, interval);
    result["peak"] = Num(levels.peak);
    result["trough"] = Num(levels.trough);
    result["average"] = Num(levels.average);
    if (levels.average) result["auc24"] = Num(Auc24Absorbed(m, *dose, *interval));
    result["message"] = levels.message;
}
}  // namespace

void RunForecastSection(const Json& input, const CaseRecord& r, Json& out) {
    if (!input.contains("forecast")) return;
    if (r.ModelType == 3) Fail("forecast", "phenytoin levels are forecast by the \"phenytoin\" section");
    const Json& f = ObjectField(input, "", "forecast");
    Json result = {{"peak", nullptr},
                   {"trough", nullptr},
                   {"post", nullptr},
                   {"average", nullptr},
                   {"post_mic", nullptr},
                   {"time_above_mic", nullptr},
                   {"time_above_mic_label", nullptr},
                   {"auic", nullptr},
                   {"auc24", nullptr},
                   {"average_level", nullptr},
                   {"message", ""},
                   {"uneven", {{"peak", nullptr}, {"trough", nullptr}, {"average", nullptr}, {"level", nullptr}}}};
    if (r.RouteCode == 'D') Intermittent(f, r, result);
    else if (r.RouteCode == 'O' || r.RouteCode == 'I') OralOrIm(f, r, result);
    else Continuous(f, r, result);
    out["forecast"] = result;
}
