#pragma once
// The building blocks of every store: new key numbers and the patient and
// case rows written from the case record. They take no transaction of their
// own; SaveCase and the entry-page stores run them inside one, so the
// largest-key reads and the inserts happen under one write lock.
#include <cstdint>

#include "records/case_record.h"
#include "records/db/database.h"

// 1 + the largest stored number (1 for an empty table or a patient without
// cases). A number freed by deleting the highest one is used again.
std::int32_t NewPatientRecNum(Database& db);
std::int32_t NewCaseNumber(Database& db, std::int32_t patient);
bool PatientHasCases(Database& db, std::int32_t patient);

// Throws DbError (DbFault::PatientChanged) unless the patient row still
// exists and carries `expected`: another workstation may have deleted the
// patient or given the number to someone else since this program read it.
void RequireStoredPatient(Database& db, std::int32_t patient, const PatientIdentity& expected);

// Adds the PatientBasic row under a new number and returns it.
std::int32_t AddPatientRow(Database& db, const CaseRecord& rec, double now);
// Rewrites names, ID, sex, birthday and note, with DATE_STORED = now.
void UpdatePatientRow(Database& db, std::int32_t patient, const CaseRecord& rec, double now);
// Adds the case as the patient's next case (1 for the first) and returns
// its number.
std::int32_t AddCaseRow(Database& db, std::int32_t patient, const CaseRecord& rec, double now);
// Rewrites the case columns of a stored case; its regimen columns stay.
void UpdateCaseRow(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec, double now);
