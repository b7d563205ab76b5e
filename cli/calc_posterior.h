#pragma once
#include "fhir/json_fields.h"

struct CaseRecord;

// The "posterior" section: draws of the stored Bayesian set's parameters
// given the levels, with their quantiles; null when the fit made no usable
// Bayesian set.
Json PosteriorJson(const CaseRecord& r, bool fitted);
