#include "pages/patient/new_patient_entry_page.h"

#include <utility>

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "pages/patient/entry_form.h"
#include "pages/patient/entry_loading.h"
#include "pages/patient/hospital_import.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/stored_text.h"

NewPatientEntryPage::NewPatientEntryPage(QWidget* parent) : EntryPage(PageId::NewPatientEntry, "New Patient", parent) {}

EntryPage::Opening NewPatientEntryPage::Load(EntryKeys& keys) {
    // Imported from the hospital record: a patient stored nowhere yet, every
    // value to be reviewed here and saved with Save.
    if (std::exchange(Nav().caseImported, false)) {
        Nav().newPatientSaved = false;
        keys = EntryKeys{};
        return {ImportedEntryValues(TheCase()), BlankEntry()};
    }
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
