#include "pages/patient/existing_case_entry_page.h"

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "pages/patient/entry_form.h"
#include "pages/patient/entry_loading.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/stored_text.h"

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
