#include "records/db/patient_search.h"

#include <algorithm>
#include <map>

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
            q.filter =
                "\"DATE_STORED\" BETWEEN ? AND ? AND \"PATIENT REC Num\" NOT IN "
                "(SELECT \"Patient Rec Num\" FROM \"PatientCase\" WHERE \"Date created\" >= ?)";
            q.params = {DateBound(search.startDate), end, end};
            break;
        }
        case SearchMode::None: q.filter = NoRows().filter; break;
    }
    return q;
}

ListedPatient ListedPatientOf(const Statement& s) {
    ListedPatient p;
    p.recNum = static_cast<std::int32_t>(s.Int(0));
    p.patientId = s.Text(1);
    p.firstName = s.Text(2);
    p.lastName = s.Text(3);
    p.male = s.Int(4) != 0;
    p.birthday = ColumnMoment(s.Text(5));
    p.dateStored = ColumnMoment(s.Text(6));
    return p;
}

// Columns 1.. of the case query.
ListedCase ListedCaseOf(const Statement& s) {
    ListedCase c;
    c.caseNumber = static_cast<std::int32_t>(s.Int(1));
    c.drugId = s.Text(2);
    c.Wt = s.Text(3), c.Ht = s.Text(4), c.SCr = s.Text(5), c.CrCl = s.Text(6), c.Albumin = s.Text(7);
    c.kg = s.Int(8) != 0, c.cm = s.Int(9) != 0;
    c.dateCreated = ColumnMoment(s.Text(10));
    if (c.drugId == "ZZ" || c.drugId == "zz") c.userDrugName = s.Text(11);
    return c;
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

// Two statements however many patients match: a server answers each one
// over the network, so the list must not cost a statement per row. Both
// read only what is listed: one patient past the limit tells that more
// matched, and the cases are those of the listed patients alone.
PatientList SearchPatients(Database& db, const PatientSearch& search) {
    const RowQuery q = PatientQuery(db.Engine(), search);
    PatientList list;
    std::map<std::int32_t, ListedPatient*> listed;
    list.patients.reserve(kMaxListedPatients);
    Statement patients(db,
                       "SELECT \"PATIENT REC Num\", \"Patient ID\", \"PATIENT FIRST NAME\", "
                       "\"PATIENT LAST NAME\", \"SEX\", \"BIRTHDAY\", \"DATE_STORED\" FROM \"PatientBasic\" "
                       "WHERE " +
                           q.filter + " ORDER BY " + q.sort + " LIMIT " + std::to_string(kMaxListedPatients + 1));
    patients.BindAll(q.params);
    while (patients.Step()) {
        if (static_cast<int>(list.patients.size()) == kMaxListedPatients) {
            list.overLimit = true;
            break;
        }
        list.patients.push_back(ListedPatientOf(patients));
        listed[list.patients.back().recNum] = &list.patients.back();
    }
    if (list.patients.empty()) return list;
    std::string placeholders = "?";
    std::vector<SqlValue> keys;
    for (const ListedPatient& p : list.patients) keys.emplace_back(std::in_place_type<std::int64_t>, p.recNum);
    for (std::size_t i = 1; i < keys.size(); ++i) placeholders += ", ?";
    Statement cases(db,
                    "SELECT c.\"Patient Rec Num\", c.\"Case number\", c.\"Drug ID\", c.\"Wt\", c.\"Ht\", "
                    "c.\"SCr\", c.\"CrCl\", c.\"Albumin\", c.\"kg\", c.\"cm\", c.\"Date created\", u.\"Drug_Name\" "
                    "FROM \"PatientCase\" c LEFT JOIN \"PatientCase-User Choice\" u "
                    "ON u.\"Patient Rec Num\" = c.\"Patient Rec Num\" AND u.\"Case Number\" = c.\"Case number\" "
                    "WHERE c.\"Patient Rec Num\" IN (" +
                        placeholders + ") ORDER BY c.\"Date created\" DESC, c.\"Case number\" DESC");
    cases.BindAll(keys);
    while (cases.Step()) {
        const auto patient = listed.find(static_cast<std::int32_t>(cases.Int(0)));
        if (patient == listed.end()) continue;
        patient->second->cases.push_back(ListedCaseOf(cases));
        ++list.caseCount;
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
