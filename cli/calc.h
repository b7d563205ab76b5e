#pragma once
#include "cli/json_fields.h"

struct CaseRecord;

// Runs one case as kinevo-calc does. `systemNow` is the moment used when the
// input has no "today". Throws BadInput for input the program would refuse.
Json RunCalc(const Json& input, double systemNow);

// The sections every run has: patient, drug, factors, route-product and
// parameter overrides read into `r`; measures, model, factors, population and
// warning written to `out`.
void ReadCase(const Json& input, double now, CaseRecord& r);
void WriteCase(const CaseRecord& r, Json& out);
