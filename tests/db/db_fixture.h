#pragma once
// A fresh patient database in a temporary folder for each test, and a full
// case record to save into it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/database.h"

class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The database file of this test.
    std::string Path() const { return (dir_ / "Patients.mdb").string(); }
    const std::filesystem::path& Dir() const { return dir_; }
    Database& Db() { return *db_; }
    // Rows of a table, optionally restricted by a fixed filter.
    long Rows(const std::string& table, const std::string& filter = "");
    // One stored column value as text, found by a fixed filter.
    std::string Value(const std::string& table, const std::string& column, const std::string& filter);

private:
    std::filesystem::path dir_;
    std::unique_ptr<Database> db_;
};

// 8 December 2026, 14:00: the clock of the tests.
double TestNow();
// A patient with one gentamicin case, ready to save as new.
CaseRecord SampleCase();
// A save from the given end-page source at TestNow().
SaveRequest Request(int endPageSource);
