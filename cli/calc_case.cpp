// The patient, drug, factor, route-product and parameter parts of a run.
#include <algorithm>
#include <cmath>

#include "cli/calc.h"
#include "cli/calc_forecast.h"
#include "engine/case_warning.h"
#include "engine/factor_questions.h"
#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "engine/population_models.h"
#include "engine/user_drug.h"
#include "fhir/case_input.h"
#include "records/calendar.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"
#include "records/entry_limits.h"

namespace {
void Check(const std::optional<std::string>& problem, const std::string& field) {
    if (problem) Fail(field, *problem);
}

void ReadPatient(const Json& input, double now, CaseRecord& r) {
    if (!input.contains("patient")) Fail("patient", "is required");
    const PatientInput p = ReadPatientInput(ObjectField(input, "", "patient"));
    if (p.birthday && p.age) Fail("patient", "give birthday or age_years, not both");
    if (p.birthday) {
        Check(BirthdayProblem(DayNumber(*p.birthday), static_cast<long>(std::floor(now))), "patient.birthday");
    } else if (p.age) {
        if (*p.age < 0 || *p.age > 120) Fail("patient.age_years", "must be between 0 and 120");
    } else {
        Fail("patient", "birthday or age_years is required");
    }
    if (p.sex != "M" && p.sex != "F") Fail("patient.sex", "must be \"M\" or \"F\"");
    if (!p.weight) Fail("patient.weight_kg", "is required");
    Check(WeightProblem(*p.weight), "patient.weight_kg");
    if (!p.height) Fail("patient.height_cm", "is required");
    Check(HeightProblem(*p.height), "patient.height_cm");
    const double scr = p.scr.value_or(0), crcl = p.crcl.value_or(0);
    if (scr != 0) Check(ScrProblem(scr), "patient.scr_mg_dl");
    Check(CrClProblem(crcl), "patient.crcl_ml_min");
    if (scr == 0 && crcl == 0) Fail("patient", "scr_mg_dl or crcl_ml_min is required");
    Check(AlbuminProblem(p.albumin.value_or(0)), "patient.albumin_g_dl");
    FillPatient(p, now, r);
}

void ReadDrug(const Json& input, CaseRecord& r) {
    r.Drug_ID = ReadDrugCode(input);
    if (r.Drug_ID == "zz" && !input.contains("user_drug")) Fail("user_drug", "is required for drug ZZ");
    if (r.Drug_ID != "zz" && input.contains("user_drug")) Fail("user_drug", "is only for drug ZZ");
    if (r.Drug_ID == "ph" && r.Albumin == 0) Fail("patient.albumin_g_dl", "You must enter albumin value.");
}

void ReadFactors(const Json& input, CaseRecord& r) {
    if (!input.contains("factors")) return;
    const Json& f = input.at("factors");
    if (!f.is_array()) Fail("factors", "must be a list of question numbers");
    if (f.size() > 2) Fail("factors", "Select no more than 2 factors.");
    const auto count = static_cast<int>(FactorQuestions(r.Drug_ID, r.Age, r.SEX).size());
    for (const Json& item : f) {
        if (!item.is_number_integer()) Fail("factors", "must be a list of question numbers");
        const auto i = IntegerIn(item, 1, count);
        if (!i)
            Fail("factors", "question " + item.dump() + " is not in this patient's list of " + std::to_string(count));
        r.FactorFlags[static_cast<std::size_t>(*i)] = 1;
    }
}

void ReadRouteProduct(const Json& input, CaseRecord& r) {
    // The user's choice drug offers its complete groups, the first by default.
    const bool user = r.Drug_ID == "zz";
    const auto list = user ? UserDrugRouteProducts(r.userDrug) : RouteProductsOf(r.Drug_ID);
    const std::string fallback = user ? list.front() : DefaultRouteProduct(r.Drug_ID);
    const std::string product = OptText(input, "", "route_product").value_or(fallback);
    if (std::find(list.begin(), list.end(), product) == list.end())
        Fail("route_product", Quoted(product) + " is not offered for " + DrugNameOf(r.Drug_ID));
    ChooseRouteProduct(r, product);
}

void ReadParameters(const Json& input, CaseRecord& r) {
    if (!input.contains("parameters")) return;
    const Json& p = ObjectField(input, "", "parameters");
    CheckKeys(p, "parameters", {"F", "Vd", "Cl", "CF", "Km", "Vm"});
    ParameterSet& set = r.CurrentSet();
    auto take = [&](const char* key, double& slot, double high, const char* message) {
        if (const auto v = OptNumber(p, "parameters", key)) {
            if (*v < 0 || *v > high) Fail(std::string("parameters.") + key, message);
            slot = *v;
        }
    };
    take("F", set.F, 1, "must be a fraction between 0 and 1");
    take("Vd", set.Vd, HUGE_VAL, "Please input a correct Value of VD.");
    take("Cl", set.Cl, HUGE_VAL, "Please input a correct Value of CL.");
    take("CF", set.CF, 1, "Please input a correct Value of CF.");
    take("Vm", set.Vm, HUGE_VAL, "must not be negative");
    take("Km", set.Km, HUGE_VAL, "must not be negative");
    // Phenytoin keeps Km in the clearance slot as well.
    if (r.ModelType == 3) {
        if (p.contains("Km")) set.Cl = set.Km;
        else if (p.contains("Cl")) set.Km = set.Cl;
    }
}
}  // namespace

void ReadCase(const Json& input, double now, CaseRecord& r) {
    ReadPatient(input, now, r);
    ReadDrug(input, r);
    ReadFactors(input, r);
    SelectDrugModel(r);
    ReadUserDrug(input, r);
    ReadRouteProduct(input, r);
    ReadParameters(input, r);
}

void WriteCase(const CaseRecord& r, Json& out) {
    const bool phenytoin = r.ModelType == 3;
    const bool oral = r.RouteCode == 'O';
    out["measures"] = {
        {"age_years", Num(r.Age)},
        {"ibw_kg", Num(IdealBodyWeight(r))},
        {"lbw_kg", Num(LeanBodyWeight(r))},
        {"bsa_m2", Num(BodySurfaceArea(r))},
        {"dosing_weight_kg", Num(DosingWeight(r))},
        {"adjusted_weight_kg", Num(AdjustedBodyWeight(r))},
        {"crcl_ml_min", Num(r.CrCl)},
        {"free_fraction", NumIf(phenytoin, r.FreeFraction)},
    };
    const bool fosphenytoin = phenytoin && r.FormName == "Injection (Fosphenytoin)";
    const double ka = oral ? r.PO_Ka : r.RouteCode == 'I' || fosphenytoin ? r.IM_ka : 0;
    out["model"] = {
        {"drug", ToUpper(r.Drug_ID)},
        {"name", DrugNameOf(r.Drug_ID)},
        {"model_type", r.ModelType},
        {"dose_unit", r.DoseUnit},
        {"conc_unit", r.ConcUnit},
        {"route_product", r.RouteProduct},
        {"route_code", std::string(1, r.RouteCode)},
        {"form_name", r.FormName},
        {"salt", Num(ProductSalt(r))},
        {"ka", NumIf(ka > 0, ka)},
        {"po_ka", NumIf(r.PO_Ka > 0, r.PO_Ka)},
        {"po_salt", NumIf(r.PO_Salt > 0, r.PO_Salt)},
        {"im_ka", NumIf(r.IM_ka > 0, r.IM_ka)},
        {"parenteral_salt", NumIf(r.ParenteralSalt > 0, r.ParenteralSalt)},
        {"therapeutic_min", NumIf(r.TherapeuticRangeSet, r.TherapeuticMin)},
        {"therapeutic_max", NumIf(r.TherapeuticRangeSet, r.TherapeuticMax)},
        {"graph_max", Num(r.GraphMax)},
        {"var_err", Num(r.Var_err)},
        {"fixed_err", Num(r.Fixed_err)},
        {"time_wt", Num(r.Time_wt)},
        {"vc", NumIf(r.ModelType == 2, r.Vc)},
        {"k21", NumIf(r.ModelType == 2, r.K21)},
        {"phenytoin_abs_rate", NumIf(phenytoin, r.PhenytoinAbsRate)},
        {"augmented_crcl_cap", r.AugmentedCrClCap},
    };
    Json factors = Json::array();
    const auto questions = FactorQuestions(r.Drug_ID, r.Age, r.SEX);
    for (std::size_t i = 0; i < questions.size(); ++i)
        if (r.Factor(static_cast<int>(i) + 1)) factors.push_back(questions[i]);
    out["factors"] = factors;
    const ParameterSet& p = r.CurrentSet();
    out["population"] = {
        {"F", Num(p.F)},
        {"Vd", Num(p.Vd)},
        {"Cl", Num(p.Cl)},
        {"CF", Num(p.CF)},
        {"Km", NumIf(phenytoin, p.Km)},
        {"Vm", NumIf(phenytoin, p.Vm)},
        {"sd",
         {{"F", Num(r.Init_f_sd)},
          {"Vd", Num(r.init_vd_sd)},
          {"Cl", Num(r.init_cl_sd)},
          {"CF", Num(r.init_cf_sd)},
          {"Vm", NumIf(phenytoin, r.init_vm_sd)}}},
    };
    out["warning"] = CaseWarning(r, 81);
}
