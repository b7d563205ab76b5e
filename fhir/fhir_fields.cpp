#include "fhir/fhir_fields.h"

#include <cmath>

std::string TextOf(const FhirJson& object, const char* key) {
    if (!object.is_object()) return {};
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::vector<std::string> CodesIn(const FhirJson& codeable, const char* system) {
    std::vector<std::string> codes;
    if (!codeable.is_object() || !codeable.contains("coding") || !codeable.at("coding").is_array()) return codes;
    for (const FhirJson& coding : codeable.at("coding"))
        if (TextOf(coding, "system") == system && !TextOf(coding, "code").empty())
            codes.push_back(TextOf(coding, "code"));
    return codes;
}

std::optional<Quantity> ReadQuantity(const FhirJson& quantity, std::string& problem) {
    const auto value = quantity.is_object() ? quantity.find("value") : quantity.end();
    if (!quantity.is_object()) problem = "no quantity";
    else if (quantity.contains("comparator"))
        problem = "a bound (" + TextOf(quantity, "comparator") + "), not a measured value";
    else if (value == quantity.end() || !value->is_number() || !std::isfinite(value->get<double>()))
        problem = "the quantity has no numeric value";
    else if (TextOf(quantity, "system") != kUcumSystem || TextOf(quantity, "code").empty())
        problem = "unit \"" + TextOf(quantity, "unit") + "\" is not given as a UCUM code";
    else return Quantity{value->get<double>(), TextOf(quantity, "code")};
    return std::nullopt;
}

std::optional<std::string> ReadRoute(const FhirJson& dosage, std::string& problem) {
    if (dosage.is_object() && dosage.contains("route"))
        for (const std::string& code : CodesIn(dosage.at("route"), kSnomedSystem))
            if (const auto route = RouteOfSnomed(code)) return route;
    problem = "no route by a SNOMED CT code read here (IV 47625008, IM 78421000, oral 26643006)";
    return std::nullopt;
}
