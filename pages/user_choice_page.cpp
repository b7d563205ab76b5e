#include "pages/user_choice_page.h"

#include <cstdlib>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/user_drug_groups.h"
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
    const UserDrugDefinition& d = TheCase().userDrug;
    if (!DefinitionComplete(d)) return Warn(this, "You must fill out all the required fields.");
    Leave(CompleteGroups(d).iv ? code::kIvRegimen : code::kOralRegimen);
}

void UserChoicePage::LevelForecast() {
    const UserDrugDefinition& d = TheCase().userDrug;
    if (!DefinitionComplete(d)) return Warn(this, "Please specify all the values for a dosage form.");
    Leave(CompleteGroups(d).iv ? code::kIvForecast : code::kOralForecast);
}

void UserChoicePage::LevelAnalysis() {
    const UserDrugDefinition& d = TheCase().userDrug;
    if (!DefinitionComplete(d)) return Warn(this, "Please specify all the values for a dosage form.");
    if (std::atof(d.therapeuticMax.c_str()) - std::atof(d.therapeuticMin.c_str()) < 0)
        return Warn(this, "Therapeutic Range is invalid.");
    Leave(code::kFittingSetUp);
}
