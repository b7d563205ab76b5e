#pragma once
// The regimen a level forecast page hands to the report: its fields' texts
// as shown, the route, the fit type of the set in use and the uneven doses.
#include "records/page_texts.h"
#include "records/report_regimen.h"

struct CaseRecord;

ReportRegimen ForecastHandOver(const CaseRecord& r, const PageTexts& shown, int unevenCount);
