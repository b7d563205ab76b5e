#pragma once
#include "fhir/json_fields.h"

struct CaseRecord;

// The "results" input: a regimen typed on the detailed results page, after
// the history's fits. Writes "results" with each level for the population,
// least-squares and Bayesian sets and the 95 % ranges of the fitted ones.
void RunResultsSection(const Json& input, const CaseRecord& r, Json& out);
