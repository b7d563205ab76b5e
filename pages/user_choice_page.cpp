#include "pages/user_choice_page.h"

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/user_drug.h"
#include "records/case_record.h"

UserChoicePage::UserChoicePage(QWidget* parent)
    : KinevoPage(139, "User's Choice One-Compartment Drug", HeaderVariant::NoDrugNoAlbumin, parent) {
    Body()->addStretch(1);
    AddButton("&Dosage Regimen Forecast", "regimenForecast", [this] { RegimenForecast(); });
    AddButton("&Serum Level Forecast", "levelForecast", [this] { LevelForecast(); });
    AddButton("Serum Level &Analysis", "levelAnalysis", [this] { LevelAnalysis(); });
    AddButton("&Previous", "previous", [this] { Previous(); });
}

void UserChoicePage::OnOpen() {
    TheCase().Cur_fit_method = kPopulation;
    TheCase().RouteProduct.clear();
}

void UserChoicePage::Previous() {
    if (Nav().newPatient) {
        Leave(code::kNewPatientEntry);
    } else if (Nav().caseExists) {
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    } else {
        HandKeysToNewCaseEntry();
        Leave(code::kNewCaseEntry);
    }
}

void UserChoicePage::RegimenForecast() {
    CaseRecord& r = TheCase();
    if (!DefinitionComplete(r.userDrug)) return Warn(this, "You must fill out all the required fields.");
    ApplyUserDrug(r);
    Leave(IvGroupComplete(r.userDrug) ? code::kIvRegimen : code::kOralRegimen);
}

void UserChoicePage::LevelForecast() {
    CaseRecord& r = TheCase();
    if (!DefinitionComplete(r.userDrug)) return Warn(this, "Please specify all the values for a dosage form.");
    ApplyUserDrug(r);
    Leave(IvGroupComplete(r.userDrug) ? code::kIvForecast : code::kOralForecast);
}

void UserChoicePage::LevelAnalysis() {
    CaseRecord& r = TheCase();
    if (!DefinitionComplete(r.userDrug)) return Warn(this, "Please specify all the values for a dosage form.");
    ApplyUserDrug(r);
    if (r.TherapeuticMax - r.TherapeuticMin < 0) return Warn(this, "Therapeutic Range is invalid.");
    Leave(code::kFittingSetUp);
}
