#include <gtest/gtest.h>

#include "db_fixture.h"
#include "records/db/case_reload.h"
#include "records/db/case_save.h"

namespace {
class CaseReload : public DbTest {
protected:
    // Stores patient 1 case 1 with the given case column texts.
    void StoreCase(const std::string& wt, bool kg, const std::string& ht, bool cm, int factor1, int factor2) {
        Db().Execute(
            "INSERT INTO \"PatientBasic\" (\"PATIENT REC Num\", \"Patient ID\", \"PATIENT FIRST NAME\", "
            "\"PATIENT LAST NAME\", \"DATE_STORED\", \"BIRTHDAY\", \"SEX\", \"Patient Note\") "
            "VALUES (1, 'H7', 'Ann', 'Lee', '2026-11-30 09:15:00', '1986-03-15 00:00:00', 0, 'note')");
        Statement s(
            Db(),
            "INSERT INTO \"PatientCase\" (\"Patient Rec Num\", \"Case number\", \"Date created\", \"Wt\", \"kg\", "
            "\"Ht\", \"cm\", \"SCr\", \"CrCl\", \"Albumin\", \"Drug ID\", \"factor 1\", \"factor 2\", \"Case Note\") "
            "VALUES (1, 1, '2026-12-01 10:00:00', ?, ?, ?, ?, '1.2', '0.0', '3.5', 'PH', ?, ?, 'cn')");
        s.BindAll({wt, std::int64_t{kg}, ht, std::int64_t{cm}, std::int64_t{factor1}, std::int64_t{factor2}});
        s.Step();
    }
    CaseRecord Reload(int caseNumber = 1) {
        CaseRecord r;
        r.PATIENT_REC_Num = 1;
        r.Case_number = caseNumber;
        r.FactorFlags[9] = 1;  // left from an earlier case
        ReloadCase(Db(), r, TestNow());
        return r;
    }
};
}  // namespace

TEST_P(CaseReload, PoundsAndInchesUseTheReloadFactors) {
    StoreCase("154.3", false, "66.9", false, 0, 50);
    const CaseRecord r = Reload();
    EXPECT_DOUBLE_EQ(r.Wt, 154.3 * 0.453597);
    EXPECT_EQ(r.WtUnit, "lb");
    EXPECT_DOUBLE_EQ(r.WtEntered, 154.3);
    EXPECT_DOUBLE_EQ(r.Ht, 66.9 * 2.5399);
    EXPECT_EQ(r.HtUnit, "in");
    // 0 and 50 mark no factor; the earlier case's tick is gone.
    for (int i = 0; i < kFactorFlagCount; ++i) EXPECT_FALSE(r.Factor(i)) << i;
    EXPECT_EQ(r.Drug_ID, "ph");
    EXPECT_DOUBLE_EQ(r.SCr, 1.2);
    EXPECT_DOUBLE_EQ(r.Albumin, 3.5);
    EXPECT_EQ(r.Case_Note, "cn");
    EXPECT_DOUBLE_EQ(r.Date_created, MomentOf({2026, 12, 1}, 10, 0));
}

TEST_P(CaseReload, PatientFieldsAgeAndFactors) {
    StoreCase("70.0", true, "170.0", true, 1, 49);
    const CaseRecord r = Reload();
    EXPECT_DOUBLE_EQ(r.Wt, 70.0);
    EXPECT_EQ(r.WtUnit, "kg");
    EXPECT_DOUBLE_EQ(r.Ht, 170.0);
    EXPECT_TRUE(r.Factor(1));
    EXPECT_TRUE(r.Factor(49));
    EXPECT_EQ(r.DisplayName, "Lee, Ann");
    EXPECT_EQ(r.SEX, "F");
    EXPECT_EQ(r.Patient_ID2, "H7");
    EXPECT_EQ(r.BIRTHDAY, (CivilDate{1986, 3, 15}));
    EXPECT_DOUBLE_EQ(r.DATE_STORED, MomentOf({2026, 11, 30}, 9, 15));
    // 15 March 1986 to 8 December 2026: 40 years and 268 days.
    EXPECT_NEAR(r.Age, 40 + 268 / 365.0, 1e-12);
}

TEST_P(CaseReload, APatientRowAloneLeavesTheCasePart) {
    StoreCase("70.0", true, "170.0", true, 0, 0);
    const CaseRecord r = Reload(0);
    EXPECT_EQ(r.PATIENT_LAST_NAME, "Lee");
    EXPECT_DOUBLE_EQ(r.Wt, 0);
    EXPECT_TRUE(r.Factor(9));
    EXPECT_THROW(Reload(2), DbError);
}

TEST_P(CaseReload, SavedCaseRoundTrips) {
    CaseRecord saved = SampleCase();
    saved.WtUnit = "kg";
    saved.Wt = 81.4;
    saved.CrCl = 64.5;
    saved.SCr = 0;
    saved.FactorFlags[2] = 1;
    const DoseRow d{.date = {2026, 12, 2},
                    .hour = 22,
                    .minute = 5,
                    .dose = 80.5,
                    .route = "IV",
                    .infusionTime = 0.5,
                    .interval = 8,
                    .doses = 3,
                    .status = "O"};
    const DoseRow early{.date = {2026, 12, 1},
                        .hour = 6,
                        .dose = 100,
                        .route = "IV",
                        .infusionTime = 1,
                        .interval = 12,
                        .doses = 1,
                        .status = "I"};
    saved.history.doseRows = {d, early};
    saved.history.levelRows = {LevelRow{.date = {2026, 12, 3}, .hour = 5, .minute = 30, .level = 2.15}};
    saved.history.present = true;
    SaveRequest req = Request(EndSource::IvRegimen);
    req.page = {"100", "17.5", "5.2", "90", "", "", 0, 0};
    SaveCase(Db(), saved, req);

    CaseRecord back;
    back.PATIENT_REC_Num = saved.PATIENT_REC_Num;
    back.Case_number = saved.Case_number;
    ReloadCase(Db(), back, TestNow());
    EXPECT_EQ(back.PATIENT_LAST_NAME, saved.PATIENT_LAST_NAME);
    EXPECT_EQ(back.PATIENT_FIRST_NAME, saved.PATIENT_FIRST_NAME);
    EXPECT_EQ(back.Patient_ID, saved.Patient_ID);
    EXPECT_EQ(back.SEX, saved.SEX);
    EXPECT_EQ(back.BIRTHDAY, saved.BIRTHDAY);
    EXPECT_DOUBLE_EQ(back.Age, saved.Age);
    EXPECT_EQ(back.Patient_Note, saved.Patient_Note);
    EXPECT_DOUBLE_EQ(back.Wt, 81.4);
    EXPECT_DOUBLE_EQ(back.Ht, 170.0);
    EXPECT_DOUBLE_EQ(back.SCr, 0);
    EXPECT_DOUBLE_EQ(back.CrCl, 64.5);
    EXPECT_EQ(back.FactorFlags, saved.FactorFlags);
    EXPECT_EQ(back.Drug_ID, "gm");
    EXPECT_EQ(back.Case_Note, saved.Case_Note);
    EXPECT_DOUBLE_EQ(back.DATE_STORED, TestNow());
    EXPECT_DOUBLE_EQ(back.Date_created, TestNow());

    // The histories come back with the dose rows in time order.
    const History h = ReadStoredHistory(Db(), back.PATIENT_REC_Num, back.Case_number);
    ASSERT_EQ(h.doseRows.size(), 2u);
    EXPECT_EQ(h.doseRows[0].date, early.date);
    const DoseRow& r = h.doseRows[1];
    EXPECT_EQ(r.date, d.date);
    EXPECT_EQ(r.hour, 22);
    EXPECT_EQ(r.minute, 5);
    EXPECT_DOUBLE_EQ(r.dose, 80.5);
    EXPECT_EQ(r.route, "IV");
    EXPECT_DOUBLE_EQ(r.infusionTime, 0.5);
    EXPECT_DOUBLE_EQ(r.interval, 8);
    EXPECT_EQ(r.doses, 3);
    EXPECT_EQ(r.status, "O");
    ASSERT_EQ(h.levelRows.size(), 1u);
    EXPECT_EQ(h.levelRows[0].hour, 5);
    EXPECT_EQ(h.levelRows[0].minute, 30);
    EXPECT_DOUBLE_EQ(h.levelRows[0].level, 2.15);

    const auto p = ReadParameterRow(Db(), back.PATIENT_REC_Num, back.Case_number);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Vd, "17.5");
    EXPECT_EQ(p->Cur_fit_method, kPopulation);
    EXPECT_FALSE(ReadUserChoiceRow(Db(), back.PATIENT_REC_Num, back.Case_number));
}

KINEVO_ON_BOTH_ENGINES(CaseReload);
