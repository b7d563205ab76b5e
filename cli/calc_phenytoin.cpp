// The "phenytoin" section: the phenytoin regimen and level forecast pages.
#include <algorithm>

#include "cli/calc_forecast.h"
#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_case.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
// Dose and interval of one regimen; the first regimen's product is the case's.
PhenytoinDoseLine ReadLine(const Json& line, std::size_t i, const CaseRecord& r) {
    const std::string where = "phenytoin.regimens[" + std::to_string(i) + "]";
    CheckKeys(line, where, {"route_product", "dose", "interval"});
    const auto product = OptText(line, where, "route_product");
    PhenytoinDoseLine out;
    if (i == 0) {
        if (product && *product != r.RouteProduct)
            Fail(where + ".route_product", "must be the case's route_product \"" + r.RouteProduct + "\"");
        out.salt = ProductSalt(r);
    } else {
        const std::string second = product.value_or(DefaultRouteProduct("PH"));
        const auto list = RouteProductsOf("PH");
        if (std::find(list.begin(), list.end(), second) == list.end())
            Fail(where + ".route_product", Quoted(second) + " is not offered for Phenytoin");
        out.salt = SecondRegimenSalt(FormNameOf(second));
    }
    out.dose = OptNumber(line, where, "dose");
    out.interval = CheckedNumber(line, where, "interval", PhenytoinIntervalProblem);
    return out;
}
}  // namespace

void RunPhenytoinSection(const Json& input, const CaseRecord& r, Json& out) {
    if (!input.contains("phenytoin")) return;
    if (r.ModelType != 3) Fail("phenytoin", "is only for drug PH");
    const Json& p = ObjectField(input, "", "phenytoin");
    CheckKeys(p, "phenytoin", {"desired_average", "current_conc", "regimens"});
    const PhenytoinParameters params = PhenytoinParametersOf(r);
    // kinevo-calc chooses no fit products, so a product not taken whole has the population F.
    const double F = ProductBioavailability(r);
    const double salt = ProductSalt(r);
    const double fu = CurrentFreeFraction(r);

    const PhenytoinDesign design = DesignPhenytoin(params, salt, F, OptNumber(p, "phenytoin", "desired_average"),
                                                   OptNumber(p, "phenytoin", "current_conc"));
    PhenytoinDoseLine lines[2];
    if (p.contains("regimens")) {
        const Json& list = p.at("regimens");
        if (!list.is_array() || list.size() > 2) Fail("phenytoin.regimens", "must be a list of at most 2 regimens");
        for (std::size_t i = 0; i < list.size(); ++i) lines[i] = ReadLine(list[i], i, r);
    }
    const PhenytoinLevels levels = ForecastPhenytoin(params, F, fu, lines[0], lines[1]);
    const auto range = AdjustedRange(fu);
    out["phenytoin"] = {{"range_low", range ? Num(range->low) : Json(nullptr)},
                        {"range_high", range ? Num(range->high) : Json(nullptr)},
                        {"daily_dose", Num(design.dailyDose)},
                        {"interval", design.interval},
                        {"loading_dose", Num(design.loadingDose)},
                        {"design_message", design.message},
                        {"observed_average", Num(levels.observed)},
                        {"adjusted_average", Num(levels.adjusted)},
                        {"t90_days", Num(levels.t90Days)},
                        {"free_fraction_percent", Num(100 * fu)},
                        {"message", levels.message}};
}
