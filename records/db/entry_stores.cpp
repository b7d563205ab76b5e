#include "records/db/entry_stores.h"

#include "records/db/case_rows.h"
#include "records/db/case_save.h"
#include "records/db/stored_text.h"

namespace {
struct Stored {
    std::int32_t patient = 0;
    std::int32_t caseNumber = 0;
    bool patientWritten = false;
    bool caseWritten = false;
};

// Runs one store in a transaction and hands the numbers back to the page and
// the record only once it landed. A stored patient is checked first: a row
// deleted or renumbered elsewhere must not receive this patient's case.
template <class Work>
void InTransaction(Database& db, CaseRecord& rec, EntryKeys& keys, double now, Work work) {
    Stored s{KeyNumber(keys.patient), KeyNumber(keys.caseNumber)};
    Transaction t(db);
    if (s.patient != 0) RequireStoredPatient(db, s.patient, rec.storedIdentity);
    work(s);
    t.Commit();
    if (s.patient != 0) keys.patient = std::to_string(rec.PATIENT_REC_Num = s.patient);
    // A patient added anew may have no case yet.
    rec.Case_number = s.caseNumber;
    keys.caseNumber = s.caseNumber != 0 ? std::to_string(s.caseNumber) : std::string();
    if (s.patientWritten) {
        rec.storedIdentity = IdentityOf(rec);
        rec.DATE_STORED = now;
    }
    if (s.caseWritten) rec.Date_created = now;
}

// A new patient has no case yet, whatever case the page held before.
void AddPatient(Database& db, const CaseRecord& rec, double now, Stored& s) {
    s.patient = AddPatientRow(db, rec, now);
    s.caseNumber = 0;
    s.patientWritten = true;
}

void AddCase(Database& db, const CaseRecord& rec, double now, Stored& s) {
    s.caseNumber = AddCaseRow(db, s.patient, rec, now);
    s.caseWritten = true;
}

// A second Save of the same visit corrects the case the first one added,
// so the patient's list never shows a stale twin of it.
void StoreChangedCase(Database& db, const CaseRecord& rec, double now, Stored& s, const EntryChanges& changes) {
    if (!changes.caseChanged) return;
    if (!changes.caseAddedThisVisit || s.caseNumber == 0) return AddCase(db, rec, now, s);
    UpdateCaseRow(db, s.patient, s.caseNumber, rec, now);
    s.caseWritten = true;
}
}  // namespace

void StoreNewPatientPage(Database& db, CaseRecord& rec, EntryKeys& keys, bool caseChanged, double now) {
    InTransaction(db, rec, keys, now, [&](Stored& s) {
        AddPatient(db, rec, now, s);
        if (caseChanged) AddCase(db, rec, now, s);
    });
}

void StoreNewCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now) {
    InTransaction(db, rec, keys, now, [&](Stored& s) {
        // Number 0: the patient was never stored, so this store adds them.
        if (s.patient == 0 || (changes.patientChanged && changes.identityChanged && PatientHasCases(db, s.patient))) {
            AddPatient(db, rec, now, s);
        } else if (changes.patientChanged) {
            UpdatePatientRow(db, s.patient, rec, now);
            s.patientWritten = true;
        }
        StoreChangedCase(db, rec, now, s, changes);
    });
}

void StoreExistingCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now) {
    InTransaction(db, rec, keys, now, [&](Stored& s) {
        if (s.patient == 0 || (changes.patientChanged && changes.identityChanged)) {
            AddPatient(db, rec, now, s);
            AddCase(db, rec, now, s);
            return;
        }
        if (changes.patientChanged) {
            UpdatePatientRow(db, s.patient, rec, now);
            s.patientWritten = true;
        }
        StoreChangedCase(db, rec, now, s, changes);
    });
}

void StoreUserChoicePage(Database& db, CaseRecord& rec, EntryKeys& keys, double now) {
    InTransaction(db, rec, keys, now, [&](Stored& s) {
        if (s.patient == 0) {
            AddPatient(db, rec, now, s);
            AddCase(db, rec, now, s);
        } else if (s.caseNumber == 0) {
            AddCase(db, rec, now, s);
        }
        StoreUserChoiceDefinition(db, s.patient, s.caseNumber, rec);
        StoreUserChoiceParameters(db, s.patient, s.caseNumber, rec);
    });
}
