#pragma once
// The case input's patient, drug and history rows read into the record:
// kinevo-calc holds them to what a run needs, the import from the hospital
// record fills the entry and history pages with them for review.
#include <optional>
#include <string>

#include "fhir/json_fields.h"
#include "records/calendar.h"

struct CaseRecord;

// The "patient" object as given: each value checked for its kind only.
struct PatientInput {
    std::optional<CivilDate> birthday;
    std::optional<double> age;
    std::optional<std::string> sex;
    std::optional<double> weight, height, scr, crcl, albumin;  // kg, cm, mg/dL, mL/min, g/dL
};

// Throws BadInput for an unknown key, a number that is not one, a birthday
// that is no date YYYY-MM-DD.
PatientInput ReadPatientInput(const Json& patient);
// Writes the values given into `r` (the age counted at `now`); a value not
// given leaves the record's as it is, a sex other than M or F is not given.
void FillPatient(const PatientInput& p, double now, CaseRecord& r);

// The "drug" code in lower case; throws BadInput when missing or unknown.
std::string ReadDrugCode(const Json& input);

// The "history" object's dose and level rows, at most 10 of each, checked
// as the history page checks each field (routes against `r`'s drug), into
// `r.history`'s rows. Throws BadInput naming the field.
void ReadHistoryRows(const Json& history, CaseRecord& r);
