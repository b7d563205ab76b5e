#include "records/db/entry_stores.h"

#include "records/db/case_rows.h"
#include "records/db/case_save.h"
#include "records/db/stored_text.h"

namespace {
struct Stored {
    std::int32_t patient = 0;
    std::int32_t caseNumber = 0;
};

// Runs one store in a transaction and hands the numbers back to the page and
// the record only once it landed.
template <class Work>
void InTransaction(Database& db, CaseRecord& rec, EntryKeys& keys, Work work) {
    Stored s{KeyNumber(keys.patient), KeyNumber(keys.caseNumber)};
    Transaction t(db);
    work(s);
    t.Commit();
    if (s.patient != 0) keys.patient = std::to_string(rec.PATIENT_REC_Num = s.patient);
    if (s.caseNumber != 0) keys.caseNumber = std::to_string(rec.Case_number = s.caseNumber);
}
}  // namespace

void StoreNewPatientPage(Database& db, CaseRecord& rec, EntryKeys& keys, bool caseChanged, double now) {
    InTransaction(db, rec, keys, [&](Stored& s) {
        s.patient = AddPatientRow(db, rec, now);
        s.caseNumber = caseChanged ? AddCaseRow(db, s.patient, rec, now) : 0;
    });
}

void StoreNewCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now) {
    InTransaction(db, rec, keys, [&](Stored& s) {
        if (changes.patientChanged && changes.identityChanged && PatientHasCases(db, s.patient))
            s.patient = AddPatientRow(db, rec, now);
        else if (changes.patientChanged)
            UpdatePatientRow(db, s.patient, rec, now);
        if (changes.caseChanged) s.caseNumber = AddCaseRow(db, s.patient, rec, now);
    });
}

void StoreExistingCasePage(Database& db, CaseRecord& rec, EntryKeys& keys, const EntryChanges& changes, double now) {
    InTransaction(db, rec, keys, [&](Stored& s) {
        if (changes.patientChanged && changes.identityChanged) {
            s.patient = AddPatientRow(db, rec, now);
            s.caseNumber = AddCaseRow(db, s.patient, rec, now);
            return;
        }
        if (changes.patientChanged) UpdatePatientRow(db, s.patient, rec, now);
        if (changes.caseChanged) s.caseNumber = AddCaseRow(db, s.patient, rec, now);
    });
}

void StoreUserChoicePage(Database& db, CaseRecord& rec, EntryKeys& keys, double now) {
    InTransaction(db, rec, keys, [&](Stored& s) {
        if (s.patient == 0) {
            s.patient = AddPatientRow(db, rec, now);
            s.caseNumber = AddCaseRow(db, s.patient, rec, now);
        } else if (s.caseNumber == 0) {
            s.caseNumber = AddCaseRow(db, s.patient, rec, now);
        }
        StoreUserChoiceDefinition(db, s.patient, s.caseNumber, rec);
        StoreUserChoiceParameters(db, s.patient, s.caseNumber, rec);
    });
}
