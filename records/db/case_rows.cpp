#include "records/db/case_rows.h"

#include <cmath>

#include "records/db/record_sets.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"
#include "records/units.h"

namespace {

void WritePatientColumns(Cpbasicset& b, const CaseRecord& rec, double now) {
    b.PATIENT_LAST_NAME = rec.PATIENT_LAST_NAME;
    b.PATIENT_FIRST_NAME = rec.PATIENT_FIRST_NAME;
    b.DATE_STORED = now;
    b.Patient_ID = rec.Patient_ID;
    b.SEX = rec.SEX == "M";
    b.BIRTHDAY = MomentOf(rec.BIRTHDAY);
    b.Patient_Note = rec.Patient_Note;
}

void WriteCaseColumns(Cpcaseset& c, const CaseRecord& rec, double now) {
    c.Date_created = now;
    c.Drug_ID = ToUpper(rec.Drug_ID);
    // Measures come back as they were entered: kg, cm and the lab values
    // exactly, pounds and inches to the two decimals the entry page shows.
    c.kg = rec.WtUnit != "lb";
    c.Wt = c.kg ? ExactNumber(rec.Wt) : StoredNumber("%.2f", rec.Wt * kLbPerKg);
    c.cm = rec.HtUnit != "in";
    c.Ht = c.cm ? ExactNumber(rec.Ht) : StoredNumber("%.2f", rec.Ht * kInchPerCm);
    c.SCr = ExactNumber(rec.SCr);
    c.CrCl = ExactNumber(rec.CrCl);
    c.Albumin = ExactNumber(rec.Albumin);
    c.Case_Note = rec.Case_Note;
    // The first ticked factor, and the last further one.
    c.factor_1 = c.factor_2 = 0;
    for (int i = 0; i < kFactorFlagCount; ++i) {
        if (!rec.FactorFlags[i]) continue;
        if (c.factor_1 == 0) c.factor_1 = i;
        else c.factor_2 = i;
    }
}
}  // namespace

std::int32_t NewPatientRecNum(Database& db) {
    return static_cast<std::int32_t>(
        QueryInt(db, "SELECT COALESCE(MAX(\"PATIENT REC Num\"), 0) + 1 FROM \"PatientBasic\""));
}

std::int32_t NewCaseNumber(Database& db, std::int32_t patient) {
    return static_cast<std::int32_t>(
        QueryInt(db, "SELECT COALESCE(MAX(\"Case number\"), 0) + 1 FROM \"PatientCase\" WHERE \"Patient Rec Num\" = ?",
                 {std::int64_t{patient}}));
}

bool PatientHasCases(Database& db, std::int32_t patient) {
    return QueryInt(db,
                    "SELECT CASE WHEN EXISTS (SELECT 1 FROM \"PatientCase\" WHERE \"Patient Rec Num\" = ?) THEN 1 ELSE "
                    "0 END",
                    {std::int64_t{patient}}) != 0;
}

void RequireStoredPatient(Database& db, std::int32_t patient, const PatientIdentity& expected) {
    Cpbasicset b;
    b.Open(db, {"\"PATIENT REC Num\" = ?", {std::int64_t{patient}}, ""});
    if (b.IsEOF()) throw DbError(kPatientChangedText, DbFault::PatientChanged);
    const PatientIdentity stored{b.PATIENT_LAST_NAME, b.PATIENT_FIRST_NAME, b.Patient_ID,
                                 DateOfDayNumber(static_cast<long>(std::floor(b.BIRTHDAY)))};
    if (!(stored == expected)) throw DbError(kPatientChangedText, DbFault::PatientChanged);
}

std::int32_t AddPatientRow(Database& db, const CaseRecord& rec, double now) {
    const std::int32_t number = NewPatientRecNum(db);
    Cpbasicset b;
    b.Open(db, NoRows());
    b.AddNew();
    b.PATIENT_REC_Num = number;
    WritePatientColumns(b, rec, now);
    b.Update();
    return number;
}

void UpdatePatientRow(Database& db, std::int32_t patient, const CaseRecord& rec, double now) {
    Cpbasicset b;
    b.Open(db, {"\"PATIENT REC Num\" = ?", {std::int64_t{patient}}, ""});
    if (b.IsEOF()) throw DbError("No patient with record number " + std::to_string(patient) + ".");
    b.Edit();
    WritePatientColumns(b, rec, now);
    b.Update();
}

std::int32_t AddCaseRow(Database& db, std::int32_t patient, const CaseRecord& rec, double now) {
    const std::int32_t number = NewCaseNumber(db, patient);
    Cpcaseset c;
    c.Open(db, NoRows());
    c.AddNew();
    c.Patient_Rec_Num = patient;
    c.Case_number = number;
    WriteCaseColumns(c, rec, now);
    c.Update();
    return number;
}

void UpdateCaseRow(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec, double now) {
    Cpcaseset c;
    c.Open(db, CaseFilter(patient, caseNumber));
    if (c.IsEOF())
        throw DbError("No case " + std::to_string(caseNumber) + " of patient " + std::to_string(patient) + ".");
    c.Edit();
    WriteCaseColumns(c, rec, now);
    c.Update();
}
