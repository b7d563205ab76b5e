#include "pages/entry_pages.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/database_work.h"
#include "pages/entry_form.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/case_rows.h"
#include "records/db/configuration.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"

namespace {
// The record holds a case typed on an entry page (every case has a weight).
bool RecordHoldsCase() { return TheCase().Wt > 0; }

// Typed values the user went on with but has not stored.
bool UnsavedChanges() { return Nav().patientChanged || Nav().patientIdentityChanged || Nav().caseChanged; }

// Makes the record hold the stored patient (and case) the keys name. Kept as
// it is: a patient never stored (number 0), and the same patient and case
// coming back with typed changes not yet stored.
void LoadRecord(std::int32_t patient, std::int32_t caseNumber) {
    CaseRecord& r = TheCase();
    if (patient == 0) return;
    const bool sameCase = r.PATIENT_REC_Num == patient && r.Case_number == caseNumber;
    if (sameCase && UnsavedChanges()) return;
    Database db(ConfiguredDatabasePath());
    // The patient worked on must not turn silently into whoever another
    // workstation stored under the number since.
    if (r.PATIENT_REC_Num == patient && !(r.storedIdentity == PatientIdentity{}))
        RequireStoredPatient(db, patient, r.storedIdentity);
    // Read into a copy: a failed read leaves the record as it was.
    CaseRecord loaded = r;
    ResetCase(loaded, true);
    loaded.PATIENT_REC_Num = patient;
    loaded.Case_number = caseNumber;
    ReloadCase(db, loaded, Now());
    // The date its parameters were saved on stays with the case.
    if (sameCase) loaded.DateText = r.DateText;
    r = loaded;
}

// What the database holds for the keys, as the page would show it; nothing
// for a patient never stored.
EntryValues StoredValues(std::int32_t patient, std::int32_t caseNumber) {
    if (patient == 0) return BlankEntry();
    CaseRecord stored;
    stored.PATIENT_REC_Num = patient;
    stored.Case_number = caseNumber;
    ReloadCase(stored, Now());
    return EntryValuesOf(stored, caseNumber != 0);
}
}  // namespace

EntryPage::EntryPage(PageId id, const QString& heading, QWidget* parent)
    : KinevoPage(id, heading, std::nullopt, parent),
      form_(new EntryForm(id == PageId::NewPatientEntry, this)),
      timer_(new QTimer(this)) {
    Body()->addWidget(form_, 1);
    QPushButton* previous = AddButton("&Previous", "previous", [this] { Previous(); });
    save_ = AddButton("&Save", "save", [this] { Save(); });
    next_ = AddButton("&Next", "next", [this] { Next(); });
    QWidget::setTabOrder(form_->findChild<QWidget*>("caseNote"), next_);
    QWidget::setTabOrder(next_, save_);
    QWidget::setTabOrder(save_, previous);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &EntryPage::UpdateButtons);
    connect(form_, &EntryForm::drugChosen, this, [this] { DrugChosen(); });
    connect(form_, &EntryForm::drugLeft, this, [this](const QString& name) { DrugLeft(name); });
}

void EntryPage::OnOpen() {
    form_->SetToday(QString::fromStdString(DateDisplay(Now())));
    Opening opening;
    if (!TryDatabaseWork(this, [&] { opening = Load(keys_); })) {
        // With nothing known of what is stored, nothing counts as changed.
        const EntryValues shown = EntryValuesOf(TheCase(), RecordHoldsCase());
        opening = {shown, shown};
    }
    form_->Show(opening.shown);
    if (opening.held) held_ = *opening.held;
    caseAddedHere_ = false;
    save_->setText("&Save");
    UpdateButtons();
    timer_->start();
    form_->findChild<QWidget*>("lastName")->setFocus(Qt::OtherFocusReason);
}

void EntryPage::done(int code) {
    timer_->stop();
    KinevoPage::done(code);
}

void EntryPage::OnEnter() {
    SetFieldOrder(form_->EnterOrder());
    FocusNextField();
}

void EntryPage::UpdateButtons() {
    const bool complete = form_->Complete();
    next_->setEnabled(complete);
    const EntryValues shown = form_->Values();
    const bool changed = !shown.SamePatient(held_) || !shown.SameCase(held_);
    if (complete && changed && !form_->PhenytoinWithoutAlbumin()) {
        save_->setText("&Save");
        save_->setEnabled(true);
    } else {
        save_->setEnabled(false);
    }
}

bool EntryPage::Refused(const QString& noDrugMessage, const QString& noAlbuminMessage) {
    if (form_->Values().drug.isEmpty()) {
        Warn(this, noDrugMessage);
        return true;
    }
    // A value the leaving checks did not get to (a button pressed straight
    // from the field) must not reach the record either.
    if (auto problem = form_->FirstProblem()) {
        form_->Refuse(*problem);
        return true;
    }
    if (form_->PhenytoinWithoutAlbumin()) {
        Warn(this, noAlbuminMessage);
        return true;
    }
    return false;
}

void EntryPage::Next() {
    if (Refused("Please Select a kind of drug, before you click Next.", "You must enter albumin value.")) return;
    const EntryValues shown = form_->Values();
    CaseRecord& r = TheCase();
    const std::string drugBefore = r.Drug_ID;
    FillRecord(shown, r, Now());
    const EntryChanges changes = ChangesSince(held_, shown);
    Nav().patientChanged = changes.patientChanged;
    Nav().patientIdentityChanged = changes.identityChanged;
    Nav().caseChanged = changes.caseChanged;
    if (r.Drug_ID != "zz") {
        // The factor page lists its questions afresh for the case as it now
        // stands. Ticks belong to the drug they were made for; a stored case
        // going on with its drug keeps its own.
        if (r.Drug_ID != drugBefore) r.FactorFlags.fill(0);
        ResetPage(PageId::Factors);
    }
    Leave(DrugPageCode());
}

void EntryPage::Save() {
    if (Refused(NoDrugMessage(), "Because you have select the Phenytoin, you must enter a Albumin value.")) return;
    const EntryValues shown = form_->Values();
    CaseRecord rec = TheCase();
    FillRecord(shown, rec, Now());
    EntryChanges changes = ChangesSince(held_, shown);
    changes.caseAddedThisVisit = caseAddedHere_;
    // Each store is one transaction: after an error nothing of it is stored.
    if (!TryDatabaseWork(this, [&] { Store(rec, keys_, changes); })) return;
    caseAddedHere_ = caseAddedHere_ || changes.caseChanged;
    TheCase() = rec;
    held_ = shown;
    form_->ShowUpdated(EntryValuesOf(rec, true));
    // The database now holds what the record holds.
    Nav().patientChanged = Nav().patientIdentityChanged = Nav().caseChanged = false;
    AfterSave();
    save_->setText("Data saved");
    save_->setEnabled(false);
    next_->setEnabled(true);
    next_->setFocus(Qt::OtherFocusReason);
}

void EntryPage::Previous() {
    keys_ = EntryKeys{};
    held_ = BlankEntry();
    Nav().patientChanged = Nav().patientIdentityChanged = Nav().caseChanged = false;
    Leave(code::kSearch);
}

void EntryPage::DrugChosen() { ResetCase(TheCase(), false); }

void EntryPage::DrugLeft(const QString& name) {
    if (ToLower(DrugNameOf(name.toStdString())) != TheCase().Drug_ID) ResetAllPages();
}

NewPatientEntryPage::NewPatientEntryPage(QWidget* parent) : EntryPage(PageId::NewPatientEntry, "New Patient", parent) {}

EntryPage::Opening NewPatientEntryPage::Load(EntryKeys& keys) {
    // Back from the factor or user's choice page: the record holds what was
    // typed here, and a patient this page stored stays stored.
    if (RecordHoldsCase()) {
        const CaseRecord& r = TheCase();
        // Stored meanwhile by another page (the user's choice page): this
        // page goes on with that patient and case rather than adding them again.
        if (r.PATIENT_REC_Num != 0 && KeyNumber(keys.patient) != r.PATIENT_REC_Num) {
            keys = EntryKeys{std::to_string(r.PATIENT_REC_Num), r.Case_number ? std::to_string(r.Case_number) : ""};
            Nav().newPatientSaved = true;
            return {EntryValuesOf(r, true), EntryValuesOf(r, r.Case_number != 0)};
        }
        Nav().newPatientSaved = !keys.patient.empty() && KeyNumber(keys.patient) == r.PATIENT_REC_Num;
        return {EntryValuesOf(r, true), std::nullopt};
    }
    Nav().newPatientSaved = false;
    keys = EntryKeys{};
    return {BlankEntry(), BlankEntry()};
}

void NewPatientEntryPage::Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) {
    Database db(ConfiguredDatabasePath());
    if (keys.patient.empty()) {
        StoreNewPatientPage(db, rec, keys, changes.caseChanged, Now());
        return;
    }
    // Stored by an earlier press: the same person again is no new patient.
    StoreNewCasePage(db, rec, keys, {changes.patientChanged, false, changes.caseChanged, changes.caseAddedThisVisit},
                     Now());
}

void NewPatientEntryPage::AfterSave() { Nav().newPatientSaved = true; }

NewCaseEntryPage::NewCaseEntryPage(QWidget* parent) : EntryPage(PageId::NewCaseEntry, "New Case", parent) {}

EntryPage::Opening NewCaseEntryPage::Load(EntryKeys& keys) {
    keys = EntryKeys{Nav().newCasePatientKey, ""};
    Nav().caseExists = false;
    const std::int32_t patient = KeyNumber(keys.patient);
    LoadRecord(patient, 0);
    return {EntryValuesOf(TheCase(), RecordHoldsCase()), StoredValues(patient, 0)};
}

void NewCaseEntryPage::Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) {
    Database db(ConfiguredDatabasePath());
    StoreNewCasePage(db, rec, keys, changes, Now());
}

void NewCaseEntryPage::AfterSave() { Nav().caseExists = true; }

ExistingCaseEntryPage::ExistingCaseEntryPage(QWidget* parent)
    : EntryPage(PageId::ExistingCaseEntry, "Existing Case", parent) {
    Form()->FixDrug(true);
}

EntryPage::Opening ExistingCaseEntryPage::Load(EntryKeys& keys) {
    keys = EntryKeys{Nav().existingCasePatientKey, Nav().existingCaseCaseKey};
    Nav().caseExists = true;
    const std::int32_t patient = KeyNumber(keys.patient), caseNumber = KeyNumber(keys.caseNumber);
    LoadRecord(patient, caseNumber);
    return {EntryValuesOf(TheCase(), true), StoredValues(patient, caseNumber)};
}

void ExistingCaseEntryPage::Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) {
    Database db(ConfiguredDatabasePath());
    StoreExistingCasePage(db, rec, keys, changes, Now());
}
