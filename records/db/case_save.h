#pragma once
// Saving the current case from the end page ("Save this Case in Database").
//
//   SaveRequest req;                 filled by the end page
//   req.endPageSource = 4; req.page = {...}; req.now = clock now;
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

// The parameter fields of the page that led to the end page, as shown.
struct PageParameterTexts {
    std::string F, Vd, Cl, CF, Km, Vmax;
    // The values behind F and CF on the oral/IM regimen page (source 2),
    // stored as "%.2f".
    double FValue = 0, CFValue = 0;
};

// End-page sources: which page led to the end page.
enum EndPageSource {
    kSourceNone = 0,
    kSourceIvRegimen = 1,          // page 141
    kSourceOralRegimen = 2,        // page 142
    kSourcePhenytoinRegimen = 3,   // page 143
    kSourceIvForecast = 4,         // page 145
    kSourceOralForecast = 5,       // page 150
    kSourcePhenytoinForecast = 6,  // page 149
    kSourceAnalysisResults = 8,    // page 156
    kSourceReportPrinted = 91,
    kSourceFittedReportPrinted = 92,
};

// What the end page and the entry pages hand to the save besides the record.
struct SaveRequest {
    int endPageSource = kSourceNone;
    // The end page's key texts; a save that makes new numbers rewrites them.
    std::string patientKey, caseKey;
    // Set by the entry pages; a successful save clears them.
    bool patientChanged = false;
    bool patientIdentityChanged = false;
    bool caseChanged = false;
    PageParameterTexts page;
    // Sources 91 and 92: the set printed in the report.
    ParameterSet reportSet;
    double now = 0;  // a moment, from the program's clock
};

void SaveCase(Database& db, CaseRecord& rec, SaveRequest& req);
// The same on the database at the configured path.
void SaveCase(CaseRecord& rec, SaveRequest& req);

// Pieces the user's choice page stores too (inside the caller's transaction).
void StoreUserChoiceDefinition(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec);
void StoreUserChoiceParameters(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec);
