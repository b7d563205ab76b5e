#include "pages/drug/factor_page.h"

#include <QLabel>
#include <QListWidget>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/factor_questions.h"
#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
bool RenalForecastDrug(const std::string& code) {
    for (const char* c : {"ak", "gm", "nm", "tm", "vm", "cx", "ox"})
        if (code == c) return true;
    return false;
}

constexpr int kMaxTicks = 2;
}  // namespace

FactorPage::FactorPage(QWidget* parent)
    : KinevoPage(PageId::Factors, "Patient Factors", HeaderVariant::Full, parent),
      heading_(new QLabel(this)),
      list_(new QListWidget(this)) {
    heading_->setObjectName("factorHeading");
    list_->setObjectName("factors");
    Body()->addWidget(heading_);
    Body()->addWidget(list_, 1);
    AddButton("&Previous", "previous", [this] { Previous(); });
    AddButton("&Dosage Regimen Forecast", "regimenForecast",
              [this] { Forward(code::kIvRegimen, code::kPhenytoinRegimen, code::kOralRegimen, true); });
    AddButton("&Serum Level   Forecast", "levelForecast",
              [this] { Forward(code::kIvForecast, code::kPhenytoinForecast, code::kOralForecast); });
    AddButton("Serum Level &Analysis", "levelAnalysis",
              [this] { Forward(code::kFittingSetUp, code::kFittingSetUp, code::kFittingSetUp); });
    SetFieldOrder({list_});
}

void FactorPage::Reset() {
    factorDrugName_.clear();
    list_->clear();
}

void FactorPage::OnOpen() {
    const CaseRecord& r = TheCase();
    heading_->setText(r.Drug_ID == "fc" ? kFlucytosineFactorHeading : "Select a Maximum of 2 Applicable Factors:");
    list_->clear();
    const std::string drugName = DrugNameOf(r.Drug_ID);
    // Ticks made for another drug mean nothing for this one.
    const bool sameDrug = factorDrugName_.empty() || factorDrugName_ == drugName;
    const std::vector<std::string> questions = FactorQuestions(r.Drug_ID, r.Age, r.SEX);
    for (std::size_t i = 0; i < questions.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(" " + questions[i]), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(sameDrug && r.Factor(static_cast<int>(i) + 1) ? Qt::Checked : Qt::Unchecked);
    }
    factorDrugName_ = drugName;
    if (list_->count() > 0) list_->setCurrentRow(0);
    list_->setFocus(Qt::OtherFocusReason);
}

int FactorPage::TickCount() const {
    int ticks = 0;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked) ++ticks;
    return ticks;
}

void FactorPage::StoreTicks() {
    CaseRecord& r = TheCase();
    std::array<std::uint8_t, kFactorFlagCount> flags{};
    for (int i = 0; i < list_->count() && i + 1 < kFactorFlagCount; ++i) {
        const bool ticked = list_->item(i)->checkState() == Qt::Checked;
        if (ticked != r.Factor(i + 1)) Nav().caseChanged = true;
        flags[i + 1] = ticked ? 1 : 0;
    }
    r.FactorFlags = flags;
}

void FactorPage::Previous() {
    StoreTicks();
    if (Nav().newPatientSaved || Nav().caseExists) {
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    } else {
        Leave(code::kNewPatientEntry);
    }
}

void FactorPage::Forward(int renalCode, int phenytoinCode, int otherCode, bool population) {
    if (TickCount() > kMaxTicks) return Warn(this, "Select no more than 2 factors.");
    StoreTicks();
    CaseRecord& r = TheCase();
    SelectDrugModel(r);
    if (population) r.Cur_fit_method = kPopulation;
    const std::string& drug = r.Drug_ID;
    Leave(RenalForecastDrug(drug) ? renalCode : drug == "ph" ? phenytoinCode : otherCode);
}
