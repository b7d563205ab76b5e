#include "pages/patient/entry_page.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/patient/entry_form.h"
#include "pages/patient/entry_loading.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"

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
