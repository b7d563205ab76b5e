#include "engine/user_drug.h"

#include <algorithm>
#include <cstdlib>

#include "engine/forecast_checks.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {
double Value(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::optional<std::string> OutsideRange(double value, double low, double high, const char* message) {
    if (value < low || value > high) return std::string(message);
    return std::nullopt;
}

bool AllTyped(std::initializer_list<const std::string*> texts) {
    return std::all_of(texts.begin(), texts.end(), [](const std::string* t) { return !t->empty(); });
}

// Enough digits that a converted value reads back as the same number.
std::string ConvertedText(double value) { return FormatNumber("%.10g", value); }
}  // namespace

std::optional<std::string> UserDrugFieldProblem(UserDrugField field, const std::string& text) {
    if (text.empty()) return std::nullopt;
    const double v = Value(text);
    constexpr const char* kSalt = "Please input a correct Value of salt.";
    constexpr const char* kF = "Please input a correct Value of F.";
    switch (field) {
        case UserDrugField::Clearance: return ClProblem(v);
        case UserDrugField::Volume: return VdProblem(v);
        case UserDrugField::Compliance: return CfPercentProblem(v);
        case UserDrugField::IvSalt:
        case UserDrugField::ImSalt:
        case UserDrugField::OralSalt: return OutsideRange(v, 0.001, 1, kSalt);
        case UserDrugField::ImKa: return OutsideRange(v, 0.001, 4, "Please input a correct Value of Ka.");
        case UserDrugField::OralKa: return OutsideRange(v, 0.001, 4, "Please input a correct Value of ka.");
        case UserDrugField::ImF:
        case UserDrugField::OralF: return OutsideRange(v, 1, 100, kF);
        case UserDrugField::OralForm: {
            const auto& forms = UserDrugOralForms();
            if (std::find(forms.begin(), forms.end(), text) == forms.end())
                return std::string("Please select a valid dosage form.");
            return std::nullopt;
        }
    }
    return std::nullopt;
}

const std::vector<std::string>& UserDrugOralForms() {
    static const std::vector<std::string> forms = {"Capsule",   "Elixir",     "Liquid", "SR Capsule",
                                                   "SR Tablet", "Suspension", "Syrup",  "Tablet"};
    return forms;
}

std::string PaddedRateText(const std::string& text) {
    const double v = Value(text);
    return FormatNumber(v < 1 ? "%.3f" : "%.2f", v);
}

bool IvGroupComplete(const UserDrugDefinition& u) { return !u.ivSalt.empty(); }
bool ImGroupComplete(const UserDrugDefinition& u) { return AllTyped({&u.imKa, &u.imSalt, &u.imF}); }
bool OralGroupComplete(const UserDrugDefinition& u) {
    return AllTyped({&u.oralForm, &u.oralKa, &u.oralSalt, &u.oralF});
}

bool DefinitionComplete(const UserDrugDefinition& u) {
    return AllTyped({&u.drugName, &u.clearance, &u.volume, &u.compliance}) &&
           (IvGroupComplete(u) || ImGroupComplete(u) || OralGroupComplete(u));
}

std::vector<std::string> UserDrugRouteProducts(const UserDrugDefinition& u) {
    return RouteProductsOfUserDrug(IvGroupComplete(u), ImGroupComplete(u), OralGroupComplete(u), u.oralForm);
}

void ApplyUserDrug(CaseRecord& r) {
    UserDrugDefinition& u = r.userDrug;
    if (u.clearanceUnit == "mL/min") {
        u.clearance = ConvertedText(Value(u.clearance) * 0.06);
        u.clearanceUnit = "L/h";
    }
    if (u.volumeUnit == "L/kg") {
        u.volume = ConvertedText(Value(u.volume) * r.Wt);
        u.volumeUnit = "L";
    }
    // The compliance text stays in percent, so applying again changes nothing.
    const double cf = Value(FormatNumber("%.2f", Value(u.compliance) / 100));

    const bool mg = u.units == "mg-mg/L";
    r.DoseUnit = mg ? "mg" : "mcg";
    r.ConcUnit = mg ? "mg/L" : "mcg/L";
    r.ModelType = 1;
    r.population = ParameterSet{r.population.F, Value(u.volume), Value(u.clearance), cf, 0, 0};
    r.Vc = r.K21 = 0;
    r.TherapeuticMin = Value(u.therapeuticMin);
    r.TherapeuticMax = Value(u.therapeuticMax);
    r.TherapeuticRangeSet = true;
    r.Var_err = 0.1;
    r.Init_f_sd = 0.1;
    r.init_vd_sd = 0.3;
    r.init_cl_sd = 0.5;
    r.init_cf_sd = 0.5;
    r.init_vm_sd = 0;
    r.Fixed_err = (r.TherapeuticMin + r.TherapeuticMax) / 2 * 0.05;
    r.GraphMax = 1.5 * r.TherapeuticMax;
    r.TimeLag = Value(u.timeLag);
}

double FixedErrorPercent(double fixedError, double therapeuticMin, double therapeuticMax) {
    const double middle = (therapeuticMin + therapeuticMax) / 2;
    return middle > 0 ? fixedError / middle * 100 : 0;
}

double FixedErrorOfPercent(double percent, double therapeuticMin, double therapeuticMax) {
    return (therapeuticMin + therapeuticMax) / 2 * percent / 100;
}
