// The "user_drug" section: the user's choice drug page's definition.
#include "cli/calc_forecast.h"
#include "engine/user_drug.h"
#include "records/case_record.h"

namespace {
// The definition holds texts as typed; a JSON number becomes its own text.
void Take(const Json& u, const char* key, std::string& slot, std::optional<UserDrugField> field = std::nullopt) {
    const auto value = OptNumber(u, "user_drug", key);
    if (!value) return;
    slot = u.at(key).dump();
    if (field)
        if (const auto problem = UserDrugFieldProblem(*field, slot)) Fail(std::string("user_drug.") + key, *problem);
}

void Choice(const Json& u, const char* key, std::string& slot, const char* first, const char* second) {
    const auto value = OptText(u, "user_drug", key);
    if (!value) return;
    if (*value != first && *value != second)
        Fail(std::string("user_drug.") + key, std::string("must be \"") + first + "\" or \"" + second + "\"");
    slot = *value;
}
}  // namespace

void ReadUserDrug(const Json& input, CaseRecord& r) {
    if (!input.contains("user_drug")) return;
    const Json& u = ObjectField(input, "", "user_drug");
    CheckKeys(u, "user_drug",
              {"name", "units", "clearance", "clearance_unit", "volume", "volume_unit", "cf_percent", "therapeutic_min",
               "therapeutic_max", "time_lag", "iv_salt", "im_ka", "im_salt", "im_f_percent", "oral_form", "oral_ka",
               "oral_salt", "oral_f_percent"});
    UserDrugDefinition& d = r.userDrug;
    d.drugName = OptText(u, "user_drug", "name").value_or("");
    if (d.drugName.size() > kUserDrugNameLimit) Fail("user_drug.name", "must be at most 20 characters");
    Choice(u, "units", d.units, "mg-mg/L", "mcg-mcg/L");
    Choice(u, "clearance_unit", d.clearanceUnit, "L/h", "mL/min");
    Choice(u, "volume_unit", d.volumeUnit, "L", "L/kg");
    Take(u, "clearance", d.clearance, UserDrugField::Clearance);
    Take(u, "volume", d.volume, UserDrugField::Volume);
    Take(u, "cf_percent", d.compliance, UserDrugField::Compliance);
    Take(u, "therapeutic_min", d.therapeuticMin);
    Take(u, "therapeutic_max", d.therapeuticMax);
    Take(u, "time_lag", d.timeLag);
    Take(u, "iv_salt", d.ivSalt, UserDrugField::IvSalt);
    Take(u, "im_ka", d.imKa, UserDrugField::ImKa);
    Take(u, "im_salt", d.imSalt, UserDrugField::ImSalt);
    Take(u, "im_f_percent", d.imF, UserDrugField::ImF);
    if (const auto form = OptText(u, "user_drug", "oral_form")) {
        if (const auto problem = UserDrugFieldProblem(UserDrugField::OralForm, *form))
            Fail("user_drug.oral_form", *problem);
        d.oralForm = *form;
    }
    Take(u, "oral_ka", d.oralKa, UserDrugField::OralKa);
    Take(u, "oral_salt", d.oralSalt, UserDrugField::OralSalt);
    Take(u, "oral_f_percent", d.oralF, UserDrugField::OralF);
    if (!DefinitionComplete(d)) Fail("user_drug", "Please specify all the values for a dosage form.");
    ApplyUserDrug(r);
    // The analysis button refuses a reversed range before the history page opens.
    if (input.contains("history") && r.TherapeuticMax - r.TherapeuticMin < 0)
        Fail("user_drug.therapeutic_max", "Therapeutic Range is invalid.");
}
