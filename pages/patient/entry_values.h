#pragma once
// What the entry pages' fields hold, as texts, and how they meet the case
// record: shown from it, filled into it, and compared with what is stored.
#include <QString>
#include <QStringList>
#include <optional>

#include "pages/widgets/field_number.h"
#include "records/db/entry_stores.h"

struct CaseRecord;

struct EntryValues {
    // Patient part.
    QString lastName, firstName, hospitalId, birthday;
    QString sex;  // "M", "F", or empty while none is chosen
    QString patientNote, patientUpdated;
    // Case part.
    QString drug;  // the list name
    QString weight, height, scr, clcr, albumin;
    bool pounds = false, inches = false;
    bool crsChosen = true;  // false: the clearance is entered
    QString caseNote, caseUpdated;

    bool SameIdentity(const EntryValues& o) const;
    bool SamePatient(const EntryValues& o) const;
    bool SameCase(const EntryValues& o) const;
};

inline constexpr int kNoteLimit = 150;
inline constexpr const char* kPhenytoin = "Phenytoin";

// The drug list: the catalogue's names in alphabetical order, without
// netilmicin (a netilmicin case can only come from the database).
QStringList EntryDrugNames();

// The page of a new patient before anything is typed: kg and cm, "Crs:".
EntryValues BlankEntry();
// The record's values; the case part stays blank unless `withCase`.
EntryValues EntryValuesOf(const CaseRecord& r, bool withCase);
// Writes the patient and case parts (values that passed the field checks);
// Age is counted at `now`.
void FillRecord(const EntryValues& v, CaseRecord& r, double now);
// What differs from the values last stored (or loaded).
EntryChanges ChangesSince(const EntryValues& held, const EntryValues& shown);
