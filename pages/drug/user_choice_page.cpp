#include "pages/drug/user_choice_page.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/user_drug.h"
#include "pages/drug/user_choice_form.h"
#include "pages/drug/user_choice_stored.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/entry_stores.h"

namespace {
std::string KeyText(std::int32_t number) { return number == 0 ? std::string() : std::to_string(number); }
}  // namespace

UserChoicePage::UserChoicePage(QWidget* parent)
    : KinevoPage(PageId::UserChoice, "User's Choice One-Compartment Drug", HeaderVariant::NoDrugNoAlbumin, parent),
      form_(new UserChoiceForm(this)) {
    Body()->addWidget(form_, 1);
    save_ = AddButton("&Save", "save", [this] { Save(); });
    AddButton("&Dosage Regimen Forecast", "regimenForecast", [this] { RegimenForecast(); });
    AddButton("&Serum Level Forecast", "levelForecast", [this] { LevelForecast(); });
    AddButton("Serum Level &Analysis", "levelAnalysis", [this] { LevelAnalysis(); });
    AddButton("&Previous", "previous", [this] { Previous(); });
    connect(form_, &UserChoiceForm::edited, this, [this] {
        save_->setText("&Save");
        save_->setEnabled(true);
    });
}

void UserChoicePage::Reset() { form_->Show(UserDrugDefinition{}); }

void UserChoicePage::OnOpen() {
    CaseRecord& r = TheCase();
    r.Cur_fit_method = kPopulation;
    r.RouteProduct.clear();
    form_->Show(OpeningDefinition());
    r.userDrug.held = false;
    save_->setText("&Save");
    save_->setEnabled(true);
    form_->FocusFirstField();
}

UserDrugDefinition UserChoicePage::OpeningDefinition() {
    const CaseRecord& r = TheCase();
    if (r.userDrug.held) return r.userDrug;
    UserDrugDefinition stored;
    if (Nav().caseExists && r.PATIENT_REC_Num != 0 && r.Case_number != 0) {
        WithDatabase(this, [&](Database& db) {
            if (auto row = ReadUserChoiceRow(db, r.PATIENT_REC_Num, r.Case_number))
                stored = StoredDefinition(*row, ReadParameterRow(db, r.PATIENT_REC_Num, r.Case_number));
        });
    }
    return stored;
}

void UserChoicePage::OnEnter() {
    SetFieldOrder(form_->EnterOrder());
    FocusNextField();
}

bool UserChoicePage::Accepted(const QString& incomplete, bool titled) {
    // A value the leaving check did not get to (a button pressed straight
    // from the field) must not reach the record either.
    if (auto problem = form_->FirstProblem()) {
        form_->Refuse(*problem);
        return false;
    }
    if (DefinitionComplete(form_->Values())) return true;
    if (titled) Warn(this, incomplete);
    else Tell(this, incomplete);
    return false;
}

void UserChoicePage::Apply() {
    CaseRecord& r = TheCase();
    r.userDrug = form_->Values();
    ApplyUserDrug(r);
    r.userDrug.held = true;
}

void UserChoicePage::Save() {
    if (!Accepted("Please specify all the values for a dosage form.", false)) return;
    CaseRecord rec = TheCase();
    rec.userDrug = form_->Values();
    ApplyUserDrug(rec);
    EntryKeys keys{KeyText(rec.PATIENT_REC_Num), KeyText(rec.Case_number)};
    // One transaction: after an error nothing of it is stored and the record stays.
    if (!WithDatabase(this, [&](Database& db) { StoreUserChoicePage(db, rec, keys, Now()); })) return;
    const bool patientAdded = TheCase().PATIENT_REC_Num == 0;
    const bool caseAdded = TheCase().Case_number == 0;
    rec.userDrug.held = TheCase().userDrug.held;
    TheCase() = rec;
    // The database now holds what was typed for a patient or case it added.
    if (patientAdded) Nav().patientChanged = Nav().patientIdentityChanged = false;
    if (caseAdded) Nav().caseChanged = false;
    Nav().caseExists = true;
    form_->Show(rec.userDrug);
    save_->setText("Data saved");
    save_->setEnabled(false);
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
    if (!Accepted("You must fill out all the required fields.", true)) return;
    Apply();
    Leave(IvGroupComplete(TheCase().userDrug) ? code::kIvRegimen : code::kOralRegimen);
}

void UserChoicePage::LevelForecast() {
    if (!Accepted("Please specify all the values for a dosage form.", true)) return;
    Apply();
    Leave(IvGroupComplete(TheCase().userDrug) ? code::kIvForecast : code::kOralForecast);
}

void UserChoicePage::LevelAnalysis() {
    if (!Accepted("Please specify all the values for a dosage form.", true)) return;
    Apply();
    const CaseRecord& r = TheCase();
    if (r.TherapeuticMax - r.TherapeuticMin < 0) return Warn(this, "Therapeutic Range is invalid.");
    Leave(code::kFittingSetUp);
}
