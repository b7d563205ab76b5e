#pragma once
// FHIR R4 resources as the record writes them, for bundles built in tests.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fhir/fhir_time.h"

using nlohmann::json;

inline long long UtcMinute(const std::string& text) { return std::get<FhirTime>(ReadFhirTime(text)).utcMinute; }

inline json Ucum(double value, const std::string& unit) {
    return {{"value", value}, {"unit", unit}, {"system", "http://unitsofmeasure.org"}, {"code", unit}};
}

inline json Coded(const std::string& system, const std::string& code) {
    return {{"coding", json::array({{{"system", system}, {"code", code}}})}};
}

inline json Entry(const json& resource) {
    return {{"fullUrl", "urn:uuid:" + resource.value("id", "")}, {"resource", resource}};
}

inline json Observation(const std::string& id, const std::string& loinc, const json& value, const std::string& when) {
    return Entry({{"resourceType", "Observation"},
                  {"id", id},
                  {"status", "final"},
                  {"code", Coded("http://loinc.org", loinc)},
                  {"subject", {{"reference", "Patient/p"}}},
                  {"effectiveDateTime", when},
                  {"valueQuantity", value}});
}

inline json Route(const std::string& snomed) { return Coded("http://snomed.info/sct", snomed); }
inline const char* const kIntravenous = "47625008";
inline const char* const kOral = "26643006";

// A completed administration; an IV one with its period.
inline json Administration(const std::string& id, const std::string& rxnorm, const json& dose, const std::string& route,
                           const std::string& start, const std::string& end = "") {
    json r = {{"resourceType", "MedicationAdministration"},
              {"id", id},
              {"status", "completed"},
              {"medicationCodeableConcept", Coded("http://www.nlm.nih.gov/research/umls/rxnorm", rxnorm)},
              {"subject", {{"reference", "Patient/p"}}},
              {"dosage", {{"route", Route(route)}, {"dose", dose}}}};
    if (end.empty()) r["effectiveDateTime"] = start;
    else r["effectivePeriod"] = {{"start", start}, {"end", end}};
    return Entry(r);
}

inline json MedicationWithForm(const std::string& id, const json& code, const std::string& snomedForm) {
    return {{"resourceType", "Medication"},
            {"id", id},
            {"code", code},
            {"form", Coded("http://snomed.info/sct", snomedForm)}};
}

// An oral dose naming its Medication by a reference text ("Medication/x"), or
// holding it contained when `medication` is the resource itself.
inline json OralDose(const std::string& id, double mg, const std::string& when, const json& medication) {
    json entry = Administration(id, "", Ucum(mg, "mg"), kOral, when);
    json& r = entry["resource"];
    r.erase("medicationCodeableConcept");
    if (medication.is_string()) {
        r["medicationReference"] = {{"reference", medication}};
    } else {
        r["medicationReference"] = {{"reference", "#" + medication.value("id", "")}};
        r["contained"] = json::array({medication});
    }
    return entry;
}

inline json Patient(const std::string& gender, const std::string& birthDate) {
    return Entry({{"resourceType", "Patient"},
                  {"id", "p"},
                  {"gender", gender},
                  {"birthDate", birthDate},
                  {"name", json::array({{{"family", "Roe"}, {"given", {"Sam"}}}})}});
}

inline json Bundle(const std::vector<json>& entries) {
    return {{"resourceType", "Bundle"}, {"type", "collection"}, {"entry", entries}};
}
