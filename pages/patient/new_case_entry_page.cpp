#include "pages/patient/new_case_entry_page.h"

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "pages/patient/entry_form.h"
#include "pages/patient/entry_loading.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/stored_text.h"

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
