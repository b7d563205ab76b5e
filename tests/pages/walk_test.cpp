// A whole visit as a pharmacist makes it: from the welcome page through a
// new patient, saving, finding that patient again in the list and opening
// the stored case.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

using V = std::vector<PageId>;

class WalkTest : public QObject {
    Q_OBJECT

    static void Set(KinevoPage& p, const char* name, const QString& text) {
        p.findChild<QLineEdit*>(name)->setText(text);
    }
    static QString Text(KinevoPage& p, const char* name) { return p.findChild<QLineEdit*>(name)->text(); }

private slots:
    void newPatientSavedFoundAndReopened() {
        PageTestEnvironment env;
        ConfiguredDatabasePath() = env.MakeDatabase("walk.mdb");
        PageSet pages;
        QString saveCaption;
        int listRows = 0;
        QString reopenedWeight, reopenedDrug;
        bool drugFixed = false;
        const std::vector<Step> steps{
            {PageId::Search, Press("next")},  // all fields blank: a new patient
            {PageId::NewPatientEntry,
             [&](KinevoPage& p) {
                 Set(p, "lastName", "Quill");
                 Set(p, "firstName", "Ada");
                 Set(p, "hospitalId", "H501");
                 Set(p, "birthday", "07/04/1980");
                 p.findChild<QRadioButton*>("female")->setChecked(true);
                 p.findChild<QComboBox*>("drug")->setCurrentText("Vancomycin");
                 Set(p, "weight", "132");
                 p.findChild<QRadioButton*>("pounds")->setChecked(true);
                 Set(p, "height", "160");
                 Set(p, "scr", "0.8");
                 static_cast<EntryPage&>(p).UpdateButtons();
                 Click(&p, "save");
                 saveCaption = p.findChild<QPushButton*>("save")->text();
                 Click(&p, "previous");
             }},
            {PageId::Search,
             [](KinevoPage& p) {
                 Set(p, "lastName", "Qui");
                 PressKey(&p, Qt::Key_Return);
             }},
            {PageId::List,
             [&](KinevoPage& p) {
                 QTableWidget* grid = static_cast<ListPage&>(p).Grid();
                 listRows = grid->rowCount();
                 grid->setCurrentCell(1, 1);  // the patient's one case, under their row
                 PressKey(&p, Qt::Key_Return);
             }},
            {PageId::ExistingCaseEntry,
             [&](KinevoPage& p) {
                 reopenedWeight = Text(p, "weight");
                 auto* drug = p.findChild<QComboBox*>("drug");
                 reopenedDrug = drug->currentText();
                 drugFixed = !drug->isEnabled();
                 ExitWithOk(env.prompts, p);
             }},
        };
        ChainResult walk;
        WelcomePage welcome(ProgramFiles::In(env.Dir()), [&](int firstCode) {
            walk = RunChain(pages, firstCode, steps);
            return walk.code;
        });
        welcome.Open();
        welcome.show();
        Click(&welcome, "next");

        QCOMPARE(walk.visited,
                 (V{PageId::Search, PageId::NewPatientEntry, PageId::Search, PageId::List, PageId::ExistingCaseEntry}));
        QCOMPARE(walk.code, code::kExitConfirmed);
        QCOMPARE(welcome.result(), code::kExitConfirmed);
        QCOMPARE(saveCaption, QString("Data saved"));
        QCOMPARE(listRows, 2);
        // 132 lb stored as typed and shown back in pounds.
        QCOMPARE(reopenedWeight, QString("132.00"));
        QCOMPARE(reopenedDrug, QString("Vancomycin"));
        QVERIFY(drugFixed);
        QCOMPARE(TheCase().DisplayName, std::string("Quill, Ada"));
        QCOMPARE(TheCase().PATIENT_REC_Num, 1);
        QCOMPARE(TheCase().Case_number, 1);
        QCOMPARE(TheCase().Drug_ID, std::string("vm"));
        QCOMPARE(env.prompts.Texts(), QStringList{"Are you sure you want to exit Kinevo?"});
    }
};

QTEST_MAIN(WalkTest)
#include "walk_test.moc"
