#include "pages/drug/user_choice_stored.h"

#include "records/db/stored_text.h"
#include "records/text_format.h"

UserDrugDefinition StoredDefinition(const UserChoiceRow& row, const std::optional<ParameterRow>& parameters) {
    UserDrugDefinition d;
    d.drugName = row.Drug_Name;
    d.units = row.Unit ? "mg-mg/L" : "mcg-mcg/L";
    d.ivSalt = row.IV_Salt;
    d.imKa = row.IM_ka, d.imSalt = row.IM_Salt, d.imF = row.IM_F;
    d.oralForm = row.PO_Form, d.oralKa = row.PO_Ka, d.oralSalt = row.PO_Salt, d.oralF = row.PO_F;
    d.therapeuticMax = row.max, d.therapeuticMin = row.min;
    // The definition was stored as applied: in L/h and L.
    d.clearanceUnit = "L/h";
    d.volumeUnit = "L";
    if (!parameters) {
        d.compliance = "100";
        return d;
    }
    d.clearance = parameters->Cl;
    d.volume = parameters->Vd;
    if (!parameters->CF.empty()) d.compliance = FormatNumber("%.1f", StoredPercent(parameters->CF));
    return d;
}
