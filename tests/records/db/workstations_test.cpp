// Two programs on one database file, and a case saved, reopened and saved
// again: nothing lands under the wrong patient, nothing is stored twice,
// nothing entered comes back changed.
#include <gtest/gtest.h>

#include "db_fixture.h"
#include "records/db/case_reload.h"
#include "records/db/case_rows.h"
#include "records/db/entry_stores.h"
#include "records/db/patient_search.h"

namespace {
class Workstations : public DbTest {
protected:
    // Program A's record after it stored a new patient with one case.
    CaseRecord StoredByA() {
        CaseRecord a = SampleCase();
        SaveRequest req = Request(EndSource::None);
        SaveCase(Db(), a, req);
        return a;
    }
    // Program B, on its own connection, stores another patient.
    std::int32_t OtherAddsPatient(Database& b, const std::string& lastName) {
        CaseRecord other = SampleCase();
        other.PATIENT_LAST_NAME = lastName;
        Transaction t(b);
        const std::int32_t number = AddPatientRow(b, other, TestNow());
        AddCaseRow(b, number, other, TestNow());
        t.Commit();
        return number;
    }
    static void ExpectRefused(const std::function<void()>& store) {
        try {
            store();
            ADD_FAILURE() << "stored for a patient changed elsewhere";
        } catch (const DbError& e) {
            EXPECT_EQ(e.Fault(), DbFault::PatientChanged);
        }
    }
};
}  // namespace

TEST_P(Workstations, NoStoreLandsUnderAPatientDeletedOrRenumberedElsewhere) {
    CaseRecord a = StoredByA();
    Database b(Path());
    DeletePatient(b, a.PATIENT_REC_Num);

    // Deleted: the end-page save and every entry-page store write nothing.
    a.Case_number = 0;  // "Work on the Same Patient"
    SaveRequest req = Request(EndSource::None);
    ExpectRefused([&] { SaveCase(Db(), a, req); });
    EntryKeys keys{std::to_string(a.PATIENT_REC_Num), ""};
    ExpectRefused([&] { StoreNewCasePage(Db(), a, keys, {false, false, true}, TestNow()); });
    ExpectRefused([&] { StoreUserChoicePage(Db(), a, keys, TestNow()); });
    EXPECT_EQ(Rows("PatientCase"), 0);

    // The number now names someone else: their case 1 is not overwritten,
    // and they get no case of A's patient.
    EXPECT_EQ(OtherAddsPatient(b, "Delta"), a.PATIENT_REC_Num);
    a.Case_number = 1;
    a.Wt = 99;
    ExpectRefused([&] { SaveCase(Db(), a, req); });
    keys.caseNumber = "1";
    ExpectRefused([&] { StoreExistingCasePage(Db(), a, keys, {true, false, true}, TestNow()); });
    EXPECT_EQ(Rows("PatientCase"), 1);
    EXPECT_EQ(Value("PatientCase", "Wt", "\"Case number\" = 1"), "70.0");
    EXPECT_EQ(Value("PatientBasic", "PATIENT LAST NAME", "1 = 1"), "Delta");

    // The same patient read again is stored as before.
    CaseRecord delta;
    delta.PATIENT_REC_Num = a.PATIENT_REC_Num;
    delta.Case_number = 1;
    ReloadCase(Db(), delta, TestNow());
    delta.Case_Note = "second look";
    SaveCase(Db(), delta, req);
    EXPECT_EQ(Value("PatientCase", "Case Note", "\"Case number\" = 1"), "second look");
}

TEST_P(Workstations, APatientNeverStoredIsAddedNotStoredAsNumberZero) {
    CaseRecord r = SampleCase();
    EntryKeys keys{"0", ""};
    StoreNewCasePage(Db(), r, keys, {false, false, true}, TestNow());
    EXPECT_EQ(keys.patient, "1");
    EXPECT_EQ(Rows("PatientBasic"), 1);
    EXPECT_EQ(Rows("PatientCase", "\"Patient Rec Num\" = 1"), 1);
    keys = {"0", "0"};
    StoreExistingCasePage(Db(), r, keys, {}, TestNow());
    EXPECT_EQ(Rows("PatientCase", "\"Patient Rec Num\" = 0"), 0);
    EXPECT_EQ(Rows("PatientBasic"), 2);
}

TEST_P(Workstations, ValuesEnteredComeBackExactlyAndOldTextsStillRead) {
    CaseRecord r = SampleCase();
    r.SCr = 0.85;
    r.Albumin = 2.45;
    r.CrCl = 51.79;
    r.Wt = 70.25;
    SaveRequest req = Request(EndSource::None);
    SaveCase(Db(), r, req);
    CaseRecord back;
    back.PATIENT_REC_Num = back.Case_number = 1;
    ReloadCase(Db(), back, TestNow());
    EXPECT_EQ(back.SCr, 0.85);
    EXPECT_EQ(back.Albumin, 2.45);
    EXPECT_EQ(back.CrCl, 51.79);
    EXPECT_EQ(back.Wt, 70.25);
    // The patient and case dates the pages show are this save's.
    EXPECT_EQ(r.DATE_STORED, TestNow());
    EXPECT_EQ(back.DATE_STORED, TestNow());

    Db().Execute("UPDATE \"PatientCase\" SET \"SCr\" = '0.8', \"Albumin\" = '3.1'");
    ReloadCase(Db(), back, TestNow());
    EXPECT_EQ(back.SCr, 0.8);
    EXPECT_EQ(back.Albumin, 3.1);
}

TEST_P(Workstations, ASaveWaitingPastAnotherWorkstationsSaveIsBusyAndWritesNothing) {
    Database b(Path());
    Transaction held(b);
    AddPatientRow(b, SampleCase(), TestNow());
    DatabaseBusyWaitMs() = 50;
    {
        Database a(Path());
        CaseRecord r = SampleCase();
        SaveRequest req = Request(EndSource::None);
        try {
            SaveCase(a, r, req);
            ADD_FAILURE() << "a save went past another workstation's save";
        } catch (const DbError& e) {
            EXPECT_EQ(e.Fault(), DbFault::Busy) << e.what();
        }
        EXPECT_EQ(r.PATIENT_REC_Num, 0);
    }
    DatabaseBusyWaitMs() = 5000;
    held.Commit();
    EXPECT_EQ(Rows("PatientBasic"), 1);
    EXPECT_EQ(Rows("PatientCase"), 0);
}

KINEVO_ON_BOTH_ENGINES(Workstations);
