// The factor page (140): the questions by drug, age and sex, the ticks kept
// in the record and dropped for another drug, the two-tick limit, and a
// stored case's factors shown again. The codes by drug group are walked in
// the page chain test.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "records/db/entry_stores.h"
#include "tests/pages/page_test_support.h"

class FactorPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    QListWidget* List() { return pages->factors().findChild<QListWidget*>("factors"); }
    // Opens the page for the record as it stands and returns its question count.
    int OpenFor(const std::string& drug, double age, const std::string& sex) {
        CaseRecord& r = TheCase();
        r.Drug_ID = drug;
        r.Age = age;
        r.SEX = sex;
        pages->factors().Open();
        return List()->count();
    }
    void Tick(std::initializer_list<int> rows) {
        for (int row : rows) List()->item(row)->setCheckState(Qt::Checked);
    }
    QList<int> Ticked() {
        QList<int> rows;
        for (int i = 0; i < List()->count(); ++i)
            if (List()->item(i)->checkState() == Qt::Checked) rows << i;
        return rows;
    }
    static QList<int> Flags() {
        QList<int> set;
        for (int i = 0; i < kFactorFlagCount; ++i)
            if (TheCase().FactorFlags[i]) set << i;
        return set;
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        SetUpAdult(TheCase(), "gm");
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void questionsFollowDrugAgeAndSex() {
        QCOMPARE(OpenFor("pb", 40, "F"), 4);
        QCOMPARE(OpenFor("pb", 40, "M"), 3);
        QCOMPARE(OpenFor("gm", 0.1, "M"), 6);
        QCOMPARE(OpenFor("gm", 0.05, "M"), 9);
        QCOMPARE(OpenFor("gm", 0.2, "M"), 5);
        QCOMPARE(List()->item(0)->text(), QString(" Is this a critically ill or ICU patient ?"));
        auto* heading = pages->factors().findChild<QLabel*>("factorHeading");
        QCOMPARE(heading->text(), QString("Select a Maximum of 2 Applicable Factors:"));
        QCOMPARE(OpenFor("fc", 40, "M"), 0);
        QCOMPARE(heading->text(), QString("No Additional Factors Known to Affect Flucytosine."));
    }

    void ticksGoIntoTheFlagsAndTheDrugModel() {
        CaseRecord plain = TheCase();
        SelectDrugModel(plain);
        OpenFor("gm", TheCase().Age, "M");
        // The keyboard ticks too: Space on the current question.
        PressKey(List(), Qt::Key_Space);
        QCOMPARE(Ticked(), QList<int>{0});
        Tick({2});
        TheCase().Cur_fit_method = kBayesian;
        Click(&pages->factors(), "levelForecast");
        QCOMPARE(pages->factors().result(), code::kIvForecast);
        QCOMPARE(Flags(), (QList<int>{1, 3}));
        QVERIFY(Nav().caseChanged);
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        // ICU (x 1.13) and hematology/oncology (x 1.17) both act on the adult Vd.
        QVERIFY(qAbs(TheCase().population.Vd - plain.population.Vd * 1.13 * 1.17) < 1e-9);

        // Shown again as left; the regimen button works on the population set.
        Nav().caseChanged = false;
        pages->factors().Open();
        QCOMPARE(Ticked(), (QList<int>{0, 2}));
        Click(&pages->factors(), "regimenForecast");
        QCOMPARE(pages->factors().result(), code::kIvRegimen);
        QCOMPARE(TheCase().Cur_fit_method, int(kPopulation));
        QVERIFY(!Nav().caseChanged);

        // Another drug: its list starts unticked and a forward button clears both flags.
        QCOMPARE(OpenFor("tm", TheCase().Age, "M"), 5);
        QCOMPARE(Ticked(), QList<int>{});
        Click(&pages->factors(), "levelAnalysis");
        QCOMPARE(pages->factors().result(), code::kFittingSetUp);
        QCOMPARE(Flags(), QList<int>{});
        QVERIFY(Nav().caseChanged);
    }

    void threeTicksAreRefusedWithoutChange() {
        OpenFor("th", 50, "M");
        TheCase().FactorFlags[4] = 1;
        pages->factors().Open();
        Tick({0, 1, 2});
        pages->factors().setResult(-1);
        Click(&pages->factors(), "levelForecast");
        QCOMPARE(pages->factors().result(), -1);
        QCOMPARE(env->prompts.shown.size(), std::size_t{1});
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QCOMPARE(env->prompts.shown[0].text, QString("Select no more than 2 factors."));
        QCOMPARE(Flags(), QList<int>{4});
        QVERIFY(!Nav().caseChanged);
    }

    void theRealBoxSaysSoToo() {
        UsePrompts(nullptr);
        OpenFor("li", 50, "M");
        Tick({0, 3, 5});
        QString title, text;
        QTimer::singleShot(100, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                text = box->text();
                box->buttons().first()->click();
            }
        });
        pages->factors().setResult(-1);
        Click(&pages->factors(), "regimenForecast");
        QCOMPARE(title, QString("Warning"));
        QCOMPARE(text, QString("Select no more than 2 factors."));
        QCOMPARE(pages->factors().result(), -1);
    }

    void storedCaseTicksItsThirdQuestion() {
        const std::string path = env->MakeDatabase("factors.mdb");
        ConfiguredDatabasePath() = path;
        CaseRecord stored = TheCase();
        stored.FactorFlags[3] = 1;
        EntryKeys keys;
        {
            Database db(path);
            StoreNewPatientPage(db, stored, keys, true, TestMoment());
        }
        // Reopened from the list: the existing-case page loads it, Next goes on.
        ResetCase(TheCase(), true);
        Nav().existingCasePatientKey = keys.patient;
        Nav().existingCaseCaseKey = keys.caseNumber;
        QList<int> ticked;
        const ChainResult r =
            RunChain(*pages, code::kExistingCaseEntry,
                     {{PageId::ExistingCaseEntry, Press("next")}, {PageId::Factors, [&](KinevoPage& p) {
                                                                       ticked = Ticked();
                                                                       ExitWithOk(env->prompts, p);
                                                                   }}});
        QCOMPARE(r.visited, (std::vector<PageId>{PageId::ExistingCaseEntry, PageId::Factors}));
        QCOMPARE(List()->count(), 5);
        QCOMPARE(ticked, QList<int>{2});
    }

    void newbornPicture() {
        OpenFor("gm", 0.05, "F");
        TheCase().Wt = 3.2, TheCase().Ht = 50, TheCase().SCr = 0.6;
        pages->factors().Open();
        Tick({6, 7});
        pages->factors().resize(1024, 768);
        SavePagePicture(pages->factors(), "factors_newborn_gentamicin.png");
    }
};

QTEST_MAIN(FactorPageTest)
#include "factor_page_test.moc"
