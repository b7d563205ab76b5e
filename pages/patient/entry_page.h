#pragma once
// The patient and case entry page, as a new patient, a new case of a listed
// patient and an existing case each open and store it.
#include <optional>

#include "app/kit/page_base.h"
#include "pages/patient/entry_values.h"

class EntryForm;
class QPushButton;
class QTimer;

class EntryPage : public KinevoPage {
    Q_OBJECT
public:
    EntryPage(PageId id, const QString& heading, QWidget* parent);
    EntryForm* Form() const { return form_; }
    // The page's own patient and case key texts.
    const EntryKeys& Keys() const { return keys_; }
    // Enables Next and Save as the fields allow; the page's timer runs it
    // every 500 ms while the page is open.
    void UpdateButtons();
    void done(int code) override;

protected:
    void OnOpen() override;
    void OnEnter() override;
    // What the page shows on opening, and what it compares it with to tell
    // what changed (the values stored, or blank for what is not stored).
    struct Opening {
        EntryValues shown;
        std::optional<EntryValues> held;  // nullopt: keep what the page held
    };
    virtual Opening Load(EntryKeys& keys) = 0;
    // Stores the record filled from the page, as this page does.
    virtual void Store(CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes) = 0;
    virtual QString NoDrugMessage() const { return "You must select a kind of Drug."; }
    virtual void AfterSave() {}

private:
    void Next();
    void Save();
    void Previous();
    // The drug, field and albumin checks of Next and Save; true when one
    // refused (its message shown).
    bool Refused(const QString& noDrugMessage, const QString& noAlbuminMessage);
    void DrugChosen();
    void DrugLeft(const QString& name);

    EntryForm* form_;
    QTimer* timer_;
    QPushButton *save_, *next_;
    EntryKeys keys_;
    EntryValues held_;
    // A Save since the page opened stored a case: a further Save corrects it.
    bool caseAddedHere_ = false;
};
