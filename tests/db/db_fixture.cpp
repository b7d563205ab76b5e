#include "db_fixture.h"

#include <unistd.h>

#include "records/db/schema/empty_database.h"

void DbTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kinevo-db-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    CreateEmptyDatabase(Path());
    db_ = std::make_unique<Database>(Path());
}

void DbTest::TearDown() {
    db_.reset();
    std::filesystem::remove_all(dir_);
}

long DbTest::Rows(const std::string& table, const std::string& filter) {
    return static_cast<long>(
        QueryInt(*db_, "SELECT COUNT(*) FROM \"" + table + "\"" + (filter.empty() ? "" : " WHERE " + filter)));
}

std::string DbTest::Value(const std::string& table, const std::string& column, const std::string& filter) {
    Statement s(*db_, "SELECT \"" + column + "\" FROM \"" + table + "\" WHERE " + filter);
    return s.Step() ? s.Text(0) : std::string("<no row>");
}

double TestNow() { return MomentOf({2026, 12, 8}, 14, 0); }

CaseRecord SampleCase() {
    CaseRecord r;
    r.PATIENT_LAST_NAME = "Smith";
    r.PATIENT_FIRST_NAME = "Anna";
    r.Patient_ID = "H-1001";
    r.SEX = "F";
    SetBirthday(r, {1950, 3, 15}, TestNow());
    r.Patient_Note = "allergic to penicillin";
    r.Wt = 70;
    r.Ht = 170;
    r.SCr = 0.85;
    r.Drug_ID = "gm";
    r.Case_Note = "first course";
    return r;
}

SaveRequest Request(int endPageSource) {
    SaveRequest req;
    req.endPageSource = endPageSource;
    req.now = TestNow();
    return req;
}
