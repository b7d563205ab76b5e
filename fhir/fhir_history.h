#pragma once
// The dosing and level history of the import: the record's doses gathered
// into the history's rows and held to its limits.
#include <string>
#include <vector>

#include "fhir/fhir_bundle.h"
#include "fhir/fhir_time.h"

// One row of the history: `doses` doses of `dose` every `intervalMinutes`.
struct RegimenRow {
    FhirTime start;
    double dose = 0;
    std::string route;
    double infusionHours = 0;
    long long intervalMinutes = 0;  // 0: the record gives none (a single dose)
    int doses = 1;
    int eventsPerDose = 1;  // an oral phenytoin dose is absorbed in portions, each an event
    std::string status;     // "I" given on the ward, "O" taken at home
    std::vector<std::string> sources;
};

struct MeasuredLevel {
    FhirTime time;
    double level = 0;
    std::string where;
};

inline constexpr std::size_t kHistoryRows = 10;
inline constexpr long long kHistoryDoseEvents = 1000;

// Given doses in one row each, sorted by time, with consecutive rows alike in
// dose, route and infusion time and evenly spaced joined into one.
std::vector<RegimenRow> JoinEvenDoses(std::vector<RegimenRow> single);

// Writes the history section of `out.caseInput` from `rows` and `levels`:
// the latest rows and levels within the limits, the rest listed as unused.
// All times are written at the offset of the earliest one kept.
void WriteHistory(std::vector<RegimenRow> rows, std::vector<MeasuredLevel> levels, FhirImport& out);
