#include "records/db/case_reload.h"

#include <cmath>

#include "records/db/configuration.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"
#include "records/units.h"

namespace {
// Reload's own factors, not the inverses of the save's.

CivilDate DateOfMoment(double moment) { return DateOfDayNumber(static_cast<long>(std::floor(moment))); }

void TimeOfMoment(double moment, int& hour, int& minute) {
    const long minutes = std::lround((moment - std::floor(moment)) * 1440.0) % 1440;
    hour = static_cast<int>(minutes / 60);
    minute = static_cast<int>(minutes % 60);
}

template <class Row>
std::optional<Row> FirstRow(Database& db, const RowQuery& q) {
    RecordSet<Row> s;
    s.Open(db, q);
    if (s.IsEOF()) return std::nullopt;
    return static_cast<const Row&>(s);
}
}  // namespace

void ReloadCase(Database& db, CaseRecord& rec, double now) {
    Cpbasicset b;
    b.Open(db, {"\"PATIENT REC Num\" = ?", {std::int64_t{rec.PATIENT_REC_Num}}, ""});
    if (b.IsEOF()) throw DbError("No patient with record number " + std::to_string(rec.PATIENT_REC_Num) + ".");
    rec.PATIENT_LAST_NAME = b.PATIENT_LAST_NAME;
    rec.PATIENT_FIRST_NAME = b.PATIENT_FIRST_NAME;
    rec.DisplayName = b.PATIENT_LAST_NAME + ", " + b.PATIENT_FIRST_NAME;
    rec.SEX = b.SEX ? "M" : "F";
    SetBirthday(rec, DateOfMoment(b.BIRTHDAY), now);
    rec.Patient_ID = rec.Patient_ID2 = b.Patient_ID;
    rec.DATE_STORED = b.DATE_STORED;
    rec.Patient_Note = b.Patient_Note;
    rec.storedIdentity = IdentityOf(rec);
    if (rec.Case_number == 0) return;

    Cpcaseset c;
    c.Open(db, CaseFilter(rec.PATIENT_REC_Num, rec.Case_number));
    if (c.IsEOF())
        throw DbError("No case " + std::to_string(rec.Case_number) + " of patient " +
                      std::to_string(rec.PATIENT_REC_Num) + ".");
    rec.WtEntered = TextNumber(c.Wt);
    rec.WtUnit = c.kg ? "kg" : "lb";
    rec.Wt = c.kg ? rec.WtEntered : rec.WtEntered * kKgPerLb;
    rec.HtEntered = TextNumber(c.Ht);
    rec.HtUnit = c.cm ? "cm" : "in";
    rec.Ht = c.cm ? rec.HtEntered : rec.HtEntered * kCmPerInch;
    // Only the stored factors are ticked; 0 and anything past 49 mark none.
    rec.FactorFlags.fill(0);
    for (const std::int32_t f : {c.factor_1, c.factor_2})
        if (f >= 1 && f < kFactorFlagCount) rec.FactorFlags[f] = 1;
    rec.SCr = TextNumber(c.SCr);
    rec.CrCl = TextNumber(c.CrCl);
    rec.Albumin = TextNumber(c.Albumin);
    rec.Drug_ID = ToLower(c.Drug_ID);
    rec.Case_Note = c.Case_Note;
    rec.Date_created = c.Date_created;
}

void ReloadCase(CaseRecord& rec, double now) {
    Database db(ConfiguredDatabasePath());
    ReloadCase(db, rec, now);
}

History ReadStoredHistory(Database& db, std::int32_t patient, std::int32_t caseNumber) {
    History h;
    RowQuery q = CaseFilter(patient, caseNumber);
    q.sort = "\"Date\", \"Time\", \"Dosing Hx Num\"";
    Cpcasedhset d;
    for (d.Open(db, q); !d.IsEOF(); d.MoveNext()) {
        DoseRow row;
        row.date = DateOfMoment(d.Date);
        TimeOfMoment(d.Time, row.hour, row.minute);
        row.dose = TextNumber(d.Dose);
        row.route = d.Route;
        row.infusionTime = TextNumber(d.Infusion_time);
        row.interval = TextNumber(d.Interval);
        row.doses = d.Doses;
        row.status = d.Outpat ? "O" : "I";
        h.doseRows.push_back(row);
    }
    q.sort = "\"Level Hx Num\"";
    Cpcaselhset l;
    for (l.Open(db, q); !l.IsEOF(); l.MoveNext()) {
        LevelRow row;
        row.date = DateOfMoment(l.Date);
        TimeOfMoment(l.time, row.hour, row.minute);
        row.level = TextNumber(l.Level);
        h.levelRows.push_back(row);
    }
    return h;
}

std::optional<ParameterRow> ReadParameterRow(Database& db, std::int32_t patient, std::int32_t caseNumber) {
    return FirstRow<ParameterRow>(db, CaseFilter(patient, caseNumber));
}

std::optional<PatientCaseRow> ReadCaseRow(Database& db, std::int32_t patient, std::int32_t caseNumber) {
    return FirstRow<PatientCaseRow>(db, CaseFilter(patient, caseNumber));
}

std::optional<UserChoiceRow> ReadUserChoiceRow(Database& db, std::int32_t patient, std::int32_t caseNumber) {
    return FirstRow<UserChoiceRow>(db, CaseFilter(patient, caseNumber, kUserChoiceCaseNumber));
}
