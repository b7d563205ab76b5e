#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "db_fixture.h"
#include "records/db/case_rows.h"
#include "records/db/case_save.h"
#include "records/db/record_sets.h"

namespace {
const std::string kCase1 = "\"Patient Rec Num\" = 1 AND \"Case number\" = 1";

class CaseSave : public DbTest {
protected:
    void Save(CaseRecord& r, SaveRequest& req) {
        req.now = TestNow();
        SaveCase(Db(), r, req);
    }
};

DoseRow Dose(int day, int hour, int minute) {
    DoseRow d;
    d.date = {2026, 12, day};
    d.hour = hour, d.minute = minute;
    d.dose = 80, d.route = "IV", d.infusionTime = 0.5, d.interval = 8, d.doses = 3, d.status = "I";
    return d;
}
}  // namespace

TEST_P(CaseSave, KeysAreLargestPlusOne) {
    EXPECT_EQ(NewPatientRecNum(Db()), 1);
    EXPECT_EQ(NewCaseNumber(Db(), 1), 1);
    const CaseRecord r = SampleCase();
    for (int i = 0; i < 3; ++i) AddCaseRow(Db(), 4, r, TestNow());  // cases 1, 2, 3
    Db().Execute("DELETE FROM \"PatientCase\" WHERE \"Case number\" = 3");
    Db().Execute("UPDATE \"PatientCase\" SET \"Case number\" = 5 WHERE \"Case number\" = 2");
    Db().Execute("INSERT INTO \"PatientCase\" (\"Patient Rec Num\", \"Case number\") VALUES (4, 2)");
    // Cases 1, 2 and 5 give 6; another patient's cases do not count.
    AddCaseRow(Db(), 9, r, TestNow());
    EXPECT_EQ(NewCaseNumber(Db(), 4), 6);
    // The highest patient deleted: its number is used again.
    AddPatientRow(Db(), r, TestNow());
    AddPatientRow(Db(), r, TestNow());
    Db().Execute("DELETE FROM \"PatientBasic\" WHERE \"PATIENT REC Num\" = 2");
    EXPECT_EQ(NewPatientRecNum(Db()), 2);
}

TEST_P(CaseSave, NewPatientStoresTheFormattedTexts) {
    CaseRecord r = SampleCase();
    r.WtUnit = "lb";
    r.HtUnit = "in";
    r.FactorFlags[3] = r.FactorFlags[7] = 1;
    r.history.doseRows = {Dose(1, 8, 30)};
    r.history.present = true;
    SaveRequest req = Request(EndSource::IvForecast);
    Save(r, req);

    EXPECT_EQ(r.PATIENT_REC_Num, 1);
    EXPECT_EQ(r.Case_number, 1);
    EXPECT_EQ(req.patientKey, "1");
    EXPECT_EQ(req.caseKey, "1");
    // 70 kg x 2.2046 = 154.32 lb; 170 cm x 0.39372 = 66.93 in, to the two
    // decimals the entry page shows.
    EXPECT_EQ(Value("PatientCase", "Wt", kCase1), "154.32");
    EXPECT_EQ(Value("PatientCase", "kg", kCase1), "0");
    EXPECT_EQ(Value("PatientCase", "Ht", kCase1), "66.93");
    EXPECT_EQ(Value("PatientCase", "cm", kCase1), "0");
    EXPECT_EQ(Value("PatientCase", "SCr", kCase1), "0.85");
    EXPECT_EQ(Value("PatientCase", "CrCl", kCase1), "0.0");
    EXPECT_EQ(Value("PatientCase", "Drug ID", kCase1), "GM");
    EXPECT_EQ(Value("PatientCase", "factor 1", kCase1), "3");
    EXPECT_EQ(Value("PatientCase", "factor 2", kCase1), "7");
    EXPECT_EQ(Value("PatientCase", "Date created", kCase1), "2026-12-08 14:00:00");
    EXPECT_EQ(Value("PatientBasic", "SEX", "1 = 1"), "0");
    EXPECT_EQ(Value("PatientBasic", "BIRTHDAY", "1 = 1"), "1950-03-15 00:00:00");
    EXPECT_EQ(Value("PatientCase-dosing history", "Date", kCase1), "2026-12-01 00:00:00");
    EXPECT_EQ(Value("PatientCase-dosing history", "Time", kCase1), "1899-12-30 08:30:00");
    EXPECT_EQ(Value("PatientCase-dosing history", "Dose", kCase1), "80.00");
    EXPECT_EQ(Value("PatientCase-dosing history", "Outpat", kCase1), "0");
}

TEST_P(CaseSave, SavingTwiceAddsOnceAndUpdatesTheCase) {
    CaseRecord r = SampleCase();
    SaveRequest req;
    Save(r, req);
    r.Wt = 72;
    req.now = TestNow() + 1;
    SaveCase(Db(), r, req);
    EXPECT_EQ(Rows("PatientBasic"), 1);
    EXPECT_EQ(Rows("PatientCase"), 1);
    EXPECT_EQ(Value("PatientCase", "Wt", kCase1), "72.0");
    EXPECT_EQ(Value("PatientCase", "Date created", kCase1), "2026-12-09 14:00:00");
    EXPECT_EQ(r.DateText, "12/09/2026");

    // A changed case becomes the patient's next case; a changed identity a new patient.
    req.caseChanged = true;
    Save(r, req);
    EXPECT_EQ(r.Case_number, 2);
    req.patientChanged = req.patientIdentityChanged = true;
    Save(r, req);
    EXPECT_EQ(r.PATIENT_REC_Num, 2);
    EXPECT_EQ(r.Case_number, 1);
    EXPECT_FALSE(req.patientChanged || req.patientIdentityChanged || req.caseChanged);
}

TEST_P(CaseSave, ShortenedHistoryDeletesTheSurplusRows) {
    CaseRecord r = SampleCase();
    for (int day = 1; day <= 5; ++day) r.history.doseRows.push_back(Dose(day, 6, 0));
    r.history.levelRows = {LevelRow{.date = {2026, 12, 2}, .hour = 7, .minute = 45, .level = 4.25},
                           LevelRow{.date = {2026, 12, 3}, .hour = 7, .minute = 50, .level = 1.1}};
    r.history.present = true;
    SaveRequest req = Request(EndSource::IvForecast);
    Save(r, req);
    EXPECT_EQ(Rows("PatientCase-dosing history"), 5);
    EXPECT_EQ(Rows("PatientCase-level history"), 2);

    r.history.doseRows.resize(3);
    r.history.doseRows[2].dose = 120;
    r.history.levelRows.resize(1);
    Save(r, req);
    EXPECT_EQ(Rows("PatientCase-dosing history"), 3);
    EXPECT_EQ(Rows("PatientCase-dosing history", "\"Dosing Hx Num\" > 3"), 0);
    EXPECT_EQ(Value("PatientCase-dosing history", "Dose", kCase1 + " AND \"Dosing Hx Num\" = 3"), "120.00");
    EXPECT_EQ(Rows("PatientCase-level history"), 1);
    EXPECT_EQ(Value("PatientCase-level history", "Level", kCase1), "4.25");
    EXPECT_EQ(Value("PatientCase-level history", "time", kCase1), "1899-12-30 07:45:00");
}

// What each end-page source writes, row by row of the source table.
struct SourceRow {
    EndSource source;
    const char *fit, *F, *Vd, *Cl, *CF, *Vm, *Km;
    const char *dose, *interval, *form, *route, *infTime, *postTime, *avgObs;
};

TEST_P(CaseSave, EverySourceWritesItsRegimenAndParameters) {
    const SourceRow rows[] = {
        {EndSource::IvRegimen, "2", "95", "17.5", "5.2", "90", "0", "0", "", "", "", "", "", "", ""},
        {EndSource::OralRegimen, "2", "0.87", "17.5", "5.2", "0.93", "0", "0", "", "", "", "", "", "", ""},
        {EndSource::PhenytoinRegimen, "1", "95", "17.5", "", "", "412", "4", "", "", "", "", "", "", ""},
        {EndSource::IvForecast, "2", "95", "17.5", "5.2", "90", "0", "0", "120", "8", "Intermittent IV", "", "", "",
         ""},
        {EndSource::OralForecast, "2", "95", "17.5", "5.2", "90", "0", "0", "120", "8", "Intermittent IV", "IV", "", "",
         ""},
        {EndSource::PhenytoinForecast, "1", "95", "17.5", "", "", "412", "4", "120", "8", "Intermittent IV", "IV", "",
         "", "12.5"},
        {EndSource::AnalysisResults, "3", "95", "17.5", "5.2", "90", "412", "5", "120", "8", "Intermittent IV", "D",
         "0.5", "1", ""},
        // A printed report stores CF in percent, as every other source does.
        {EndSource::PopulationReportPrinted, "2", "0.80", "20.25", "4.10", "90.00", "655", "0", "", "", "", "", "", "",
         ""},
        {EndSource::FittedReportPrinted, "2", "0.80", "20.25", "4.10", "90.00", "655", "0", "", "", "", "", "", "", ""},
    };
    for (const SourceRow& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.source));
        CaseRecord r = SampleCase();
        r.Cur_fit_method = kLeastSquares;
        r.RouteCode = 'D';
        r.regimen = {"120", "Intermittent IV", "IV", "0.5", "8", "1", "12.5", "14.1"};
        SaveRequest req = Request(row.source);
        req.page = {"95", "17.5", "5.2", "90", "4.7", "412.9", 0.87, 0.925};
        req.reportSet = {0.8, 20.25, 4.1, 0.9, 0, 655.9};
        Save(r, req);
        const std::string key = "\"Patient Rec Num\" = " + std::to_string(r.PATIENT_REC_Num);
        const std::vector<std::pair<const char*, const char*>> parameters = {{"Cur-fit-method", row.fit},
                                                                             {"F", row.F},
                                                                             {"Vd", row.Vd},
                                                                             {"Cl", row.Cl},
                                                                             {"CF", row.CF},
                                                                             {"Vm", row.Vm},
                                                                             {"Km", row.Km},
                                                                             {"Vd_Unit", "1"},
                                                                             {"Cl_Unit", "1"}};
        for (const auto& [column, expected] : parameters)
            EXPECT_EQ(Value("PatientCase-parameter", column, key), expected) << column;
        const std::vector<std::pair<const char*, const char*>> regimen = {
            {"Dose", row.dose},        {"Interval", row.interval},  {"Form", row.form},         {"Route", row.route},
            {"Inf_time", row.infTime}, {"Post_time", row.postTime}, {"Average-Obs", row.avgObs}};
        for (const auto& [column, expected] : regimen) EXPECT_EQ(Value("PatientCase", column, key), expected) << column;
    }
    // No source, and a number no page sets, store the patient and case but no
    // parameter row.
    for (const EndSource source : {EndSource::None, static_cast<EndSource>(7)}) {
        CaseRecord r = SampleCase();
        r.history.doseRows = {Dose(1, 6, 0)};
        r.history.present = true;
        SaveRequest req = Request(source);
        Save(r, req);
        const std::string key = "\"Patient Rec Num\" = " + std::to_string(r.PATIENT_REC_Num);
        EXPECT_EQ(Rows("PatientCase", key), 1);
        EXPECT_EQ(Rows("PatientCase-parameter", key), 0);
        EXPECT_EQ(Rows("PatientCase-dosing history", key), 0);
    }
}

TEST_P(CaseSave, FittedSourcesSaveTheHistoriesEvenWithoutTheFlag) {
    for (const EndSource source : {EndSource::AnalysisResults, EndSource::FittedReportPrinted, EndSource::IvForecast}) {
        CaseRecord r = SampleCase();
        r.history.doseRows = {Dose(1, 6, 0), Dose(2, 6, 0)};
        SaveRequest req = Request(source);
        Save(r, req);
        const std::string key = "\"Patient Rec Num\" = " + std::to_string(r.PATIENT_REC_Num);
        EXPECT_EQ(Rows("PatientCase-dosing history", key), source == EndSource::IvForecast ? 0 : 2)
            << static_cast<int>(source);
    }
}

TEST_P(CaseSave, UserChoiceDefinitionIsStoredForZz) {
    CaseRecord r = SampleCase();
    r.Drug_ID = "zz";
    r.userDrug.drugName = "Mydrug";
    r.userDrug.units = "mcg-mcg/L";
    r.userDrug.ivSalt = "1.00";
    r.userDrug.oralForm = "Tablet";
    r.userDrug.therapeuticMax = "20";
    SaveRequest req;
    Save(r, req);
    const std::string key = "\"Patient Rec Num\" = 1 AND \"Case Number\" = 1";
    EXPECT_EQ(Value("PatientCase-User Choice", "Drug_Name", key), "Mydrug");
    EXPECT_EQ(Value("PatientCase-User Choice", "Unit", key), "0");
    EXPECT_EQ(Value("PatientCase-User Choice", "IV-Salt", key), "1.00");
    EXPECT_EQ(Value("PatientCase-User Choice", "PO-Form", key), "Tablet");
    EXPECT_EQ(Value("PatientCase-User Choice", "max", key), "20");
    Save(r, req);
    EXPECT_EQ(Rows("PatientCase-User Choice"), 1);
}

TEST_P(CaseSave, AFailureHalfwayLeavesTheDatabaseAsItWas) {
    // The parameter row is written after the patient, case and regimen.
    RefuseInserts("PatientCase-parameter");
    CaseRecord r = SampleCase();
    SaveRequest req = Request(EndSource::IvForecast);
    req.caseChanged = true;
    try {
        Save(r, req);
        FAIL() << "the save should fail";
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "no room");
    }
    EXPECT_EQ(Rows("PatientBasic"), 0);
    EXPECT_EQ(Rows("PatientCase"), 0);
    EXPECT_EQ(r.PATIENT_REC_Num, 0);
    EXPECT_EQ(r.Case_number, 0);
    EXPECT_EQ(req.patientKey, "");
    EXPECT_TRUE(req.caseChanged);
    // The same save goes through once the cause is gone.
    AllowInserts("PatientCase-parameter");
    Save(r, req);
    EXPECT_EQ(Rows("PatientCase-parameter"), 1);
}

TEST_P(CaseSave, TwoProgramsOnOneFileNeverShareAKey) {
    auto saveMany = [this](std::vector<std::int32_t>& numbers) {
        try {
            Database db(Path());
            for (int i = 0; i < 25; ++i) {
                CaseRecord r = SampleCase();
                SaveRequest req = Request(EndSource::None);
                SaveCase(db, r, req);
                numbers.push_back(r.PATIENT_REC_Num);
            }
        } catch (const DbError& e) {
            ADD_FAILURE() << e.what();
        }
    };
    std::vector<std::int32_t> a, b;
    std::thread first(saveMany, std::ref(a)), second(saveMany, std::ref(b));
    first.join();
    second.join();
    std::set<std::int32_t> all(a.begin(), a.end());
    all.insert(b.begin(), b.end());
    EXPECT_EQ(all.size(), 50u);
    EXPECT_EQ(*all.rbegin(), 50);
    EXPECT_EQ(Rows("PatientCase"), 50);
}

KINEVO_ON_BOTH_ENGINES(CaseSave);
