#pragma once
// The values that steer the walk from page to page, held beside the case
// record. The current patient and case numbers are the case record's
// PATIENT_REC_Num and Case_number.
#include <string>

#include "records/navigation_codes.h"
#include "records/page_parameter_texts.h"
#include "records/parameter_set.h"

struct Navigation {
    bool maximized = false;  // every page opens the way the last one closed
    bool newPatient = false;
    bool caseExists = false;
    bool newPatientSaved = false;
    // The record holds a new patient's case imported from the hospital
    // record, for the new-patient entry page to show when it next opens.
    bool caseImported = false;
    EndSource endPageSource = EndSource::None;
    ReportSource reportSource = ReportSource::None;
    // Set when the user goes back to the page from the report or end page.
    bool revisitResults = false;
    bool revisitIvForecast = false;
    bool revisitOralForecast = false;
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
    std::string newCasePatientKey;
    std::string existingCasePatientKey;
    std::string existingCaseCaseKey;
};

Navigation& Nav();

// The case record reset; it also ends work on a stored case and forgets the
// parameters the last page showed.
void ResetCaseAndFlags(bool newPatient);

// The page after the entry page: the user's choice page for zz, else the
// factor page (code 5 or 6).
int DrugPageCode();

// Writes the current patient (and case) numbers for the new-case and the
// existing-case entry pages.
void HandKeysToNewCaseEntry();
void HandKeysToExistingCaseEntry();
