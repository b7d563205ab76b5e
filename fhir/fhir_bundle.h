#pragma once
// A FHIR R4 Bundle from the hospital record read into one kinevo-calc case:
// the patient, the measurements and the dosing and level history of one
// drug. Nothing is guessed: whatever cannot be read exactly is listed with
// the reason and left out.
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fhir/fhir_codes.h"

// A resource, or a value in one, that the case does not hold.
struct FhirUnused {
    std::string where;  // "Observation/obs-7", or "entry[3]" when it has no id
    std::string reason;
};

struct FhirImport {
    nlohmann::json caseInput;                        // the kinevo-calc input: patient, drug, history
    std::string familyName, givenNames, identifier;  // the case input has no place for them
    std::vector<FhirUnused> unused;
    std::vector<std::string> checks;  // values entered that the record does not give
};

// A bundle that cannot be read at all: the one message, nothing imported.
struct FhirBundleError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads `bundle`. Doses and levels dated after `nowUtcMinute` (minutes since
// 1970-01-01T00:00Z) are not history yet. `drugCode` chooses the drug when
// the bundle holds doses or levels of more than one; empty: the only one.
FhirImport ImportFhirBundle(const nlohmann::json& bundle, long long nowUtcMinute, const std::string& drugCode = "");

// The drugs whose doses or levels `bundle` holds, in the order it first names
// them: more than one, and the import needs a `drugCode`. Throws
// FhirBundleError for a bundle that cannot be read at all.
std::vector<const FhirDrug*> DrugsInBundle(const nlohmann::json& bundle);
