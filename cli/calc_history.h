#pragma once
#include <optional>

#include "engine/posterior.h"
#include "fhir/json_fields.h"

struct CaseRecord;

// The "history" and "curves" inputs: reads the rows, accepts them as the
// history page does (a refusal is bad input with the page's message), runs
// both fits and writes "history", "fits" and, when asked, "posterior" and
// "curves". Does nothing when the input has no history. Returns the
// posterior's draws when they were asked for and could be drawn.
std::optional<Posterior> RunHistorySection(const Json& input, CaseRecord& r, Json& out);
