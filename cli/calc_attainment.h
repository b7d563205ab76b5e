#pragma once
#include "fhir/json_fields.h"

struct CaseRecord;
struct Posterior;

// Adds "attainment" to the "posterior" section: for the "forecast", "design"
// and "results" regimens given, the share of the draws reaching the case's
// goals, with the words the pages show; and the practical regimen of the
// usual doses for vancomycin and the aminoglycosides.
void AddAttainment(const Json& input, const CaseRecord& r, const Posterior& posterior, Json& out);
