// The "design" section: the regimen design of the product's regimen page.
#include "cli/calc_forecast.h"
#include "engine/auc24.h"
#include "engine/design_checks.h"
#include "engine/design_iv.h"
#include "engine/design_oral.h"
#include "records/case_record.h"

namespace {
std::optional<double> Field(const Json& d, const char* key, DesignField field) {
    return CheckedNumber(d, "design", key, [field](double v) { return DesignFieldProblem(field, v); });
}

FieldCheck PositiveCheck(const std::string& what) {
    return [what](double v) -> std::optional<std::string> {
        if (v > 0) return std::nullopt;
        return what + " must be above 0.";
    };
}

// The regimen for a target AUC24: the dose for `auc24_interval`, or the
// interval for `auc24_dose`, with its trough against `trough_limit`.
Json Auc24Section(const Json& d, const RegimenModel& m, std::optional<double> infusionTime) {
    Auc24Target t;
    t.target = CheckedNumber(d, "design", "auc24_target", PositiveCheck("Desired AUC24"));
    t.interval = CheckedNumber(d, "design", "auc24_interval", PositiveCheck("Interval"));
    t.dose = CheckedNumber(d, "design", "auc24_dose", PositiveCheck("Dose"));
    t.troughLimit = CheckedNumber(d, "design", "trough_limit", PositiveCheck("Trough limit"));
    t.infusionTime = infusionTime;
    const Auc24Design a = DesignForAuc24(m, t);
    return {{"dose", Num(a.dose)},
            {"interval", Num(a.interval)},
            {"peak", Num(a.peak)},
            {"trough", Num(a.trough)},
            {"trough_above_limit", a.troughAboveLimit},
            {"message", a.message}};
}
}  // namespace

void RunDesignSection(const Json& input, const CaseRecord& r, Json& out) {
    if (!input.contains("design")) return;
    if (r.ModelType == 3) Fail("design", "phenytoin regimens are designed by the \"phenytoin\" section");
    const Json& d = ObjectField(input, "", "design");
    const bool oralPage = r.RouteCode == 'O' || r.RouteCode == 'I';
    DesignInputs in;
    if (oralPage) {
        CheckPageKeys(d, "design", {"desired_peak", "desired_trough", "desired_average", "initial_conc", "time_drawn"},
                      r);
        in.desiredPeak = Field(d, "desired_peak", DesignField::DesiredPeak);
    } else {
        CheckPageKeys(d, "design",
                      {"desired_post", "post_time", "desired_trough", "infusion_time", "desired_average",
                       "initial_conc", "time_drawn", "loading_infusion_time", "rate_since_level", "auc24_target",
                       "auc24_interval", "auc24_dose", "trough_limit"},
                      r);
        in.desiredPost = Field(d, "desired_post", DesignField::DesiredPeak);
        in.postTime = Field(d, "post_time", DesignField::PostTime);
        in.infusionTime = Field(d, "infusion_time", DesignField::InfusionTime);
        in.loadingInfusionTime = Field(d, "loading_infusion_time", DesignField::LoadingInfusionTime);
        // The page has no check of its own for the rate since the level.
        in.rateSinceLevel = OptNumber(d, "design", "rate_since_level");
    }
    in.desiredTrough = Field(d, "desired_trough", DesignField::DesiredTrough);
    in.desiredAverage = Field(d, "desired_average", DesignField::DesiredAverage);
    in.initialConc = Field(d, "initial_conc", DesignField::InitialConc);
    in.timeDrawn = Field(d, "time_drawn", DesignField::TimeDrawn);

    const RegimenModel m = SectionModel(r);
    const RegimenDesign design = oralPage ? DesignOral(m, in) : DesignIv(m, r.RouteCode, in);
    out["design"] = {{"dose", Num(design.dose)},   {"interval", Num(design.interval)},
                     {"daily", Num(design.daily)}, {"loading_dose", Num(design.loadingDose)},
                     {"note", design.note},        {"message", design.message}};
    if (!oralPage && d.contains("auc24_target")) out["design"]["auc24"] = Auc24Section(d, m, in.infusionTime);
}
