#pragma once
// What the entry pages open on: the stored patient and case their keys name,
// read into the record, and the values stored for them.
#include <cstdint>

#include "pages/patient/entry_values.h"

// The record holds a case typed on an entry page (every case has a weight).
bool RecordHoldsCase();

// Makes the record hold the stored patient (and case) the keys name. Kept as
// it is: a patient never stored (number 0), and the same patient and case
// coming back with typed changes not yet stored.
void LoadRecord(std::int32_t patient, std::int32_t caseNumber);

// What the database holds for the keys, as the page would show it; nothing
// for a patient never stored.
EntryValues StoredValues(std::int32_t patient, std::int32_t caseNumber);
