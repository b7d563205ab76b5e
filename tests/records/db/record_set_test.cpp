#include <gtest/gtest.h>

#include "db_fixture.h"
#include "records/db/configuration.h"
#include "records/db/record_sets.h"

namespace {
class RecordSetTest : public DbTest {
protected:
    void AddPatients(int n) {
        Cpbasicset b;
        b.Open(Db(), NoRows());
        for (int i = 1; i <= n; ++i) {
            b.AddNew();
            b.PATIENT_REC_Num = i;
            b.PATIENT_LAST_NAME = "P" + std::to_string(i);
            b.BIRTHDAY = MomentOf({1980, 1, i});
            b.SEX = i % 2 == 1;
            b.Update();
        }
    }
};
}  // namespace

TEST_P(RecordSetTest, MovesCountsEditsAndDeletes) {
    AddPatients(4);
    Cpbasicset b;
    b.Open(Db(), {"\"PATIENT REC Num\" > ?", {std::int64_t{1}}, "\"PATIENT REC Num\" DESC"});
    EXPECT_EQ(b.GetRecordCount(), 3);
    EXPECT_EQ(b.PATIENT_REC_Num, 4);
    EXPECT_TRUE(b.SEX == false);
    EXPECT_DOUBLE_EQ(b.BIRTHDAY, MomentOf({1980, 1, 4}));
    b.MoveNext();
    b.Edit();
    b.Patient_Note = "edited";
    b.Update();
    b.MoveNext();
    b.Delete();
    EXPECT_EQ(b.GetRecordCount(), 2);
    b.MoveNext();
    EXPECT_TRUE(b.IsEOF());
    // Walking back skips the deleted row.
    b.MoveLast();
    EXPECT_EQ(b.PATIENT_REC_Num, 3);
    b.MovePrev();
    EXPECT_EQ(b.PATIENT_REC_Num, 4);
    b.MovePrev();
    EXPECT_TRUE(b.IsBOF());
    EXPECT_EQ(Value("PatientBasic", "Patient Note", "\"PATIENT REC Num\" = 3"), "edited");
    EXPECT_EQ(Rows("PatientBasic"), 3);
    EXPECT_THROW(b.Edit(), DbError);
}

TEST_P(RecordSetTest, OpensTheConfiguredDatabaseAndReportsEngineErrors) {
    AddPatients(2);
    ConfiguredDatabasePath() = Path();
    Cpbasicset b;
    b.Open();
    EXPECT_TRUE(b.IsOpen());
    EXPECT_EQ(b.GetRecordCount(), 2);
    b.Close();
    EXPECT_FALSE(b.IsOpen());
    try {
        b.Open({"\"No Such Column\" = 1", {}, ""});
        FAIL();
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(),
                     OnServer() ? "column \"No Such Column\" does not exist" : "no such column: No Such Column");
    }
    // Another program deleting the current row is reported when it is visited.
    b.Open(Db());
    Db().Execute("DELETE FROM \"PatientBasic\" WHERE \"PATIENT REC Num\" = 2");
    EXPECT_THROW(b.MoveNext(), DbError);
    ConfiguredDatabasePath() = kDatabaseNotConfigured;
}

KINEVO_ON_BOTH_ENGINES(RecordSetTest);
