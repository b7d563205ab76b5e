#pragma once
#include <optional>

#include "fhir/json_fields.h"

struct Posterior;

// The "posterior" section: the draws of the stored Bayesian set's
// parameters given the levels, with their quantiles; null when the fit made
// no usable Bayesian set and nothing was drawn.
Json PosteriorJson(const std::optional<Posterior>& posterior, bool phenytoin);
