#pragma once
// Reading the pieces of FHIR resources that the import needs; each either
// gives the value or says why it cannot.
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fhir/fhir_codes.h"

using FhirJson = nlohmann::json;

// The string member `key` of `object`, empty when absent or not a string.
std::string TextOf(const FhirJson& object, const char* key);
// The codes of `codeable` (a CodeableConcept) in `system`.
std::vector<std::string> CodesIn(const FhirJson& codeable, const char* system);

struct Quantity {
    double value = 0;
    std::string ucum;
};
// A Quantity with a value and a UCUM code; none with the reason in `problem`.
std::optional<Quantity> ReadQuantity(const FhirJson& quantity, std::string& problem);

// "IV", "IM" or "O" from a Dosage's route; none with the reason in `problem`.
std::optional<std::string> ReadRoute(const FhirJson& dosage, std::string& problem);
