#pragma once
// kinevo-calc --fhir: a bundle from the hospital record turned into a case.
#include <string>

#include "cli/calc.h"

struct FhirOutcome {
    CalcOutcome calc;    // the case (or, with `run`, its results) or the refusal
    std::string report;  // lines for standard error: the patient, what was not used and why
};

// Reads the bundle `text` and prints the case it gives, or runs it when `run`.
// `nowUtcMinute` bounds the history; `systemNow` is a run's "today". Never throws.
FhirOutcome RunFhirText(const std::string& text, long long nowUtcMinute, double systemNow, const std::string& drug,
                        bool run) noexcept;
