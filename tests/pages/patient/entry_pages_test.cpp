// The patient and case entry pages (137, 136, 138): the checks on leaving a
// field, the SCr / CLcr choice, the drug list, Next and Save on a real
// temporary database, and the stored case shown again.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <utility>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/patient/entry_form.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "records/db/db_error.h"
#include "tests/pages/page_test_support.h"

namespace {
const QString kFutureMessage = "A future birthday date cannot be entered. Please enter valid age.";
const QString kAgeMessage = "Maximum age allowed is 120 years. Please enter valid age.";
const QString kNewPatientFormat = "Please input the date data in format of 'mm/dd/yyyy' OR 'm/d/yyyy'";
const QString kOtherFormat = "Please input the date data in format of 'mm/dd/yyyy'";
}  // namespace

class EntryPagesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    std::string db;

    template <class W = QLineEdit>
    static W* Field(QWidget* page, const char* name) {
        auto* w = page->findChild<W*>(name);
        if (!w) qFatal("no field %s", name);
        return w;
    }
    static QPushButton* Button(QWidget* page, const char* name) { return Field<QPushButton>(page, name); }

    // Shows the page as the active window, so focus moves as a user's would.
    static void Activate(EntryPage& page) {
        page.Open();
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
    }
    // Types into a field and moves the focus on to the last name, running
    // the check made on leaving.
    static void TypeAndLeave(EntryPage& page, const char* name, const QString& text) {
        QLineEdit* field = Field(&page, name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        Field(&page, name == QString("lastName") ? "firstName" : "lastName")->setFocus();
        QApplication::processEvents();
    }
    QStringList Shown() const { return env->prompts.Texts(); }

    // A complete new patient: Anna Smith, born 1/5/1950, 150 lb, 70 in,
    // SCr 1.2, on `drug`.
    static void FillAdult(EntryPage& page, const QString& drug) {
        Field(&page, "lastName")->setText("Smith");
        Field(&page, "firstName")->setText("Anna");
        Field(&page, "hospitalId")->setText("H77");
        Field(&page, "birthday")->setText("01/05/1950");
        Field<QRadioButton>(&page, "female")->setChecked(true);
        Field<QComboBox>(&page, "drug")->setCurrentText(drug);
        Field(&page, "weight")->setText("150");
        Field<QRadioButton>(&page, "pounds")->setChecked(true);
        Field(&page, "height")->setText("70");
        Field<QRadioButton>(&page, "inches")->setChecked(true);
        Field(&page, "scr")->setText("1.2");
        page.UpdateButtons();
    }
    // A column of patient 1's case, as stored.
    std::string StoredCase(const char* column, int caseNumber = 1) const {
        Database d(db);
        Statement s(d, std::string("SELECT \"") + column + "\" FROM PatientCase WHERE \"Case number\" = ?");
        s.Bind(1, std::int64_t{caseNumber});
        return s.Step() ? s.Text(0) : "<no case>";
    }
    std::int64_t Rows(const char* table) const {
        Database d(db);
        return QueryInt(d, std::string("SELECT COUNT(*) FROM \"") + table + "\"");
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        db = env->MakeDatabase("entry.mdb");
        ConfiguredDatabasePath() = db;
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void birthdayIsPaddedAndCheckedAgainstToday() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        QLineEdit* birthday = Field(&page, "birthday");
        TypeAndLeave(page, "birthday", "1/5/1950");
        QCOMPARE(birthday->text(), QString("01/05/1950"));
        TypeAndLeave(page, "birthday", "1/15/1950");
        QCOMPARE(birthday->text(), QString("01/15/1950"));
        TypeAndLeave(page, "birthday", "12/5/1950");
        QCOMPARE(birthday->text(), QString("12/05/1950"));
        QVERIFY(Shown().isEmpty());

        // Today is 15 March 2012; 120 x 365 days back is 13 April 1892 (120
        // calendar years are 43800 days plus 29 leap days).
        TypeAndLeave(page, "birthday", "04/13/1892");
        TypeAndLeave(page, "birthday", "03/15/2012");
        QVERIFY(Shown().isEmpty());
        TypeAndLeave(page, "birthday", "03/16/2012");
        TypeAndLeave(page, "birthday", "04/12/1892");
        TypeAndLeave(page, "birthday", "13/45/2000");
        TypeAndLeave(page, "birthday", "3/5/12");
        TypeAndLeave(page, "birthday", "02/30/2000");
        QCOMPARE(Shown(),
                 (QStringList{kFutureMessage, kAgeMessage, kNewPatientFormat, kNewPatientFormat, kNewPatientFormat}));
        QCOMPARE(env->prompts.shown.back().title, QString("Warning"));
        // The text stays and the focus comes back to the field.
        QCOMPARE(birthday->text(), QString("02/30/2000"));
        QCOMPARE(QApplication::focusWidget(), birthday);
    }

    void otherPagesWordTheFormatMessageWithoutTheShortForm() {
        Nav().newCasePatientKey = "0";
        EntryPage& page = pages->newCase();
        Activate(page);
        env->prompts.shown.clear();  // no patient 0 is stored: the engine's error
        TypeAndLeave(page, "birthday", "13/45/2000");
        QCOMPARE(Shown(), QStringList{kOtherFormat});
    }

    void weightHeightAndRenalRanges() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        TypeAndLeave(page, "weight", "1000");  // kg: the range does not depend on the unit
        TypeAndLeave(page, "height", "230");
        Field<QRadioButton>(&page, "inches")->setChecked(true);
        TypeAndLeave(page, "height", "200");
        TypeAndLeave(page, "scr", "0.09");
        QVERIFY(Shown().isEmpty());
        TypeAndLeave(page, "weight", "1000.1");
        TypeAndLeave(page, "weight", "heavy");
        TypeAndLeave(page, "weight", "70");
        TypeAndLeave(page, "height", "231");
        TypeAndLeave(page, "height", "170");
        TypeAndLeave(page, "scr", "15.5");
        const QString weight = "Please input a valid Weight. Acceptable range is 0.1 lbs to 1000 lbs.";
        const QString height = "Please input a valid Height. Acceptable range is 5 inches to 90 inches.";
        const QString notANumber =
            "\"heavy\" is not a number. Please type digits only, with a point for decimals (no commas, spaces or "
            "letters).";
        QCOMPARE(Shown(), (QStringList{weight, notANumber, height,
                                       "Please input a correct Value of SCr. Acceptable range is 0.09 to 15 mg/dL"}));
    }

    void clearanceOrCreatinineNeverBoth() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        QLineEdit* scr = Field(&page, "scr");
        QLineEdit* clcr = Field(&page, "clcr");
        QVERIFY(Field<QRadioButton>(&page, "crsChoice")->isChecked());
        QVERIFY(clcr->isReadOnly());
        TypeAndLeave(page, "scr", "1.1");
        // Entering the clearance field chooses it; typing there empties SCr.
        TypeAndLeave(page, "clcr", "350");
        QVERIFY(Field<QRadioButton>(&page, "clcrChoice")->isChecked());
        QVERIFY(scr->isReadOnly());
        QCOMPARE(scr->text(), QString());
        QCOMPARE(Shown(), QStringList{"Please input a correct Value of CLCr."});
        TypeAndLeave(page, "clcr", "80");
        Field<QRadioButton>(&page, "crsChoice")->click();
        QCOMPARE(QApplication::focusWidget(), scr);
        QVERIFY(clcr->isReadOnly());
        QTest::keyClicks(scr, "0.8");
        QCOMPARE(clcr->text(), QString());
        QCOMPARE(Shown().size(), 1);
    }

    void oneMessageAtATime() {
        // A real message box runs its own event loop, in which the check of
        // the field left for the box's sake would come up too.
        struct NestingPrompts : ScriptedPrompts {
            std::function<void()> whileShown;
            void Tell(QWidget* parent, const QString& title, const QString& text, PromptIcon icon) override {
                ScriptedPrompts::Tell(parent, title, text, icon);
                if (auto f = std::exchange(whileShown, nullptr)) f();
            }
        } prompts;
        UsePrompts(&prompts);
        EntryPage& page = pages->newPatient();
        Activate(page);
        Field(&page, "height")->setText("231");
        prompts.whileShown = [&page] {
            Field(&page, "height")->setFocus();
            Field(&page, "lastName")->setFocus();
            QApplication::processEvents();
        };
        TypeAndLeave(page, "weight", "0");
        QCOMPARE(prompts.Texts().size(), 1);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "weight"));
        UsePrompts(&env->prompts);
    }

    // Enter after the SCr moves on as Tab does: the page stays on "Crs:".
    void enterFromScrKeepsTheCreatinine() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        QLineEdit* scr = Field(&page, "scr");
        scr->setFocus();
        QTest::keyClicks(scr, "1.4");
        PressKey(scr, Qt::Key_Return);
        QApplication::processEvents();
        QVERIFY(QApplication::focusWidget() != Field(&page, "clcr"));
        QVERIFY(Field<QRadioButton>(&page, "crsChoice")->isChecked());
        QVERIFY(!scr->isReadOnly());
        QVERIFY(Field(&page, "clcr")->isReadOnly());
        QCOMPARE(scr->text(), QString("1.4"));
        QVERIFY(Shown().isEmpty());
    }

    void upAndDownFollowTheScreen() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        Field(&page, "birthday")->setFocus();
        PressKey(Field(&page, "birthday"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "weight"));
        PressKey(Field(&page, "weight"), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "birthday"));
        Field(&page, "scr")->setFocus();
        PressKey(Field(&page, "scr"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "clcr"));
        // The albumin field is off for gentamicin: Down stays on the last field.
        PressKey(Field(&page, "clcr"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "clcr"));
        // Enter moves on and skips what is off.
        PressKey(Field(&page, "clcr"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "lastName"));
        Field<QComboBox>(&page, "drug")->setFocus();
        PressKey(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "weight"));
        // Tab from CLcr goes to the albumin only for phenytoin; from Previous
        // back to the last name.
        Field(&page, "clcr")->setFocus();
        PressKey(Field(&page, "clcr"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("caseNote"));
        Field<QComboBox>(&page, "drug")->setCurrentText("Phenytoin");
        Field(&page, "clcr")->setFocus();
        PressKey(Field(&page, "clcr"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "albumin"));
        Button(&page, "previous")->setFocus();
        PressKey(Button(&page, "previous"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "lastName"));
        // A click into the field being typed in goes on at the end of its text.
        QLineEdit* last = Field(&page, "lastName");
        last->setText("Smithers");
        last->setCursorPosition(0);
        QTest::mouseClick(last, Qt::LeftButton, {}, QPoint(4, last->height() / 2));
        QCOMPARE(last->cursorPosition(), 8);
    }

    void choosingAnotherDrugStartsTheCaseAfresh() {
        struct ResetSpy : KinevoPage {
            int resets = 0;
            ResetSpy() : KinevoPage(PageId::FittingSetUp, "spy", std::nullopt) {}
            void Reset() override { ++resets; }
        } fittingSetUp;
        SetUpAdult(TheCase(), "gm");
        EntryPage& page = pages->newPatient();
        Activate(page);
        auto* drug = Field<QComboBox>(&page, "drug");
        QCOMPARE(drug->currentText(), QString("Gentamicin"));  // back from the factor page
        // Leaving with the record's own drug keeps the later pages.
        drug->setFocus();
        Field(&page, "lastName")->setFocus();
        QApplication::processEvents();
        QCOMPARE(fittingSetUp.resets, 0);
        QCOMPARE(TheCase().Wt, 70.0);
        // Picking another drug clears the case part of the record, keeping the patient.
        drug->setFocus();
        PressKey(drug, Qt::Key_Down);
        QCOMPARE(drug->currentText(), QString("Levofloxacin/Ofloxacin"));
        QCOMPARE(TheCase().Wt, 0.0);
        QCOMPARE(TheCase().Patient_ID, std::string("H123"));
        Field(&page, "lastName")->setFocus();
        QApplication::processEvents();
        QCOMPARE(fittingSetUp.resets, 1);
        QVERIFY(Shown().isEmpty());
    }

    void drugListAndAlbumin() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        auto* drug = Field<QComboBox>(&page, "drug");
        QStringList names;
        for (int i = 0; i < drug->count(); ++i) names << drug->itemText(i);
        QCOMPARE(names,
                 (QStringList{"Amikacin", "Ciprofloxacin", "Digoxin", "Flucytosine", "Gentamicin",
                              "Levofloxacin/Ofloxacin", "Lithium", "Phenobarbital", "Phenytoin", "Procainamide",
                              "Quinidine", "Theophylline", "Tobramycin", "User's Choice One-Comp Drug", "Vancomycin"}));
        QLineEdit* albumin = Field(&page, "albumin");
        QVERIFY(!albumin->isEnabled());
        drug->setFocus();
        QTest::keyClicks(drug, "Phenyt");
        QCOMPARE(drug->currentText(), QString("Phenytoin"));
        QVERIFY(albumin->isEnabled());
        drug->setEditText("Aspirin");
        Field(&page, "lastName")->setFocus();
        QApplication::processEvents();
        QCOMPARE(Shown(), QStringList{"Please select a valid drug name."});
        QCOMPARE(QApplication::focusWidget(), drug);
    }

    void nextFillsTheRecordWithConvertedUnits() {
        EntryPage& page = pages->newPatient();
        page.Open();
        QVERIFY(!Button(&page, "next")->isEnabled());
        FillAdult(page, "Gentamicin");
        TheCase().FactorFlags[3] = 1;
        QVERIFY(Button(&page, "next")->isEnabled());
        Click(&page, "next");
        QCOMPARE(page.result(), code::kFactors);
        const CaseRecord& r = TheCase();
        QCOMPARE(r.DisplayName, std::string("Smith, Anna"));
        QCOMPARE(r.Patient_ID, std::string("H77"));
        QCOMPARE(r.SEX, std::string("F"));
        QCOMPARE(r.Drug_ID, std::string("gm"));
        QCOMPARE(r.WtUnit, std::string("lb"));
        QCOMPARE(r.Wt, 150 * 0.453597);
        QCOMPARE(r.HtUnit, std::string("in"));
        QCOMPARE(r.Ht, 70 * 2.5399);
        QCOMPARE(r.SCr, 1.2);
        QCOMPARE(r.CrCl, 0.0);
        // 62 years on 5 January 2012, then 26 + 29 + 15 days to 15 March.
        QVERIFY(qAbs(r.Age - (62 + 70 / 365.0)) < 1e-9);
        QVERIFY(!r.Factor(3));
        QVERIFY(Nav().patientChanged && Nav().patientIdentityChanged && Nav().caseChanged);

        // Back from the factor page the page shows the record's values.
        page.Open();
        QCOMPARE(Field(&page, "lastName")->text(), QString("Smith"));
        QCOMPARE(Field(&page, "weight")->text(), QString("150.00"));
        QCOMPARE(Field(&page, "height")->text(), QString("70.00"));
        QVERIFY(Field<QRadioButton>(&page, "pounds")->isChecked());
        QCOMPARE(Field<QComboBox>(&page, "drug")->currentText(), QString("Gentamicin"));
    }

    void nextGoesToTheUsersChoicePageForItsDrug() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "User's Choice One-Comp Drug");
        Click(&page, "next");
        QCOMPARE(page.result(), code::kUserChoice);
        QCOMPARE(TheCase().Drug_ID, std::string("zz"));
    }

    void nextRefusesMissingDrugAndAlbumin() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Gentamicin");
        // The drug emptied between two ticks of the timer.
        Field<QComboBox>(&page, "drug")->setCurrentText("");
        Click(&page, "next");
        Field<QComboBox>(&page, "drug")->setCurrentText("Phenytoin");
        page.UpdateButtons();
        Click(&page, "next");
        QVERIFY(!Button(&page, "save")->isEnabled());  // phenytoin needs its albumin first
        QCOMPARE(Shown(), (QStringList{"Please Select a kind of drug, before you click Next.",
                                       "You must enter albumin value."}));
        QCOMPARE(page.result(), 0);
        Field(&page, "albumin")->setText("3.5");
        Click(&page, "next");
        QCOMPARE(page.result(), code::kFactors);
        QCOMPARE(TheCase().Albumin, 3.5);
    }

    void timerEnablesNext() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Digoxin");
        Field(&page, "weight")->clear();
        page.UpdateButtons();
        QVERIFY(!Button(&page, "next")->isEnabled());
        Field(&page, "weight")->setText("70");
        QTRY_VERIFY_WITH_TIMEOUT(Button(&page, "next")->isEnabled(), 1500);
        Click(&page, "previous");
        QCOMPARE(page.result(), code::kSearch);
        Field(&page, "weight")->clear();
        QTest::qWait(700);  // the timer stopped with the page
        QVERIFY(Button(&page, "next")->isEnabled());
    }

    void saveStoresThePatientAndCase() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Gentamicin");
        QCOMPARE(Button(&page, "save")->text(), QString("&Save"));
        Click(&page, "save");
        QCOMPARE(Button(&page, "save")->text(), QString("Data saved"));
        QVERIFY(!Button(&page, "save")->isEnabled());
        QVERIFY(Button(&page, "next")->isEnabled());
        QVERIFY(Nav().newPatientSaved);
        QCOMPARE(Rows("PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows("PatientCase"), std::int64_t(1));
        {
            Database d(db);
            Statement s(d,
                        "SELECT \"PATIENT LAST NAME\", \"Wt\", \"kg\", \"Drug ID\", \"Case number\" "
                        "FROM PatientBasic JOIN PatientCase USING (\"PATIENT REC Num\")");
            QVERIFY(s.Step());
            QCOMPARE(s.Text(0), std::string("Smith"));
            QCOMPARE(s.Real(1), 150.0);  // back in pounds, as typed
            QCOMPARE(s.Int(2), std::int64_t(0));
            QCOMPARE(s.Text(3), std::string("GM"));
            QCOMPARE(s.Int(4), std::int64_t(1));
        }
        QCOMPARE(TheCase().PATIENT_REC_Num, 1);
        QCOMPARE(TheCase().Case_number, 1);

        // A second press after a correction keeps the one patient and the
        // one case, which now holds the corrected weight.
        Field(&page, "weight")->setText("152");
        page.UpdateButtons();
        QCOMPARE(Button(&page, "save")->text(), QString("&Save"));
        Click(&page, "save");
        QCOMPARE(Rows("PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows("PatientCase"), std::int64_t(1));
        QCOMPARE(StoredCase("Wt"), std::string("152.00"));
        QCOMPARE(TheCase().Case_number, 1);
        QVERIFY(Shown().isEmpty());
    }

    void creatinineTypedInMicromolesIsStoredInMilligrams() {
        ShownCreatinineUnit() = CreatinineUnit::UmolPerL;
        EntryPage& page = pages->newPatient();
        Activate(page);
        QCOMPARE(page.findChild<QLabel*>("scrUnit")->text(), QString("umol/L"));
        TypeAndLeave(page, "scr", "5");
        QCOMPARE(Shown(), QStringList{"Please input a correct Value of SCr. Acceptable range is 8 to 1326 umol/L"});
        FillAdult(page, "Gentamicin");
        Field(&page, "scr")->setText("88.4");
        page.UpdateButtons();
        Click(&page, "save");
        // 88.4 umol/L / (10 mg/L / 113.12 g/mol = 88.40 umol/L per mg/dL) = 1.00 mg/dL.
        QCOMPARE(StoredCase("SCr"), std::string("1.0"));

        TheCase() = CaseRecord{};
        Nav().existingCasePatientKey = "1";
        Nav().existingCaseCaseKey = "1";
        EntryPage& stored = pages->existingCase();
        stored.Open();
        QCOMPARE(Field(&stored, "scr")->text(), QString("88.4"));
        if (qEnvironmentVariableIsSet("KINEVO_SHOT_DIR")) SavePagePicture(stored, "entry_umol.png");
        QVERIFY(!Button(&stored, "save")->isEnabled());  // shown again, nothing changed
        ShownCreatinineUnit() = CreatinineUnit::MgPerDl;
    }

    void saveRefusesPhenytoinWithoutAlbumin() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Phenytoin");
        Click(&page, "save");  // disabled: nothing happens
        QCOMPARE(Rows("PatientBasic"), std::int64_t(0));
        Field(&page, "albumin")->setText("4");
        page.UpdateButtons();
        Click(&page, "save");
        QCOMPARE(Rows("PatientCase"), std::int64_t(1));
    }

    void existingCaseKeepsItsDrug() {
        EntryPage& entry = pages->newPatient();
        entry.Open();
        FillAdult(entry, "Phenytoin");
        Field(&entry, "albumin")->setText("3.8");
        entry.UpdateButtons();
        Click(&entry, "save");
        TheCase() = CaseRecord{};

        Nav().existingCasePatientKey = "1";
        Nav().existingCaseCaseKey = "1";
        EntryPage& page = pages->existingCase();
        page.Open();
        QVERIFY(Nav().caseExists);
        auto* drug = Field<QComboBox>(&page, "drug");
        QVERIFY(!drug->isEnabled());
        QCOMPARE(drug->currentText(), QString("Phenytoin"));
        QVERIFY(Field(&page, "albumin")->isEnabled());
        QCOMPARE(Field(&page, "albumin")->text(), QString("3.8"));
        QCOMPARE(Field(&page, "weight")->text(), QString("150.00"));
        QCOMPARE(Field(&page, "birthday")->text(), QString("01/05/1950"));
        QVERIFY(Field<QRadioButton>(&page, "female")->isChecked());
        QVERIFY(!Button(&page, "save")->isEnabled());  // nothing changed yet

        // A changed case is stored as a further case; the stored one stays.
        Field(&page, "weight")->setText("148");
        page.UpdateButtons();
        Click(&page, "save");
        QCOMPARE(Rows("PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows("PatientCase"), std::int64_t(2));
        QCOMPARE(TheCase().Case_number, 2);
        QCOMPARE(page.Keys().caseNumber, std::string("2"));

        // Next on the unchanged page leaves the change flags clear.
        Click(&page, "next");
        QCOMPARE(page.result(), code::kFactors);
        QVERIFY(!Nav().patientChanged && !Nav().caseChanged);
    }

    void newCaseOfAListedPatientAndItsCorrection() {
        EntryPage& entry = pages->newPatient();
        entry.Open();
        FillAdult(entry, "Vancomycin");
        Click(&entry, "save");
        TheCase() = CaseRecord{};

        Nav().newCasePatientKey = "1";
        EntryPage& page = pages->newCase();
        page.Open();
        QCOMPARE(Field(&page, "lastName")->text(), QString("Smith"));
        QCOMPARE(Field(&page, "weight")->text(), QString());
        QVERIFY(!Nav().caseExists);
        Field<QComboBox>(&page, "drug")->setCurrentText("Digoxin");
        Field(&page, "weight")->setText("60");
        Field<QRadioButton>(&page, "kilograms")->setChecked(true);
        Field(&page, "height")->setText("165");
        Field<QRadioButton>(&page, "centimetres")->setChecked(true);
        Field(&page, "scr")->setText("0.9");
        page.UpdateButtons();
        Click(&page, "save");
        QVERIFY(Nav().caseExists);
        QCOMPARE(Rows("PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows("PatientCase"), std::int64_t(2));
        QCOMPARE(TheCase().Case_number, 2);

        // A second Save of the same visit corrects the case it added.
        auto* note = Field<QPlainTextEdit>(&page, "caseNote");
        note->setPlainText("trough due at 6");
        page.UpdateButtons();
        Click(&page, "save");
        QCOMPARE(Rows("PatientCase"), std::int64_t(2));
        QCOMPARE(StoredCase("Case Note", 2), std::string("trough due at 6"));
        QCOMPARE(page.Keys().caseNumber, std::string("2"));

        // Opened again, the page starts a new visit: the case it shows is
        // the stored one, which a change leaves as it is.
        Nav().existingCasePatientKey = "1";
        Nav().existingCaseCaseKey = "2";
        EntryPage& existing = pages->existingCase();
        existing.Open();
        Field(&existing, "weight")->setText("61");
        existing.UpdateButtons();
        Click(&existing, "save");
        QCOMPARE(Rows("PatientCase"), std::int64_t(3));
        QCOMPARE(StoredCase("Wt", 2), std::string("60.0"));
        Field(&existing, "weight")->setText("62");
        existing.UpdateButtons();
        Click(&existing, "save");
        QCOMPARE(Rows("PatientCase"), std::int64_t(3));
        QCOMPARE(StoredCase("Wt", 3), std::string("62.0"));
        QVERIFY(Shown().isEmpty());
    }

    void creatinineIsCheckedBeforeTheClearanceIsChosen() {
        EntryPage& page = pages->newPatient();
        Activate(page);
        QLineEdit* scr = Field(&page, "scr");
        QLineEdit* clcr = Field(&page, "clcr");
        const QStringList scrMessage{"Please input a correct Value of SCr. Acceptable range is 0.09 to 15 mg/dL"};
        // Tab passes the read-only clearance by, so the creatinine is checked.
        scr->setFocus();
        QTest::keyClicks(scr, "16");
        QTest::keyClick(scr, Qt::Key_Tab);
        QApplication::processEvents();
        QCOMPARE(Shown(), scrMessage);
        QCOMPARE(QApplication::focusWidget(), scr);
        QVERIFY(Field<QRadioButton>(&page, "crsChoice")->isChecked());
        QVERIFY(!scr->isReadOnly());
        // A click into the clearance waits for the creatinine to be mended.
        clcr->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QCOMPARE(Shown().size(), 2);
        QVERIFY(Field<QRadioButton>(&page, "crsChoice")->isChecked());
        QCOMPARE(scr->text(), QString("16"));
        scr->setText("1.1");
        clcr->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QVERIFY(Field<QRadioButton>(&page, "clcrChoice")->isChecked());
        QCOMPARE(scr->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(Shown().size(), 2);
    }

    void updatedDatesAreThisPatientsAndShowAfterSave() {
        TheCase().DATE_STORED = TestMoment() - 400;  // someone seen a year ago
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Gentamicin");
        Click(&page, "save");
        const QString today = "03/15/2012";
        QCOMPARE(Field(&page, "patientUpdated")->text(), today);
        QCOMPARE(Field(&page, "caseUpdated")->text(), today);

        Nav().existingCasePatientKey = Nav().existingCaseCaseKey = "1";
        EntryPage& existing = pages->existingCase();
        existing.Open();
        QCOMPARE(Field(&existing, "patientUpdated")->text(), today);
        QCOMPARE(Field(&existing, "caseUpdated")->text(), today);
    }

    void aPatientReplacedElsewhereIsNotTakenForTheOneWorkedOn() {
        EntryPage& entry = pages->newPatient();
        entry.Open();
        FillAdult(entry, "Gentamicin");
        Click(&entry, "save");
        {
            // Another workstation deletes the patient and stores someone else as 1.
            Database other(db);
            other.Execute(
                "DELETE FROM PatientCase; DELETE FROM PatientBasic;"
                "INSERT INTO PatientBasic (\"PATIENT REC Num\", \"PATIENT LAST NAME\") VALUES (1, 'Delta')");
        }
        ResetCase(TheCase(), false);  // "Work on the Same Patient"
        Nav().newCasePatientKey = "1";
        EntryPage& page = pages->newCase();
        page.Open();
        QCOMPARE(Shown(), QStringList{kPatientChangedText});
        QCOMPARE(Field(&page, "lastName")->text(), QString("Smith"));
        Field<QComboBox>(&page, "drug")->setCurrentText("Digoxin");
        Field(&page, "weight")->setText("60");
        Field(&page, "height")->setText("165");
        Field(&page, "scr")->setText("0.9");
        page.UpdateButtons();
        Click(&page, "save");
        QCOMPARE(Shown(), (QStringList{kPatientChangedText, kPatientChangedText}));
        QCOMPARE(Rows("PatientCase"), std::int64_t(0));
    }

    void aPatientStoredByAnotherPageIsNotAddedAgain() {
        EntryPage& page = pages->newPatient();
        page.Open();
        FillAdult(page, "Gentamicin");
        Click(&page, "next");
        {
            // The user's choice page stores the patient and the case.
            Database d(db);
            EntryKeys keys;
            StoreUserChoicePage(d, TheCase(), keys, TestMoment());
        }
        page.Open();
        QVERIFY(!Button(&page, "save")->isEnabled());
        Field(&page, "weight")->setText("152");
        page.UpdateButtons();
        Click(&page, "save");
        QCOMPARE(Rows("PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows("PatientCase"), std::int64_t(2));
        QVERIFY(Shown().isEmpty());
    }
};

QTEST_MAIN(EntryPagesTest)
#include "entry_pages_test.moc"
