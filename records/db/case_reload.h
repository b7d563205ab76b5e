#pragma once
// Reading stored cases back.
//
//   ReloadCase(db, rec, now)   the patient rec.PATIENT_REC_Num and, when
//                              rec.Case_number is not 0, that case, into rec
//   ReadStoredHistory          the histories, for the history page
//   ReadParameterRow           the saved parameter row, for Import Saved Parameters
//   ReadCaseRow                the stored case row as it is now
//   ReadUserChoiceRow          the user's choice definition row
//
// Errors (a patient or case no longer stored among them) throw DbError.
#include <cstdint>
#include <optional>

#include "records/case_record.h"
#include "records/db/database.h"
#include "records/db/record_sets.h"

// `now` is the moment the age is counted at.
void ReloadCase(Database& db, CaseRecord& rec, double now);
void ReloadCase(CaseRecord& rec, double now);

// Dose rows in the order of their date and time, level rows by number;
// `present` stays false (the history page sets it).
History ReadStoredHistory(Database& db, std::int32_t patient, std::int32_t caseNumber);
std::optional<ParameterRow> ReadParameterRow(Database& db, std::int32_t patient, std::int32_t caseNumber);
std::optional<PatientCaseRow> ReadCaseRow(Database& db, std::int32_t patient, std::int32_t caseNumber);
std::optional<UserChoiceRow> ReadUserChoiceRow(Database& db, std::int32_t patient, std::int32_t caseNumber);
