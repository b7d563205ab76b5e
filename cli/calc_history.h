#pragma once
#include "fhir/json_fields.h"

struct CaseRecord;

// The "history" and "curves" inputs: reads the rows, accepts them as the
// history page does (a refusal is bad input with the page's message), runs
// both fits and writes "history", "fits" and, when asked, "curves". Does
// nothing when the input has no history.
void RunHistorySection(const Json& input, CaseRecord& r, Json& out);
