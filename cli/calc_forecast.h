#pragma once
// The user's choice drug, forecast, design and phenytoin sections of
// kinevo-calc.
#include <functional>

#include "fhir/json_fields.h"

struct CaseRecord;
struct RegimenModel;

// Reads "user_drug" into the record and applies it (drug ZZ only).
void ReadUserDrug(const Json& input, CaseRecord& r);

// Each writes its output section when its input section is given.
void RunForecastSection(const Json& input, const CaseRecord& r, Json& out);
void RunDesignSection(const Json& input, const CaseRecord& r, Json& out);
void RunPhenytoinSection(const Json& input, const CaseRecord& r, Json& out);

// Shared by the sections: keys of `object` the product's page does not have
// are refused; a given number goes through the page's field check.
void CheckPageKeys(const Json& object, const std::string& where, std::initializer_list<const char*> used,
                   const CaseRecord& r);
using FieldCheck = std::function<std::optional<std::string>(double)>;
std::optional<double> CheckedNumber(const Json& object, const std::string& where, const char* key,
                                    const FieldCheck& problem);
// The current set with the product's salt, ka and bioavailability.
RegimenModel SectionModel(const CaseRecord& r);
