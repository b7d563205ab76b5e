#pragma once
// Saving the current case from the end page ("Save this Case in Database").
//
//   SaveRequest req;                 filled by the end page
//   req.endPageSource = EndSource::IvForecast; req.page = {...}; req.now = clock now;
//   SaveCase(db, TheCase(), req);    throws DbError; then nothing was stored
//
// All of one save is a single transaction: it lands whole or not at all, and
// the record's numbers, Date_created and DateText (mm/dd/yyyy, shown beside
// "Parameters Saved On ") and the request's key texts and flags change only
// when it landed.
#include <cstdint>
#include <string>

#include "records/case_record.h"
#include "records/db/database.h"
#include "records/navigation_codes.h"
#include "records/page_parameter_texts.h"

// What the end page and the entry pages hand to the save besides the record.
struct SaveRequest {
    EndSource endPageSource = EndSource::None;
    // The end page's key texts; a save that makes new numbers rewrites them.
    std::string patientKey, caseKey;
    // Set by the entry pages; a successful save clears them.
    bool patientChanged = false;
    bool patientIdentityChanged = false;
    bool caseChanged = false;
    PageParameterTexts page;
    // After printing: the set printed in the report.
    ParameterSet reportSet;
    double now = 0;  // a moment, from the program's clock
};

void SaveCase(Database& db, CaseRecord& rec, SaveRequest& req);
// The same on the database at the configured path.
void SaveCase(CaseRecord& rec, SaveRequest& req);

// Pieces the user's choice page stores too (inside the caller's transaction).
void StoreUserChoiceDefinition(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec);
void StoreUserChoiceParameters(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec);
