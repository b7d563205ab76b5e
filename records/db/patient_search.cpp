#include "records/db/patient_search.h"

#include <algorithm>

#include "records/calendar.h"
#include "records/db/engines/sql_dialect.h"
#include "records/db/record_sets.h"

namespace {
struct CaseTable {
    const char* name;
    const char* caseColumn;
};
const CaseTable kCaseTables[] = {{"PatientCase", kCaseNumber},
                                 {"PatientCase-parameter", kCaseNumber},
                                 {"PatientCase-User Choice", kUserChoiceCaseNumber},
                                 {"PatientCase-dosing history", kCaseNumber},
                                 {"PatientCase-level history", kCaseNumber}};

// A typed date as a bound value: "yyyy-mm-dd" (or with "/") at midnight.
std::string DateBound(std::string text) {
    std::replace(text.begin(), text.end(), '/', '-');
    const std::optional<CivilDate> d = ParseIsoDate(text);
    if (!d) throw DbError("Syntax error in date in query expression: '" + text + "'.");
    return IsoDateTime(MomentOf(*d));
}

RowQuery PatientQuery(SqlEngine engine, const PatientSearch& search) {
    RowQuery q;
    q.sort = CaseBlindOrder(engine, "\"PATIENT LAST NAME\"") + ", \"PATIENT REC Num\"";
    switch (search.mode) {
        case SearchMode::LastName:
            q.filter = CaseBlindLike(engine, "\"PATIENT LAST NAME\"");
            q.params = {LikePrefix(search.text)};
            break;
        case SearchMode::PatientId:
            q.filter = CaseBlindLike(engine, "\"Patient ID\"");
            q.params = {LikePrefix(search.text)};
            break;
        case SearchMode::Dates: {
            const std::string end = DateBound(search.endDate);
            q.filter = "\"DATE_STORED\" BETWEEN ? AND ? AND \"PATIENT REC Num\" NOT IN "
                       "(SELECT \"Patient Rec Num\" FROM \"PatientCase\" WHERE \"Date created\" >= ?)";
            q.params = {DateBound(search.startDate), end, end};
            break;
        }
        case SearchMode::None:
            q.filter = NoRows().filter;
            break;
    }
    return q;
}

ListedCase ListedCaseOf(Database& db, const PatientCaseRow& c) {
    ListedCase out;
    out.caseNumber = c.Case_number;
    out.drugId = c.Drug_ID;
    out.Wt = c.Wt, out.Ht = c.Ht, out.SCr = c.SCr, out.CrCl = c.CrCl, out.Albumin = c.Albumin;
    out.kg = c.kg, out.cm = c.cm;
    out.dateCreated = c.Date_created;
    if (c.Drug_ID == "ZZ" || c.Drug_ID == "zz") {
        Cpcaseucset u;
        u.Open(db, CaseFilter(c.Patient_Rec_Num, c.Case_number, kUserChoiceCaseNumber));
        if (!u.IsEOF()) out.userDrugName = u.Drug_Name;
    }
    return out;
}

void DeleteWhere(Database& db, const char* table, const std::string& filter, const std::vector<SqlValue>& params) {
    Statement s(db, std::string("DELETE FROM \"") + table + "\" WHERE " + filter);
    s.BindAll(params);
    s.Step();
}

void DeletePatientRows(Database& db, std::int32_t patient) {
    DeleteWhere(db, "PatientBasic", "\"PATIENT REC Num\" = ?", {std::int64_t{patient}});
    const RowQuery q = PatientFilter(patient);
    for (const CaseTable& table : kCaseTables) DeleteWhere(db, table.name, q.filter, q.params);
}
}  // namespace

PatientSearch SearchByLastName(const std::string& typed) { return {SearchMode::LastName, typed, {}, {}}; }
PatientSearch SearchById(const std::string& typed) { return {SearchMode::PatientId, typed, {}, {}}; }
PatientSearch SearchByDates(const std::string& start, const std::string& end) {
    return {SearchMode::Dates, {}, start, end};
}

PatientList SearchPatients(Database& db, const PatientSearch& search) {
    PatientList list;
    Cpbasicset b;
    b.Open(db, PatientQuery(db.Engine(), search));
    list.overLimit = b.GetRecordCount() > kMaxListedPatients;
    for (; !b.IsEOF() && static_cast<int>(list.patients.size()) < kMaxListedPatients; b.MoveNext()) {
        ListedPatient p;
        p.recNum = b.PATIENT_REC_Num;
        p.patientId = b.Patient_ID;
        p.firstName = b.PATIENT_FIRST_NAME;
        p.lastName = b.PATIENT_LAST_NAME;
        p.male = b.SEX;
        p.birthday = b.BIRTHDAY;
        p.dateStored = b.DATE_STORED;
        RowQuery q = PatientFilter(p.recNum);
        q.sort = "\"Date created\" DESC, \"Case number\" DESC";
        Cpcaseset c;
        for (c.Open(db, q); !c.IsEOF(); c.MoveNext()) p.cases.push_back(ListedCaseOf(db, c));
        list.caseCount += static_cast<int>(p.cases.size());
        list.patients.push_back(std::move(p));
    }
    return list;
}

void DeletePatient(Database& db, std::int32_t patient) { DeletePatients(db, {patient}); }

void DeleteCase(Database& db, std::int32_t patient, std::int32_t caseNumber) {
    Transaction t(db);
    for (const CaseTable& table : kCaseTables) {
        const RowQuery q = CaseFilter(patient, caseNumber, table.caseColumn);
        DeleteWhere(db, table.name, q.filter, q.params);
    }
    t.Commit();
}

void DeletePatients(Database& db, const std::vector<std::int32_t>& patients) {
    Transaction t(db);
    for (const std::int32_t p : patients) DeletePatientRows(db, p);
    t.Commit();
}
