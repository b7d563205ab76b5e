#include "db_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "records/db/schema/empty_database.h"
#include "records/db/schema/server_database.h"

std::string TestServerUri() {
    std::ifstream in(KINEVO_TEST_SERVER_FILE);
    std::string uri;
    std::getline(in, uri);
    return uri;
}

std::string ServerLocation(const std::string& schema) { return TestServerUri() + "?options=-csearch_path%3D" + schema; }

int MakeDb(const std::string& arguments, std::string& output) {
    FILE* pipe = popen((std::string(KINEVO_MAKEDB_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    std::array<char, 256> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe)) output += chunk.data();
    return WEXITSTATUS(pclose(pipe));
}

std::string EngineName(const ::testing::TestParamInfo<SqlEngine>& info) {
    return info.param == SqlEngine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

void DbTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kinevo-db-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    if (OnServer()) {
        if (TestServerUri().empty()) GTEST_SKIP() << "no test server: run through ctest with the server installed";
        // Lower case: the search_path option folds unquoted names.
        schema_ = "t" + dir_.filename().string().substr(10);
        for (char& c : schema_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        Database admin(TestServerUri());
        admin.Execute("CREATE SCHEMA \"" + schema_ + "\"");
        location_ = ServerLocation(schema_);
        db_ = std::make_unique<Database>(location_);
        CreateServerSchema(*db_);
    } else {
        location_ = (dir_ / "Patients.mdb").string();
        CreateEmptyDatabase(location_);
        db_ = std::make_unique<Database>(location_);
    }
}

void DbTest::TearDown() {
    db_.reset();
    if (!schema_.empty()) Database(TestServerUri()).Execute("DROP SCHEMA \"" + schema_ + "\" CASCADE");
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

void DbTest::RefuseInserts(const std::string& table) {
    if (OnServer()) {
        db_->Execute(
            "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
            "$$BEGIN RAISE EXCEPTION 'no room'; END$$");
        db_->Execute("CREATE TRIGGER refuse BEFORE INSERT ON \"" + table + "\" FOR EACH ROW EXECUTE FUNCTION refuse()");
    } else {
        db_->Execute("CREATE TRIGGER refuse BEFORE INSERT ON \"" + table +
                     "\" BEGIN SELECT RAISE(ABORT, 'no room'); END");
    }
}

void DbTest::AllowInserts(const std::string& table) {
    db_->Execute(OnServer() ? "DROP TRIGGER refuse ON \"" + table + "\"" : std::string("DROP TRIGGER refuse"));
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

SaveRequest Request(EndSource endPageSource) {
    SaveRequest req;
    req.endPageSource = endPageSource;
    req.now = TestNow();
    return req;
}
