#include <gtest/gtest.h>

#include "db_fixture.h"
#include "records/db/case_rows.h"
#include "records/db/patient_search.h"

namespace {
class PatientSearchTest : public DbTest {
protected:
    // Adds a patient stored at `stored` with cases created on the given days
    // of December 2026, and returns the patient's number.
    std::int32_t AddPatient(const std::string& last, const std::string& id, double stored,
                            std::vector<int> caseDays = {}) {
        CaseRecord r = SampleCase();
        r.PATIENT_LAST_NAME = last;
        r.Patient_ID = id;
        const std::int32_t p = AddPatientRow(Db(), r, stored);
        for (const int day : caseDays) AddCaseRow(Db(), p, r, MomentOf({2026, 12, day}, 9, 0));
        return p;
    }
    std::vector<std::string> LastNames(const PatientList& list) {
        std::vector<std::string> names;
        for (const auto& p : list.patients) names.push_back(p.lastName);
        return names;
    }
};
}  // namespace

TEST_P(PatientSearchTest, LastNamePrefixSortsPatientsAndListsCasesNewestFirst) {
    AddPatient("Smithers", "2", TestNow(), {3});
    AddPatient("Jones", "3", TestNow());
    AddPatient("smith", "1", TestNow(), {1, 5, 2});
    AddPatient("Smyth", "4", TestNow());
    const PatientList list = SearchPatients(Db(), SearchByLastName("smi"));
    EXPECT_EQ(LastNames(list), (std::vector<std::string>{"smith", "Smithers"}));
    ASSERT_EQ(list.patients[0].cases.size(), 3u);
    // Cases made on the 1st, 5th and 2nd are numbered 1, 2, 3.
    EXPECT_EQ(list.patients[0].cases[0].caseNumber, 2);
    EXPECT_EQ(list.patients[0].cases[1].caseNumber, 3);
    EXPECT_EQ(list.patients[0].cases[2].caseNumber, 1);
    EXPECT_EQ(list.patients[0].cases[0].drugId, "GM");
    EXPECT_EQ(list.caseCount, 4);
    EXPECT_FALSE(list.overLimit);
    EXPECT_TRUE(SearchPatients(Db(), SearchByLastName("x")).patients.empty());
}

TEST_P(PatientSearchTest, IdPrefix) {
    AddPatient("A", "H-1001", TestNow());
    AddPatient("B", "H-1002", TestNow());
    AddPatient("C", "X-1001", TestNow());
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchById("H-100"))), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchById("X"))), (std::vector<std::string>{"C"}));
}

TEST_P(PatientSearchTest, DatesKeepPatientsWithoutLaterCases) {
    AddPatient("Before", "1", MomentOf({2026, 11, 30}, 23, 59));
    AddPatient("Inside", "2", MomentOf({2026, 12, 2}, 8, 0), {2});
    AddPatient("Midnight", "3", MomentOf({2026, 12, 4}));
    AddPatient("LateCase", "4", MomentOf({2026, 12, 3}, 8, 0), {6});
    AddPatient("After", "5", MomentOf({2026, 12, 4}, 0, 1));
    const PatientList list = SearchPatients(Db(), SearchByDates("2026-12-01", "2026/12/04"));
    // The range ends at midnight of the end date; a case made on or after
    // that date leaves its patient out.
    EXPECT_EQ(LastNames(list), (std::vector<std::string>{"Inside", "Midnight"}));
    // An empty start date ("--" after the page's conversion) is refused.
    EXPECT_THROW(SearchPatients(Db(), SearchByDates("--", "2026-12-04")), DbError);
}

// Only the listed patients' cases are read: each listed patient keeps both
// of his, newest first, and the one past the limit adds none.
TEST_P(PatientSearchTest, AtMost500PatientsAreListed) {
    Transaction t(Db());
    for (int i = 0; i < 501; ++i) AddPatient("Doe", std::to_string(i), TestNow(), {2, 4});
    t.Commit();
    const PatientList list = SearchPatients(Db(), SearchByLastName("Doe"));
    EXPECT_TRUE(list.overLimit);
    ASSERT_EQ(list.patients.size(), 500u);
    EXPECT_EQ(list.caseCount, 1000);
    for (std::size_t i = 0; i < list.patients.size(); ++i) {
        const ListedPatient& p = list.patients[i];
        EXPECT_EQ(p.recNum, static_cast<std::int32_t>(i + 1));  // one name: by number
        ASSERT_EQ(p.cases.size(), 2u);
        EXPECT_GT(p.cases[0].dateCreated, p.cases[1].dateCreated);
    }
    Db().Execute("DELETE FROM \"PatientBasic\" WHERE \"PATIENT REC Num\" = 1");
    EXPECT_FALSE(SearchPatients(Db(), SearchByLastName("Doe")).overLimit);
}

TEST_P(PatientSearchTest, TypedTextIsSearchedLiterally) {
    AddPatient("O'Brien", "50%", TestNow());
    AddPatient("Obrien", "500", TestNow());
    AddPatient("A_b", "a\\b", TestNow());
    AddPatient("Axb", "ab", TestNow());
    AddPatient("\"; DROP TABLE PatientBasic; --", "x", TestNow());
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchByLastName("O'"))), (std::vector<std::string>{"O'Brien"}));
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchById("50%"))), (std::vector<std::string>{"O'Brien"}));
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchByLastName("A_"))), (std::vector<std::string>{"A_b"}));
    EXPECT_EQ(LastNames(SearchPatients(Db(), SearchById("a\\"))), (std::vector<std::string>{"A_b"}));
    EXPECT_EQ(SearchPatients(Db(), SearchByLastName("%")).patients.size(), 0u);
    EXPECT_EQ(SearchPatients(Db(), SearchByLastName("\"; DROP TABLE PatientBasic; --")).patients.size(), 1u);
    EXPECT_EQ(SearchPatients(Db(), SearchByLastName("x\" OR \"1\"=\"1")).patients.size(), 0u);
    EXPECT_EQ(Rows("PatientBasic"), 5);
}

TEST_P(PatientSearchTest, UserChoiceCasesCarryTheirDrugName) {
    const std::int32_t p = AddPatient("Zed", "9", TestNow(), {1});
    Db().Execute("UPDATE \"PatientCase\" SET \"Drug ID\" = 'ZZ'");
    Db().Execute(
        "INSERT INTO \"PatientCase-User Choice\" (\"Patient Rec Num\", \"Case Number\", \"Drug_Name\") "
        "VALUES (" +
        std::to_string(p) + ", 1, 'Mydrug')");
    EXPECT_EQ(SearchPatients(Db(), SearchByLastName("Zed")).patients[0].cases[0].userDrugName, "Mydrug");
}

// Every case table but one spells its case column this way.
std::string CaseColumn(const std::string& table) {
    return table == "PatientCase-User Choice" ? "Case Number" : "Case number";
}

TEST_P(PatientSearchTest, DeletionsLeaveNoOrphans) {
    const char* caseTables[] = {"PatientCase", "PatientCase-parameter", "PatientCase-User Choice",
                                "PatientCase-dosing history", "PatientCase-level history"};
    const std::int32_t keep = AddPatient("Keep", "1", TestNow(), {1});
    const std::int32_t gone = AddPatient("Gone", "2", TestNow(), {1, 2});
    // One row of each kind per case; the history tables also need their row number.
    for (const char* table : {"PatientCase-parameter", "PatientCase-User Choice", "PatientCase-dosing history",
                              "PatientCase-level history"}) {
        const std::string t = table;
        const std::string caseColumn = CaseColumn(t);
        const std::string number = t.find("dosing") != std::string::npos  ? ", \"Dosing Hx Num\""
                                   : t.find("level") != std::string::npos ? ", \"Level Hx Num\""
                                                                          : "";
        for (const std::int32_t p : {keep, gone})
            for (const int c : {1, 2})
                Db().Execute("INSERT INTO \"" + t + "\" (\"Patient Rec Num\", \"" + caseColumn + "\"" + number +
                             ") VALUES (" + std::to_string(p) + ", " + std::to_string(c) +
                             (number.empty() ? "" : ", 1") + ")");
    }
    const std::string ofGone = "\"Patient Rec Num\" = " + std::to_string(gone);

    DeleteCase(Db(), gone, 2);
    for (const char* table : caseTables) {
        EXPECT_EQ(Rows(table, ofGone + " AND \"" + CaseColumn(table) + "\" = 2"), 0) << table;
        EXPECT_EQ(Rows(table, ofGone + " AND \"" + CaseColumn(table) + "\" = 1"), 1) << table;
    }
    DeletePatient(Db(), gone);
    EXPECT_EQ(Rows("PatientBasic", "\"PATIENT REC Num\" = " + std::to_string(gone)), 0);
    for (const char* table : caseTables) EXPECT_EQ(Rows(table, ofGone), 0) << table;
    // The other patient keeps every row.
    EXPECT_EQ(Rows("PatientBasic"), 1);
    EXPECT_EQ(Rows("PatientCase-parameter"), 2);
    DeletePatients(Db(), {keep});
    for (const char* table : caseTables) EXPECT_EQ(Rows(table), 0) << table;
    EXPECT_EQ(Rows("PatientBasic"), 0);
}

KINEVO_ON_BOTH_ENGINES(PatientSearchTest);
