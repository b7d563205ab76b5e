// The patient list on a real database: what the grid shows and in what
// order, opening a patient or a case, the deletions, the limits and the
// database errors.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "app/kit/institution.h"
#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "tests/pages/page_test_support.h"

namespace {
const char* const kCaseTables[] = {"PatientCase", "PatientCase-parameter", "PatientCase-User Choice",
                                   "PatientCase-dosing history", "PatientCase-level history"};

// The stored texts of a case row, as the database holds them.
struct StoredCase {
    int number;
    const char* created;  // "YYYY-MM-DD HH:MM:SS"
    const char* drug = "GM";
    const char* wt = "70.0";
    bool kg = true;
    const char* ht = "175.0";
    bool cm = true;
    const char* scr = "1.0";
    const char* crcl = "0.0";
    const char* albumin = "0.0";
};
}  // namespace

class ListPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    std::string db;

    // Rows are written with plain SQL so that what the grid must show is
    // known from the stored texts alone.
    void Patient(int rec, const std::string& last, const std::string& first, const std::string& id, bool male = true,
                 const char* stored = "2012-03-10 09:30:00") {
        Database d(db);
        Statement s(d, "INSERT INTO \"PatientBasic\" VALUES (?, ?, ?, ?, ?, '1961-09-01 00:00:00', ?, '')");
        s.BindAll({std::int64_t{rec}, id, first, last, std::string(stored), std::int64_t{male}});
        s.Step();
    }
    void Case(int patient, const StoredCase& c) {
        Database d(db);
        Statement s(d,
                    "INSERT INTO \"PatientCase\" (\"Patient Rec Num\", \"Date created\", \"Case number\", \"Wt\", "
                    "\"kg\", \"Ht\", \"cm\", \"SCr\", \"CrCl\", \"Albumin\", \"Drug ID\") "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        s.BindAll({std::int64_t{patient}, std::string(c.created), std::int64_t{c.number}, std::string(c.wt),
                   std::int64_t{c.kg}, std::string(c.ht), std::int64_t{c.cm}, std::string(c.scr), std::string(c.crcl),
                   std::string(c.albumin), std::string(c.drug)});
        s.Step();
    }
    // A row in each of the four other case tables.
    void CaseDetails(int patient, int caseNumber) {
        Database d(db);
        for (const char* sql :
             {"INSERT INTO \"PatientCase-parameter\" (\"Patient Rec Num\", \"Case number\") VALUES (?, ?)",
              "INSERT INTO \"PatientCase-User Choice\" (\"Patient Rec Num\", \"Case Number\") VALUES (?, ?)",
              "INSERT INTO \"PatientCase-dosing history\" (\"Patient Rec Num\", \"Case number\", "
              "\"Dosing Hx Num\") VALUES (?, ?, 1)",
              "INSERT INTO \"PatientCase-level history\" (\"Patient Rec Num\", \"Case number\", "
              "\"Level Hx Num\") VALUES (?, ?, 1)"}) {
            Statement s(d, sql);
            s.BindAll({std::int64_t{patient}, std::int64_t{caseNumber}});
            s.Step();
        }
    }
    std::int64_t Rows(const char* table, int patient, int caseNumber = 0) {
        Database d(db);
        std::string sql = std::string("SELECT COUNT(*) FROM \"") + table + "\" WHERE \"Patient Rec Num\" = ?";
        if (caseNumber) sql += " AND \"Case number\" = " + std::to_string(caseNumber);
        return QueryInt(d, sql, {std::int64_t{patient}});
    }
    std::int64_t RowsOfPatient(int patient) {
        std::int64_t n = Rows("PatientBasic", patient);
        for (const char* table : kCaseTables) n += Rows(table, patient);
        return n;
    }

    ListPage& List() { return pages->list(); }
    QTableWidget* Grid() { return List().Grid(); }
    QString Cell(int row, int column) {
        const QTableWidgetItem* item = Grid()->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList RowTexts(int row) {
        QStringList texts;
        for (int column = 0; column < Grid()->columnCount(); ++column) texts << Cell(row, column);
        return texts;
    }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 0; row < Grid()->rowCount(); ++row) texts << Cell(row, column);
        return texts;
    }
    QString Status() { return List().findChild<QLabel*>("status")->text(); }
    void OpenWith(const PatientSearch& search) {
        List().SetSearch(search);
        List().Open();
    }
    void Select(int row) { Grid()->setCurrentCell(row, 1); }
    void Enter() { PressKey(Grid(), Qt::Key_Return); }

    // Smith (three cases), Smithers (one), and two others.
    void FourPatients() {
        Patient(1, "Smithers", "Bob", "H-200");
        Case(1, {1, "2012-03-03 08:00:00"});
        Patient(2, "Jones", "Kate", "H-300", false);
        Patient(3, "smith", "Ann", "H-100", false);
        Case(3, {1, "2012-03-01 08:00:00"});
        Case(3, {2, "2012-03-05 08:00:00"});
        Case(3, {3, "2012-03-02 08:00:00"});
        Patient(4, "Smyth", "Carl", "H-400");
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        db = env->MakeDatabase("list.mdb");
        ConfiguredDatabasePath() = db;
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void gridLayout() {
        QCOMPARE(Grid()->columnCount(), 8);
        QVERIFY(Grid()->horizontalHeader()->isHidden());
        // 1440 twips to the inch at 96 dots per inch: 15 twips a pixel.
        const int pixels[] = {113, 110, 80, 85, 67, 100, 80, 87};
        for (int column = 0; column < 8; ++column) QCOMPARE(Grid()->columnWidth(column), pixels[column]);
        QCOMPARE(List().findChild<QLabel*>("captions")->text(),
                 QString("     Name                      Pt #/Drug              Sex              B'day/Wt.        "
                         "Ht.          Crs/CLcr         Albumin      Last Update"));
    }

    void lastNamePrefixListsPatientsSortedWithCasesNewestFirst() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        QVERIFY(env->prompts.shown.empty());
        QCOMPARE(Column(0), (QStringList{"smith, Ann", "", "", "", "Smithers, Bob", ""}));
        QCOMPARE(Column(7),
                 (QStringList{"03/10/2012", "03/05/2012", "03/02/2012", "03/01/2012", "03/10/2012", "03/03/2012"}));
        QCOMPARE(RowTexts(0), (QStringList{"smith, Ann", "H-100", "Female", "09/01/1961", "", "", "", "03/10/2012"}));
        QCOMPARE(RowTexts(1), (QStringList{"", "--Gentamicin", "", "70 kg", "175 cm", "1.0 mg/dL", "", "03/05/2012"}));
        QCOMPARE(Cell(4, 2), QString("Male"));
        QCOMPARE(Status(), QString("2 patients with total of 4 cases found."));
        // Where creatinine is shown in umol/L: 1.0 mg/dL x 88.40.
        ShownCreatinineUnit() = CreatinineUnit::UmolPerL;
        OpenWith(SearchByLastName("smi"));
        QCOMPARE(Cell(1, 5), QString("88.4 umol/L"));
        ShownCreatinineUnit() = CreatinineUnit::MgPerDl;

        OpenWith(SearchById("H-30"));
        QCOMPARE(Column(0), QStringList{"Jones, Kate"});
        QCOMPARE(Status(), QString("1 patients with total of 0 cases found."));
    }

    // Only rows with a text wider than its column are measured; every row
    // ends as high as sizing all rows to their contents makes it.
    void rowsAreAsHighAsTheirText() {
        FourPatients();
        Patient(5, "Smith-Montgomery-Wetherspoon", "Alexandra", "H-500-LONG-RECORD-NUMBER");
        Case(5, {1, "2012-03-04 08:00:00"});
        OpenWith(SearchByLastName("smi"));
        std::vector<int> heights;
        for (int row = 0; row < Grid()->rowCount(); ++row) heights.push_back(Grid()->rowHeight(row));
        Grid()->resizeRowsToContents();
        for (int row = 0; row < Grid()->rowCount(); ++row) QCOMPARE(heights[row], Grid()->rowHeight(row));
        const int wrapped = static_cast<int>(Column(0).indexOf("Smith-Montgomery-Wetherspoon, Alexandra"));
        QVERIFY(heights[wrapped] > heights[0]);
    }

    void caseRowsShowUnitsRenalAlbuminAndTheUsersDrug() {
        Patient(1, "Lee", "Sam", "7");
        Case(1, {1, "2012-03-01 08:00:00", "PH", "154.3", false, "66.9", false, "0.0", "85.5", "3.5"});
        Case(1, {2, "2012-03-02 08:00:00", "ZZ", "70.9", true, "175.0", true, "0.0", "0.0"});
        Database d(db);
        Statement s(d,
                    "INSERT INTO \"PatientCase-User Choice\" (\"Patient Rec Num\", \"Case Number\", "
                    "\"Drug_Name\") VALUES (1, 2, 'Busulfan')");
        s.Step();
        OpenWith(SearchByLastName("Lee"));
        QCOMPARE(RowTexts(1), (QStringList{"", "--User's Choice One-Comp Drug", "Busulfan", "70 kg", "175 cm", "", "",
                                           "03/02/2012"}));
        QCOMPARE(RowTexts(2),
                 (QStringList{"", "--Phenytoin", "", "154 lb", "66 in", "85.5 mL/min", "3.5 g/dL", "03/01/2012"}));
    }

    void noMatchShowsTheMessageAndAnEmptyGrid() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        OpenWith(SearchByLastName("Zimmer"));
        QCOMPARE(Grid()->rowCount(), 0);
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QCOMPARE(env->prompts.shown[0].text,
                 QString("No record match found.\n Press Previous to seach again or Next to proceed."));
        QCOMPARE(Status(), QString("0 patients with total of 0 cases found."));
    }

    void typedQuoteAndPercentAreTakenLiterally() {
        Patient(1, "O'Brien", "Pat", "A%1");
        Patient(2, "Obama", "Ron", "A11");
        Patient(3, "100% Fit", "Al", "B_1");
        Patient(4, "1000", "Bo", "BX1");
        OpenWith(SearchByLastName("O'"));
        QCOMPARE(Column(0), QStringList{"O'Brien, Pat"});
        OpenWith(SearchByLastName("100%"));
        QCOMPARE(Column(0), QStringList{"100% Fit, Al"});
        OpenWith(SearchById("A%"));
        QCOMPARE(Column(0), QStringList{"O'Brien, Pat"});
        OpenWith(SearchById("B_"));
        QCOMPARE(Column(0), QStringList{"100% Fit, Al"});
    }

    void enterOnAPatientRowOpensANewCase() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        Select(4);
        Enter();
        QCOMPARE(List().result(), code::kNewCaseEntry);
        QCOMPARE(Nav().newCasePatientKey, std::string("1"));
        QCOMPARE(TheCase().PATIENT_REC_Num, 1);
        QCOMPARE(TheCase().Case_number, 0);
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Smithers"));
        QCOMPARE(TheCase().DateText, std::string("03/10/2012"));
    }

    void enterOnACaseRowOpensThatCase() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        Select(2);  // smith's case 3, made on the 2nd
        Enter();
        QCOMPARE(List().result(), code::kExistingCaseEntry);
        QCOMPARE(Nav().existingCasePatientKey, std::string("3"));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("3"));
        QCOMPARE(TheCase().Case_number, 3);
        QCOMPARE(TheCase().PATIENT_FIRST_NAME, std::string("Ann"));
        QCOMPARE(TheCase().Drug_ID, std::string("gm"));
        QCOMPARE(TheCase().DateText, std::string("03/02/2012"));
    }

    void aRowNoLongerStoredLeavesABlankPatientForNext() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        {
            Database d(db);
            d.Execute("DELETE FROM \"PatientCase\" WHERE \"Patient Rec Num\" = 3 AND \"Case number\" = 2");
        }
        Select(1);
        Enter();
        QCOMPARE(List().result(), 0);
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].icon, PromptIcon::Exclamation);
        QCOMPARE(TheCase().PATIENT_REC_Num, 0);
        QCOMPARE(TheCase().Case_number, 0);
        QCOMPARE(TheCase().DateText, std::string());
        Click(&List(), "next");
        QCOMPARE(List().result(), code::kNewPatientEntry);
        QVERIFY(Nav().newPatient);
    }

    void moreThan200RowsKeepTheirKeys() {
        // 120 patients with two cases each: 360 rows.
        for (int p = 1; p <= 120; ++p) {
            Patient(p, "Doe", "N" + std::to_string(p), std::to_string(p));
            Case(p, {1, "2012-03-01 08:00:00"});
            Case(p, {2, "2012-03-02 08:00:00"});
        }
        OpenWith(SearchByLastName("Doe"));
        QCOMPARE(Grid()->rowCount(), 360);
        QCOMPARE(Status(), QString("120 patients with total of 240 cases found."));
        // The last patient's older case, its first case, is the last row.
        const QString lastName = Cell(357, 0);
        QVERIFY(lastName.startsWith("Doe, N"));
        Select(359);
        Enter();
        QCOMPARE(List().result(), code::kExistingCaseEntry);
        QCOMPARE(Nav().existingCasePatientKey, lastName.mid(6).toStdString());
        QCOMPARE(Nav().existingCaseCaseKey, std::string("1"));
        QCOMPARE(TheCase().Patient_ID, lastName.mid(6).toStdString());
    }

    void moreThan500PatientsShowTheMessageAndTheFirst500() {
        {
            Database d(db);
            Transaction t(d);
            Statement s(d,
                        "INSERT INTO \"PatientBasic\" VALUES (?, ?, 'A', 'Roe', '2012-03-10 09:30:00', "
                        "'1961-09-01 00:00:00', 1, '')");
            for (int p = 1; p <= 501; ++p) {
                s.BindAll({std::int64_t{p}, std::to_string(p)});
                s.Step();
                s.Reset();
            }
            t.Commit();
        }
        OpenWith(SearchByLastName("Roe"));
        QCOMPARE(env->prompts.Texts(),
                 QStringList{"More than 500 patients were found. Please refine your search criteria and try again."});
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QCOMPARE(Grid()->rowCount(), 500);
        QCOMPARE(Status(), QString("500 patients with total of 0 cases found."));
    }

    void deletingACaseLeavesTheEmptiedRow() {
        FourPatients();
        CaseDetails(3, 2);
        CaseDetails(3, 1);
        OpenWith(SearchByLastName("smi"));
        Select(1);  // case 2
        env->prompts.answers = {false, true};
        Click(&List(), "delete");
        QCOMPARE(Rows("PatientCase", 3, 2), std::int64_t(1));  // No keeps it
        Click(&List(), "delete");
        QCOMPARE(env->prompts.shown[1].title, QString("Warning"));
        QCOMPARE(env->prompts.shown[1].text,
                 QString("Are you sure to delete the case, Gentamicin? \nYou CAN NOT retrieve the data after "
                         "deleting it."));
        for (const char* table : kCaseTables) QCOMPARE(Rows(table, 3, 2), std::int64_t(0));
        QCOMPARE(Rows("PatientCase", 3), std::int64_t(2));
        QCOMPARE(Rows("PatientCase-parameter", 3, 1), std::int64_t(1));
        QCOMPARE(Grid()->rowCount(), 6);
        QCOMPARE(RowTexts(1), QStringList(8, QString()));
        QCOMPARE(Cell(0, 0), QString("smith, Ann"));
        // The emptied row is nothing to open or delete any more.
        Enter();
        QCOMPARE(List().result(), 0);
        Click(&List(), "delete");
        QCOMPARE(env->prompts.Texts().last(),
                 QString("No record selected.\n Please select a record and press Delete."));
    }

    void deletingAPatientEmptiesAllSixTablesAndRebuildsTheList() {
        FourPatients();
        CaseDetails(3, 1);
        CaseDetails(3, 2);
        CaseDetails(1, 1);
        OpenWith(SearchByLastName("smi"));
        Select(0);
        env->prompts.answers = {true};
        Click(&List(), "delete");
        QCOMPARE(env->prompts.shown[0].text,
                 QString("Are you sure to delete the patient, \"smith, Ann\" ID: H-100? \nYou CAN NOT retrieve the "
                         "data after deleting it."));
        QCOMPARE(RowsOfPatient(3), std::int64_t(0));
        QCOMPARE(RowsOfPatient(1), std::int64_t(1 + 5));  // Smithers untouched
        QCOMPARE(Column(0), (QStringList{"Smithers, Bob", ""}));
        QCOMPARE(Status(), QString("1 patients with total of 1 cases found."));
    }

    void deleteWithNothingSelected() {
        FourPatients();
        OpenWith(SearchByLastName("smi"));
        // A current cell that is not highlighted (as focus gives one) is no choice.
        Grid()->selectionModel()->setCurrentIndex(Grid()->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        Click(&List(), "delete");
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QCOMPARE(env->prompts.shown[0].text, QString("No record selected.\n Please select a record and press Delete."));
        QCOMPARE(RowsOfPatient(3), std::int64_t(4));
    }

    void deleteAllRemovesTheListedPatientsOnly() {
        FourPatients();
        CaseDetails(3, 1);
        OpenWith(SearchByLastName("smi"));
        env->prompts.answers = {false};
        Click(&List(), "deleteAll");
        QCOMPARE(env->prompts.shown[0].text,
                 QString("Are you sure to delete ALL the retrieved records? \nYou CAN NOT retrieve the data after "
                         "deleting these records.\n This will delete 2 patient records."));
        QCOMPARE(Grid()->rowCount(), 6);
        env->prompts.answers = {true};
        Click(&List(), "deleteAll");
        QCOMPARE(RowsOfPatient(1), std::int64_t(0));
        QCOMPARE(RowsOfPatient(3), std::int64_t(0));
        QCOMPARE(RowsOfPatient(2), std::int64_t(1));  // Jones and Smyth were not listed
        QCOMPARE(RowsOfPatient(4), std::int64_t(1));
        QCOMPARE(Grid()->rowCount(), 0);
        QCOMPARE(env->prompts.shown.back().title, QString("Records Deleted"));
        QCOMPARE(env->prompts.shown.back().text, QString("The patient records have been successfully deleted."));
    }

    void aDatabaseErrorIsShownAndLeadsBackToTheWelcomePage() {
        env->WriteFile("broken.mdb", "not a database at all\n");
        ConfiguredDatabasePath() = (env->Dir() / "broken.mdb").string();
        List().SetSearch(SearchByLastName("smi"));
        QCOMPARE(List().Run(), code::kBackToWelcome);
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].icon, PromptIcon::Exclamation);
        QVERIFY(!env->prompts.shown[0].text.isEmpty());
        QVERIFY(!List().isVisible());
    }

    void pictureOfAFilledList() {
        if (qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) QSKIP("KINEVO_SHOT_DIR not set");
        InstitutionName() = "St. Mary's Hospital Pharmacy";
        FourPatients();
        Case(1, {2, "2012-03-12 08:00:00", "PH", "154.3", false, "66.9", false, "0.0", "85.5", "3.5"});
        Patient(5, "Smithson-Whitaker", "Elizabeth", "MRN-0042117", false);
        Case(5, {1, "2012-03-14 08:00:00", "VM", "58.0", true, "162.0", true, "1.2"});
        OpenWith(SearchByLastName("smi"));
        Select(5);
        SavePagePicture(List(), "patient_list.png");
        InstitutionName().clear();
    }
};

QTEST_MAIN(ListPageTest)
#include "list_page_test.moc"
