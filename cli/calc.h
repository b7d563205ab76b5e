#pragma once
#include <string>

#include "fhir/json_fields.h"

struct CaseRecord;

// What one run prints: exit code 0 with the result text for stdout, or exit
// code 2 with a one-line message (no line end) for stderr.
struct CalcOutcome {
    int exitCode = 2;
    std::string output;
    std::string error;
    bool internalFault = false;  // the failure was the program's, not the input's
};

// Runs kinevo-calc on an input text. Never throws: any failure, in the input
// or inside the program, is exit code 2 with its message.
CalcOutcome RunCalcText(const std::string& text, double systemNow) noexcept;

// Runs one case as kinevo-calc does. `systemNow` is the moment used when the
// input has no "today". Throws BadInput for input the program would refuse.
Json RunCalc(const Json& input, double systemNow);

// The sections every run has: patient, drug, factors, route-product and
// parameter overrides read into `r`; measures, model, factors, population and
// warning written to `out`.
void ReadCase(const Json& input, double now, CaseRecord& r);
void WriteCase(const CaseRecord& r, Json& out);
