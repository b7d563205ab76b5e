#pragma once
// A fresh patient database for each test, on each engine: an SQLite file in
// a temporary folder, or a schema of its own on the test server that the
// test run starts (test_server.sh); and a full case record to save into it.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/database.h"

class DbTest : public ::testing::TestWithParam<SqlEngine> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Where this test's database is: the file, or the server URI.
    std::string Path() const { return location_; }
    const std::filesystem::path& Dir() const { return dir_; }
    Database& Db() { return *db_; }
    bool OnServer() const { return GetParam() == SqlEngine::PostgreSQL; }
    // Rows of a table, optionally restricted by a fixed filter.
    long Rows(const std::string& table, const std::string& filter = "");
    // One stored column value as text, found by a fixed filter.
    std::string Value(const std::string& table, const std::string& column, const std::string& filter);
    // Makes every insert into `table` fail with the engine's error, until
    // AllowInserts: a fault in the middle of a save.
    void RefuseInserts(const std::string& table);
    void AllowInserts(const std::string& table);

private:
    std::filesystem::path dir_;
    std::string location_;
    std::string schema_;
    std::unique_ptr<Database> db_;
};

// The URI of the test server, empty when the run has none.
std::string TestServerUri();
// The URI of a schema of its own on the test server.
std::string ServerLocation(const std::string& schema);

// Runs kinevo-makedb with `arguments`; its exit status, with what it
// printed added to `output`.
int MakeDb(const std::string& arguments, std::string& output);

// "SQLite" / "PostgreSQL" in the test names and messages.
inline void PrintTo(SqlEngine engine, std::ostream* out) {
    *out << (engine == SqlEngine::PostgreSQL ? "PostgreSQL" : "SQLite");
}
// The same in the test names.
std::string EngineName(const ::testing::TestParamInfo<SqlEngine>& info);
#define KINEVO_ON_BOTH_ENGINES(suite) \
    INSTANTIATE_TEST_SUITE_P(Engine, suite, ::testing::Values(SqlEngine::SQLite, SqlEngine::PostgreSQL), EngineName)

// 8 December 2026, 14:00: the clock of the tests.
double TestNow();
// A patient with one gentamicin case, ready to save as new.
CaseRecord SampleCase();
// A save from the given end-page source at TestNow().
SaveRequest Request(EndSource endPageSource);
