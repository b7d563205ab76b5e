#include "pages/factor_page.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "engine/population_models.h"
#include "records/case_record.h"

namespace {
bool RenalForecastDrug(const std::string& code) {
    for (const char* c : {"ak", "gm", "nm", "tm", "vm", "cx", "ox"})
        if (code == c) return true;
    return false;
}
}  // namespace

FactorPage::FactorPage(QWidget* parent) : KinevoPage(140, "Patient Factors", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Previous(); });
    AddButton("&Dosage Regimen Forecast", "regimenForecast",
              [this] { Forward(code::kIvRegimen, code::kPhenytoinRegimen, code::kOralRegimen); });
    AddButton("&Serum Level   Forecast", "levelForecast",
              [this] { Forward(code::kIvForecast, code::kPhenytoinForecast, code::kOralForecast); });
    AddButton("Serum Level &Analysis", "levelAnalysis",
              [this] { Forward(code::kFittingSetUp, code::kFittingSetUp, code::kFittingSetUp); });
}

void FactorPage::Previous() {
    if (Nav().newPatientSaved || Nav().caseExists) {
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    } else {
        Leave(code::kNewPatientEntry);
    }
}

void FactorPage::Forward(int renalCode, int phenytoinCode, int otherCode) {
    SelectDrugModel(TheCase());
    const std::string& drug = TheCase().Drug_ID;
    Leave(RenalForecastDrug(drug) ? renalCode : drug == "ph" ? phenytoinCode : otherCode);
}
