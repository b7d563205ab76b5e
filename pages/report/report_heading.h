#pragma once
// The report's heading taken from the header the working pages show.
#include "output/report_content.h"

ReportHeading ReportHeadingOf(const CaseRecord& r, double now);
