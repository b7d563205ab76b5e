#pragma once
// The patient list's queries and deletions.
//
//   PatientList list = SearchPatients(db, SearchByLastName("smi"));
//   for (auto& p : list.patients) ... p.cases (newest first) ...
//   DeletePatient(db, p.recNum);  DeleteCase(db, p.recNum, caseNumber);
//
// Typed text is bound as a LIKE prefix with its own %, _ and \ taken
// literally; dates are bound as ISO texts. Errors throw DbError with the
// engine's text (the list page shows it and goes back to the welcome page).
#include <cstdint>
#include <string>
#include <vector>

#include "records/db/database.h"

inline constexpr int kMaxListedPatients = 500;

enum class SearchMode { None = 0, LastName = 1, PatientId = 2, Dates = 3 };

struct PatientSearch {
    SearchMode mode = SearchMode::None;
    std::string text;                // last name or ID prefix, as typed
    std::string startDate, endDate;  // "yyyy-mm-dd" (a "/" counts as "-")
};
PatientSearch SearchByLastName(const std::string& typed);
PatientSearch SearchById(const std::string& typed);
PatientSearch SearchByDates(const std::string& start, const std::string& end);

// One case row of the list, with the stored texts the grid formats.
struct ListedCase {
    std::int32_t caseNumber = 0;
    std::string drugId;        // upper case, as stored
    std::string userDrugName;  // the user's choice name of a ZZ case
    std::string Wt, Ht, SCr, CrCl, Albumin;
    bool kg = true, cm = true;
    double dateCreated = 0;  // moment
};

struct ListedPatient {
    std::int32_t recNum = 0;
    std::string patientId, firstName, lastName;
    bool male = false;
    double birthday = 0;            // moment
    double dateStored = 0;          // moment
    std::vector<ListedCase> cases;  // newest first
};

struct PatientList {
    std::vector<ListedPatient> patients;  // by last name, at most kMaxListedPatients
    // More patients matched than are listed: the page shows "More than 500
    // patients were found. ..."
    bool overLimit = false;
    int caseCount = 0;
};

// Mode 1: last names starting with the text; 2: IDs starting with it;
// 3: stored between the two dates (inclusive, at midnight) and with no case
// created on or after the end date. A date that is not yyyy-mm-dd raises
// DbError, as a malformed date literal does. Mode None lists nobody.
PatientList SearchPatients(Database& db, const PatientSearch& search);

// The patient row and every row of the patient in the five case tables.
void DeletePatient(Database& db, std::int32_t patient);
// Every row of the case in the five case tables.
void DeleteCase(Database& db, std::int32_t patient, std::int32_t caseNumber);
// All the listed patients, as one deletion.
void DeletePatients(Database& db, const std::vector<std::int32_t>& patients);
