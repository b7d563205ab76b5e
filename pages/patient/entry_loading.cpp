#include "pages/patient/entry_loading.h"

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/case_rows.h"
#include "records/db/configuration.h"

namespace {
// Typed values the user went on with but has not stored.
bool UnsavedChanges() { return Nav().patientChanged || Nav().patientIdentityChanged || Nav().caseChanged; }
}  // namespace

bool RecordHoldsCase() { return TheCase().Wt > 0; }

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

EntryValues StoredValues(std::int32_t patient, std::int32_t caseNumber) {
    if (patient == 0) return BlankEntry();
    CaseRecord stored;
    stored.PATIENT_REC_Num = patient;
    stored.Case_number = caseNumber;
    ReloadCase(stored, Now());
    return EntryValuesOf(stored, caseNumber != 0);
}
