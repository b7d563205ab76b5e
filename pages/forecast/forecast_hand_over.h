#pragma once
// The regimen a level forecast page hands to the report: its fields' texts
// as shown, the route, the fit type of the set in use and the uneven doses.
#include "records/page_texts.h"
#include "records/regimen.h"
#include "records/report_regimen.h"

struct CaseRecord;

ReportRegimen ForecastHandOver(const CaseRecord& r, const PageTexts& shown, int unevenCount);

// The regimen a level forecast or results page leaves for the end page's
// save: its dose (or rate), interval, infusion and post times as shown.
SavedRegimen RegimenShown(const CaseRecord& r, const PageTexts& shown);
