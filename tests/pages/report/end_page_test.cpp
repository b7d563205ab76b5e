// The end page: its opening, the four ways on, Previous by source, and the
// save into a real database, including a failing one and one waiting for
// another workstation's lock.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/kit/work_in_background.h"
#include "app/page_set.h"
#include "pages/patient/entry_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "tests/pages/page_test_support.h"

using V = std::vector<PageId>;

class EndPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    PageAction exitOk() { return ExitOk(env->prompts); }
    static std::int64_t Rows(const std::string& db, const char* table) {
        Database d(db);
        return QueryInt(d, std::string("SELECT COUNT(*) FROM \"") + table + "\"");
    }

    // Types the case part of an entry page: phenytoin, 70 kg, 170 cm, SCr
    // 0.85 and albumin 2.45 (values one decimal would change).
    static void TypeCase(KinevoPage& p) {
        p.findChild<QComboBox*>("drug")->setCurrentText("Phenytoin");
        for (const auto& [name, text] : {std::pair{"weight", "70"}, {"height", "170"}, {"scr", "0.85"}})
            p.findChild<QLineEdit*>(name)->setText(text);
        p.findChild<QRadioButton*>("kilograms")->setChecked(true);
        p.findChild<QRadioButton*>("centimetres")->setChecked(true);
        p.findChild<QLineEdit*>("albumin")->setText("2.45");
    }
    // The end page saving into `db`, for a patient not stored yet.
    EndPage& OpenForANewPatient(const std::string& db) {
        ConfiguredDatabasePath() = db;
        TheCase().PATIENT_REC_Num = 0;
        TheCase().Case_number = 0;
        pages->end().Open();
        return pages->end();
    }
    // A new patient typed on page 137 and taken on with Next, not stored.
    void TypeNewPatient() {
        ResetCaseAndFlags(true);
        const auto r =
            RunChain(*pages, code::kNewPatientEntry,
                     {{PageId::NewPatientEntry, [](KinevoPage& p) {
                           for (const auto& [name, text] :
                                {std::pair{"lastName", "Alpha"}, {"firstName", "Ann"}, {"birthday", "01/05/1950"}})
                               p.findChild<QLineEdit*>(name)->setText(text);
                           p.findChild<QRadioButton*>("female")->setChecked(true);
                           TypeCase(p);
                           static_cast<EntryPage&>(p).UpdateButtons();
                           Click(&p, "next");
                       }}});
        QCOMPARE(r.visited, (V{PageId::NewPatientEntry, PageId::Factors}));
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        SetUpAdult(TheCase(), "gm");
        TheCase().PATIENT_REC_Num = 7;
        TheCase().Case_number = 3;
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void openingShowsDrugKeysAndPrevious() {
        EndPage& end = pages->end();
        Nav().endPageSource = EndSource::IvForecast;
        end.Open();
        QCOMPARE(end.findChild<QLabel*>("drugName")->text(), QString("Gentamicin"));
        QCOMPARE(end.PatientKey(), std::string("7"));
        QCOMPARE(end.CaseKey(), std::string("3"));
        QVERIFY(end.findChild<QPushButton*>("previous")->isEnabled());
        QCOMPARE(end.Header()->Texts().name, std::string("Doe, John"));
        for (EndSource printed : {EndSource::PopulationReportPrinted, EndSource::FittedReportPrinted}) {
            Nav().endPageSource = printed;
            end.Open();
            QVERIFY(!end.findChild<QPushButton*>("previous")->isEnabled());
        }
    }

    void sameDrug() {
        const auto r =
            RunChain(*pages, code::kEnd, {{PageId::End, Press("sameDrug")}, {PageId::ExistingCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::End, PageId::ExistingCaseEntry}));
        QCOMPARE(Nav().existingCasePatientKey, std::string("7"));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("3"));
        QCOMPARE(TheCase().Wt, 70.0);  // the case itself is kept
    }

    void samePatient() {
        Nav().caseExists = true;
        const auto r =
            RunChain(*pages, code::kEnd, {{PageId::End, Press("samePatient")}, {PageId::NewCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::End, PageId::NewCaseEntry}));
        QCOMPARE(Nav().newCasePatientKey, std::string("7"));
        QCOMPARE(TheCase().Case_number, 0);
        QCOMPARE(TheCase().Wt, 0.0);
        QCOMPARE(TheCase().Patient_ID, std::string("H123"));
        QVERIFY(!Nav().caseExists);
    }

    void newPatient() {
        const auto r = RunChain(*pages, code::kEnd, {{PageId::End, Press("newPatient")}, {PageId::Search, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::End, PageId::Search}));
        QCOMPARE(TheCase().PATIENT_REC_Num, 0);
        QCOMPARE(TheCase().Case_number, 0);
        QCOMPARE(TheCase().Patient_ID, std::string());
    }

    void exitAsksAndEndsWithZero() {
        env->prompts.answers = {false, true};
        const auto r = RunChain(*pages, code::kEnd, {{PageId::End, [](KinevoPage& p) {
                                                          Click(&p, "exit");
                                                          QVERIFY(p.isVisible());
                                                          Click(&p, "exit");
                                                      }}});
        QCOMPARE(r.code, code::kEndProgram);
        QCOMPARE(env->prompts.shown.size(), std::size_t(2));
    }

    void previousBySource() {
        struct Back {
            EndSource source;
            PageId page;
        };
        for (const Back& b :
             {Back{EndSource::IvRegimen, PageId::IvRegimen}, Back{EndSource::OralRegimen, PageId::OralRegimen},
              Back{EndSource::PhenytoinRegimen, PageId::PhenytoinRegimen},
              Back{EndSource::IvForecast, PageId::IvForecast}, Back{EndSource::OralForecast, PageId::OralForecast},
              Back{EndSource::PhenytoinForecast, PageId::PhenytoinForecast},
              Back{EndSource::AnalysisResults, PageId::AnalysisResults}}) {
            Nav().endPageSource = b.source;
            const auto r = RunChain(*pages, code::kEnd, {{PageId::End, Press("previous")}, {b.page, exitOk()}});
            QCOMPARE(r.visited, (V{PageId::End, b.page}));
            QCOMPARE(Nav().endPageSource, EndSource::None);
        }
        // No source (reached through No Fitting): Previous does nothing.
        const auto r = RunChain(*pages, code::kEnd, {{PageId::End, [this](KinevoPage& p) {
                                                          Click(&p, "previous");
                                                          QVERIFY(p.isVisible());
                                                          ExitWithOk(env->prompts, p);
                                                      }}});
        QCOMPARE(r.visited, V{PageId::End});
    }

    void saveStoresOnceAndUpdatesTheKeys() {
        const std::string db = env->MakeDatabase("save.mdb");
        EndPage& end = OpenForANewPatient(db);
        Click(&end, "save");
        Click(&end, "save");
        QVERIFY(env->prompts.shown.empty());
        QCOMPARE(end.PatientKey(), std::string("1"));
        QCOMPARE(end.CaseKey(), std::string("1"));
        QCOMPARE(end.findChild<QLabel*>("saved")->text(), QString("Case 1 of patient 1 saved."));
        QCOMPARE(TheCase().PATIENT_REC_Num, 1);
        QCOMPARE(Rows(db, "PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
    }

    void saveStoresParametersOnlyWhenThePageShowedThem() {
        const std::string db = env->MakeDatabase("params.mdb");
        ConfiguredDatabasePath() = db;
        TheCase().PATIENT_REC_Num = 0;
        TheCase().Case_number = 0;
        Nav().endPageSource = EndSource::IvForecast;
        EndPage& end = pages->end();
        end.Open();
        Click(&end, "save");
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase-parameter"), std::int64_t(0));
        Nav().shownParameters = PageParameterTexts{"100", "20.5", "4.2", "100", "", "", 1.0, 1.0};
        Click(&end, "save");
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase-parameter"), std::int64_t(1));
    }

    void saveErrorIsShownAndChangesNothing() {
        env->WriteFile("not-a-database.mdb", "just some text, no tables here\n");
        ConfiguredDatabasePath() = (env->Dir() / "not-a-database.mdb").string();
        TheCase().PATIENT_REC_Num = 0;
        TheCase().Case_number = 0;
        EndPage& end = pages->end();
        end.Open();
        Click(&end, "save");
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].icon, PromptIcon::Exclamation);
        QVERIFY(!env->prompts.shown[0].text.isEmpty());
        QCOMPARE(end.PatientKey(), std::string("0"));
        QCOMPARE(TheCase().PATIENT_REC_Num, 0);
    }

    void aRefusedSaveLeavesNoSuccessLineBehind() {
        EndPage& end = OpenForANewPatient(env->MakeDatabase("first.mdb"));
        Click(&end, "save");
        auto* saved = end.findChild<QLabel*>("saved");
        QCOMPARE(saved->text(), QString("Case 1 of patient 1 saved."));
        env->WriteFile("gone.mdb", "no tables here\n");
        ConfiguredDatabasePath() = (env->Dir() / "gone.mdb").string();
        Click(&end, "save");
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(saved->text(), QString());
    }

    void aSaveWaitingForALockKeepsThePagePaintingAndRunsAlone() {
        const std::string db = env->MakeDatabase("locked.mdb");
        EndPage& end = OpenForANewPatient(db);
        end.show();
        // Another workstation holds the write lock for about a second.
        Database other(db);
        other.Execute("BEGIN IMMEDIATE");
        int ticks = 0;
        bool progressShown = false;
        QTimer during;
        during.setInterval(100);
        connect(&during, &QTimer::timeout, [&] {
            if (++ticks != 8) return;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == kWorkProgressName && w->isVisible()) {
                    progressShown = true;
                    if (qEnvironmentVariableIsSet("KINEVO_SHOT_DIR")) SavePagePicture(*w, "database_wait.png");
                }
            Click(&end, "save");  // pressed again while the first save waits
            other.Execute("COMMIT");
        });
        during.start();
        Click(&end, "save");
        during.stop();
        QVERIFY(ticks >= 8);  // the window's thread went on while the save waited
        QVERIFY(progressShown);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != kWorkProgressName || !w->isVisible());
        QVERIFY(env->prompts.shown.empty());
        QCOMPARE(Rows(db, "PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
        QCOMPARE(end.findChild<QLabel*>("saved")->text(), QString("Case 1 of patient 1 saved."));
    }

    void reopenedUnchangedCaseIsSavedWithoutASecondCase() {
        const std::string db = env->MakeDatabase("reopen.mdb");
        ConfiguredDatabasePath() = db;
        TypeNewPatient();
        const auto r = RunChain(*pages, code::kEnd,
                                {{PageId::End, [](KinevoPage& p) { Click(&p, "save"), Click(&p, "sameDrug"); }},
                                 {PageId::ExistingCaseEntry, Press("next")}});
        QCOMPARE(r.visited, (V{PageId::End, PageId::ExistingCaseEntry, PageId::Factors}));
        QVERIFY(!Nav().caseChanged && !Nav().patientChanged);
        RunChain(*pages, code::kEnd, {{PageId::End, [this](KinevoPage& p) {
                                           Click(&p, "save");
                                           ExitWithOk(env->prompts, p);
                                       }}});
        QCOMPARE(Rows(db, "PatientBasic"), std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
        QCOMPARE(env->prompts.Texts(), QStringList{"Are you sure you want to exit Kinevo?"});
    }

    void samePatientBeforeAnySaveStoresThePatientWithTheCase() {
        const std::string db = env->MakeDatabase("unsaved.mdb");
        ConfiguredDatabasePath() = db;
        TypeNewPatient();
        QString caption;
        RunChain(*pages, code::kEnd,
                 {{PageId::End, Press("samePatient")}, {PageId::NewCaseEntry, [&](KinevoPage& p) {
                                                            TypeCase(p);
                                                            static_cast<EntryPage&>(p).UpdateButtons();
                                                            Click(&p, "save");
                                                            caption = p.findChild<QPushButton*>("save")->text();
                                                            ExitWithOk(env->prompts, p);
                                                        }}});
        QCOMPARE(env->prompts.Texts(), QStringList{"Are you sure you want to exit Kinevo?"});
        QCOMPARE(caption, QString("Data saved"));
        Database d(db);
        QCOMPARE(QueryInt(d,
                          "SELECT COUNT(*) FROM PatientBasic JOIN PatientCase USING (\"PATIENT REC Num\") "
                          "WHERE \"PATIENT LAST NAME\" = 'Alpha'"),
                 std::int64_t(1));
        QCOMPARE(Rows(db, "PatientCase"), std::int64_t(1));
    }
};

QTEST_MAIN(EndPageTest)
#include "end_page_test.moc"
