#pragma once
// The values that steer the walk from page to page, held beside the case
// record. The current patient and case numbers are the case record's
// PATIENT_REC_Num and Case_number.
#include <string>

#include "records/db/case_save.h"

struct Navigation {
    bool maximized = false;  // every page opens the way the last one closed
    bool newPatient = false;
    bool caseExists = false;
    bool newPatientSaved = false;
    // Which page led to the end page: 1 page 141, 2 page 142, 3 page 143,
    // 4 page 145, 5 page 150, 6 page 149, 8 page 156, 91/92 report printed.
    int endPageSource = 0;
    // Which page opened the report: 1 page 145, 2 page 150, 3 page 149,
    // 4 Bayes report of page 156, 5 least-squares report of page 156.
    int reportSource = 0;
    bool revisitResults = false;       // page 156
    bool revisitIvForecast = false;    // page 145
    bool revisitOralForecast = false;  // page 150
    // Set by the entry pages when the patient, their identity or the case
    // differ from what is stored; a save clears them.
    bool patientChanged = false;
    bool patientIdentityChanged = false;
    bool caseChanged = false;
    // What the page that led to the end page shows, for the save: its
    // parameter texts, and the set a printed report used.
    PageParameterTexts shownParameters;
    ParameterSet printedSet;
    // Keys written as decimal text for the entry page that opens next.
    std::string newCasePatientKey;       // page 136
    std::string existingCasePatientKey;  // page 138
    std::string existingCaseCaseKey;     // page 138
};

Navigation& Nav();

// The case record reset; it also ends work on a stored case and forgets the
// parameters the last page showed.
void ResetCaseAndFlags(bool newPatient);

// The page after the entry page: the user's choice page for zz, else the
// factor page (code 5 or 6).
int DrugPageCode();

// Writes the current patient (and case) numbers for pages 136 and 138.
void HandKeysToNewCaseEntry();
void HandKeysToExistingCaseEntry();
