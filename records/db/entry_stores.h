#pragma once
// The Save buttons of the entry pages and of the user's choice page. Each
// store is one transaction; on success the page's key texts and the
// record's PATIENT_REC_Num / Case_number name what was stored.
//
//   EntryKeys keys{patientKeyText, caseKeyText};
//   StoreNewCasePage(db, TheCase(), keys, {patientChanged, identityChanged, caseChanged}, now);
//
// Throws DbError; then nothing was stored and keys and record are unchanged.
#include <string>

#include "records/case_record.h"
#include "records/db/database.h"

// A page's own key texts (empty or "0" for none).
struct EntryKeys {
    std::string patient;
    std::string caseNumber;
};

struct EntryChanges {
    bool patientChanged = false;
    bool identityChanged = false;
    bool caseChanged = false;
    // The case the keys name was added by an earlier Save of the same visit
    // to the page: a changed case corrects it instead of adding another.
    bool caseAddedThisVisit = false;
};

// New-patient page: adds a patient on every call, and a first case when the
// case changed.
void StoreNewPatientPage(Database& db, CaseRecord& rec, EntryKeys& keys, bool caseChanged, double now);
// New-case page: patient row updated or added as a new patient, case added
// as the patient's next case, as the change flags say.
void StoreNewCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now);
// Existing-case page: never rewrites the case it opened; a changed case is
// added as a further case.
void StoreExistingCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now);
// User's choice page: stores the patient and case when they are new, then
// the definition row and the parameter row.
void StoreUserChoicePage(Database& db, CaseRecord& rec, EntryKeys& keys, double now);
