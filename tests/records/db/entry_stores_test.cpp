#include <gtest/gtest.h>

#include "db_fixture.h"
#include "records/db/entry_stores.h"

namespace {
class EntryStores : public DbTest {
protected:
    // A stored patient 1 with cases 1 and 2.
    void StorePatientWithTwoCases() {
        EntryKeys keys;
        StoreNewPatientPage(Db(), rec, keys, true, TestNow());
        keys.caseNumber = "0";
        StoreNewCasePage(Db(), rec, keys, {false, false, true}, TestNow());
    }
    CaseRecord rec = SampleCase();
};
}  // namespace

TEST_P(EntryStores, NewPatientPageAddsAPatientOnEveryPress) {
    EntryKeys keys;
    StoreNewPatientPage(Db(), rec, keys, false, TestNow());
    EXPECT_EQ(keys.patient, "1");
    EXPECT_EQ(Rows("PatientCase"), 0);
    StoreNewPatientPage(Db(), rec, keys, true, TestNow());
    EXPECT_EQ(keys.patient, "2");
    EXPECT_EQ(keys.caseNumber, "1");
    EXPECT_EQ(rec.PATIENT_REC_Num, 2);
    EXPECT_EQ(rec.Case_number, 1);
    EXPECT_EQ(Rows("PatientBasic"), 2);
}

TEST_P(EntryStores, NewCasePageFollowsTheChangeFlags) {
    StorePatientWithTwoCases();
    EXPECT_EQ(Rows("PatientCase", "\"Patient Rec Num\" = 1"), 2);

    // A new identity for a patient with cases is a new patient.
    EntryKeys keys{"1", ""};
    rec.PATIENT_LAST_NAME = "Other";
    StoreNewCasePage(Db(), rec, keys, {true, true, true}, TestNow());
    EXPECT_EQ(keys.patient, "2");
    EXPECT_EQ(keys.caseNumber, "1");
    EXPECT_EQ(Value("PatientBasic", "PATIENT LAST NAME", "\"PATIENT REC Num\" = 1"), "Smith");

    // Patient 2 has a case now; a plain change updates the row and adds case 2.
    rec.Patient_Note = "edited";
    keys.caseNumber = "";
    StoreNewCasePage(Db(), rec, keys, {true, false, true}, TestNow() + 1);
    EXPECT_EQ(keys.caseNumber, "2");
    EXPECT_EQ(Value("PatientBasic", "Patient Note", "\"PATIENT REC Num\" = 2"), "edited");
    EXPECT_EQ(Value("PatientBasic", "DATE_STORED", "\"PATIENT REC Num\" = 2"), "2026-12-09 14:00:00");

    // Nothing changed: nothing stored.
    StoreNewCasePage(Db(), rec, keys, {}, TestNow());
    EXPECT_EQ(Rows("PatientBasic"), 2);
    EXPECT_EQ(Rows("PatientCase"), 4);
}

TEST_P(EntryStores, NewIdentityOfAPatientWithoutCasesUpdatesTheRow) {
    EntryKeys keys;
    StoreNewPatientPage(Db(), rec, keys, false, TestNow());
    rec.PATIENT_LAST_NAME = "Renamed";
    StoreNewCasePage(Db(), rec, keys, {true, true, false}, TestNow());
    EXPECT_EQ(Rows("PatientBasic"), 1);
    EXPECT_EQ(Value("PatientBasic", "PATIENT LAST NAME", "1 = 1"), "Renamed");
}

TEST_P(EntryStores, ExistingCasePageNeverRewritesTheStoredCase) {
    StorePatientWithTwoCases();
    EntryKeys keys{"1", "1"};
    rec.Wt = 99;
    StoreExistingCasePage(Db(), rec, keys, {false, false, true}, TestNow());
    EXPECT_EQ(keys.caseNumber, "3");
    EXPECT_EQ(Value("PatientCase", "Wt", "\"Case number\" = 1"), "70.0");
    EXPECT_EQ(Value("PatientCase", "Wt", "\"Case number\" = 3"), "99.0");
    StoreExistingCasePage(Db(), rec, keys, {true, true, false}, TestNow());
    EXPECT_EQ(keys.patient, "2");
    EXPECT_EQ(keys.caseNumber, "1");
}

TEST_P(EntryStores, UserChoicePageStoresWhatIsMissingThenItsRows) {
    rec.Drug_ID = "zz";
    rec.userDrug.drugName = "Mydrug";
    rec.userDrug.clearance = "3.00";
    rec.userDrug.volume = "35.00";
    rec.userDrug.compliance = "0.95";
    EntryKeys keys{"", "0"};
    StoreUserChoicePage(Db(), rec, keys, TestNow());
    EXPECT_EQ(keys.patient, "1");
    EXPECT_EQ(keys.caseNumber, "1");
    EXPECT_EQ(Value("PatientCase-parameter", "Cl", "1 = 1"), "3.00");
    EXPECT_EQ(Value("PatientCase-parameter", "Vd", "1 = 1"), "35.00");
    EXPECT_EQ(Value("PatientCase-parameter", "CF", "1 = 1"), "0.95");
    EXPECT_EQ(Value("PatientCase-User Choice", "Drug_Name", "1 = 1"), "Mydrug");

    rec.userDrug.clearance = "4.00";
    StoreUserChoicePage(Db(), rec, keys, TestNow());
    EXPECT_EQ(Rows("PatientCase"), 1);
    EXPECT_EQ(Rows("PatientCase-parameter"), 1);
    EXPECT_EQ(Value("PatientCase-parameter", "Cl", "1 = 1"), "4.00");

    keys.caseNumber = "";
    StoreUserChoicePage(Db(), rec, keys, TestNow());
    EXPECT_EQ(keys.caseNumber, "2");
    EXPECT_EQ(Rows("PatientCase-User Choice"), 2);
}

TEST_P(EntryStores, AFailedStoreChangesNeitherKeysNorRecord) {
    RefuseInserts("PatientCase");
    EntryKeys keys;
    EXPECT_THROW(StoreNewPatientPage(Db(), rec, keys, true, TestNow()), DbError);
    EXPECT_EQ(keys.patient, "");
    EXPECT_EQ(rec.PATIENT_REC_Num, 0);
    EXPECT_EQ(Rows("PatientBasic"), 0);
}

KINEVO_ON_BOTH_ENGINES(EntryStores);
