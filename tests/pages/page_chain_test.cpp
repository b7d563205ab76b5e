// The dispatcher walking the real pages: one test for each group of pages in
// the table of how pages close, pressing their buttons through the chain.
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/route_product_list.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/entry_stores.h"
#include "tests/pages/page_test_support.h"

using V = std::vector<int>;

namespace {
// Chooses a product in the page's route-product list as the user would.
PageAction ChooseProduct(const char* product) {
    return [product](KinevoPage& p) {
        RouteProductList* list = static_cast<RouteGroupPage&>(p).Products();
        const int index = list->findText(product);
        QVERIFY2(index >= 0, product);
        list->setCurrentIndex(index);
        emit list->activated(index);
    };
}
}  // namespace

class PageChainTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    PageAction exitOk() { return ExitOk(env->prompts); }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void searchPage() {
        // Blank fields: a new patient; Previous there goes back to a fresh
        // search page, whose Previous returns to the welcome page.
        SetUpAdult(TheCase(), "gm");
        auto r =
            RunChain(*pages, code::kSearch, {{132, Press("next")}, {137, Press("previous")}, {132, Press("previous")}});
        QCOMPARE(r.visited, (V{132, 137, 132}));
        QCOMPARE(r.code, code::kBackToWelcome);
        QVERIFY(Nav().newPatient);
        QCOMPARE(TheCase().Patient_ID, std::string());  // every pass starts a blank patient

        // A last name typed, then Enter: the patient list, new-patient flag cleared.
        ConfiguredDatabasePath() = env->MakeDatabase("search.mdb");
        r = RunChain(*pages, code::kSearch,
                     {{132,
                       [](KinevoPage& p) {
                           p.findChild<QLineEdit*>("lastName")->setText("smi");
                           PressKey(&p, Qt::Key_Return);
                       }},
                      {135, exitOk()}});
        QCOMPARE(r.visited, (V{132, 135}));
        QCOMPARE(r.code, code::kExitConfirmed);
        QVERIFY(!Nav().newPatient);
    }

    void listPage() {
        const std::string db = env->MakeDatabase("list.mdb");
        ConfiguredDatabasePath() = db;
        SetUpAdult(TheCase(), "gm");
        TheCase().Patient_ID = "H777";
        SaveRequest stored;
        stored.now = TestMoment();
        SaveCase(TheCase(), stored);  // patient 1, case 1
        TheCase() = CaseRecord{};
        auto fillGrid = [](KinevoPage& p) {
            auto& list = static_cast<ListPage&>(p);
            list.AddRow({"Doe, John", "H777", "Male", "09/01/1961", "", "", "", "03/15/2012"}, 1);
            list.AddRow({"", "--Gentamicin", "", "70 kg", "175 cm", "1.0 mg/dL", "", "03/15/2012"}, 1);
        };
        auto enterOnRow = [fillGrid](int row) {
            return [fillGrid, row](KinevoPage& p) {
                fillGrid(p);
                static_cast<ListPage&>(p).Grid()->setCurrentCell(row, 1);
                PressKey(&p, Qt::Key_Return);
            };
        };
        auto r = RunChain(*pages, code::kList, {{135, enterOnRow(0)}, {136, exitOk()}});
        QCOMPARE(r.visited, (V{135, 136}));
        QCOMPARE(Nav().newCasePatientKey, std::string("1"));
        QCOMPARE(TheCase().Patient_ID, std::string("H777"));  // reloaded
        QCOMPARE(TheCase().Case_number, 0);

        r = RunChain(*pages, code::kList, {{135, enterOnRow(1)}, {138, exitOk()}});
        QCOMPARE(r.visited, (V{135, 138}));
        QCOMPARE(Nav().existingCasePatientKey, std::string("1"));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("1"));
        QCOMPARE(TheCase().Drug_ID, std::string("gm"));
        QCOMPARE(TheCase().DateText, std::string("03/15/2012"));

        r = RunChain(*pages, code::kList, {{135, Press("next")}, {137, exitOk()}});
        QCOMPARE(r.visited, (V{135, 137}));
        r = RunChain(*pages, code::kList, {{135, Press("previous")}, {132, exitOk()}});
        QCOMPARE(r.visited, (V{135, 132}));
    }

    void entryPages() {
        // Next goes on once the fields are complete: the record holds a case
        // typed before, as when the pages are shown again.
        ConfiguredDatabasePath() = env->MakeDatabase("entry.mdb");
        SetUpAdult(TheCase(), "zz");
        auto r = RunChain(*pages, code::kNewPatientEntry, {{137, Press("next")}, {139, exitOk()}});
        QCOMPARE(r.visited, (V{137, 139}));
        TheCase().Drug_ID = "gm";
        {
            Database db(ConfiguredDatabasePath());
            EntryKeys keys;
            StoreNewPatientPage(db, TheCase(), keys, false, TestMoment());
        }
        Nav().newCasePatientKey = "1";
        r = RunChain(*pages, code::kNewCaseEntry, {{136, Press("next")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{136, 140}));
        r = RunChain(*pages, code::kExistingCaseEntry, {{138, Press("previous")}, {132, exitOk()}});
        QCOMPARE(r.visited, (V{138, 132}));
        QCOMPARE(r.code, code::kExitConfirmed);
    }

    void userChoicePage() {
        SetUpAdult(TheCase(), "zz");
        TheCase().PATIENT_REC_Num = 4;
        TheCase().Case_number = 2;
        // Previous by the flags.
        Nav().newPatient = true;
        auto r = RunChain(*pages, code::kUserChoice, {{139, Press("previous")}, {137, exitOk()}});
        QCOMPARE(r.visited, (V{139, 137}));
        Nav().newPatient = false;
        Nav().caseExists = true;
        r = RunChain(*pages, code::kUserChoice, {{139, Press("previous")}, {138, exitOk()}});
        QCOMPARE(r.visited, (V{139, 138}));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("2"));
        Nav().caseExists = false;
        r = RunChain(*pages, code::kUserChoice, {{139, Press("previous")}, {136, exitOk()}});
        QCOMPARE(r.visited, (V{139, 136}));
        QCOMPARE(Nav().newCasePatientKey, std::string("4"));

        // An incomplete definition stays with its message.
        env->prompts.shown.clear();
        r = RunChain(*pages, code::kUserChoice, {{139, [this](KinevoPage& p) {
                                                      Click(&p, "regimenForecast");
                                                      Click(&p, "levelForecast");
                                                      ExitWithOk(env->prompts, p);
                                                  }}});
        QCOMPARE(env->prompts.Texts(), (QStringList{"You must fill out all the required fields.",
                                                    "Please specify all the values for a dosage form.",
                                                    "Are you sure you want to exit Kinevo?"}));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));

        // Only the IM group: the oral/IM pages; with the IV salt: the IV pages.
        UserDrugDefinition& d = TheCase().userDrug;
        d.drugName = "Busulfan";
        d.clearance = "3";
        d.volume = "20";
        d.compliance = "100";
        d.imKa = "1.00";
        d.imSalt = "1.00";
        d.imF = "100";
        d.held = true;  // the page shows the definition left by an earlier visit
        r = RunChain(
            *pages, code::kUserChoice,
            {{139, Press("regimenForecast")}, {142, Press("back")}, {139, Press("levelForecast")}, {150, exitOk()}});
        QCOMPARE(r.visited, (V{139, 142, 139, 150}));
        d.ivSalt = "1.00";
        r = RunChain(
            *pages, code::kUserChoice,
            {{139, Press("regimenForecast")}, {141, Press("back")}, {139, Press("levelForecast")}, {145, exitOk()}});
        QCOMPARE(r.visited, (V{139, 141, 139, 145}));

        // The analysis refuses a range whose maximum is below its minimum.
        d.therapeuticMin = "10";
        d.therapeuticMax = "5";
        env->prompts.shown.clear();
        r = RunChain(*pages, code::kUserChoice,
                     {{139,
                       [](KinevoPage& p) {
                           Click(&p, "levelAnalysis");
                           p.findChild<QLineEdit*>("therapeuticMax")->setText("20");
                           Click(&p, "levelAnalysis");
                       }},
                      {154, exitOk()}});
        QCOMPARE(r.visited, (V{139, 154}));
        QCOMPARE(env->prompts.Texts().first(), QString("Therapeutic Range is invalid."));
    }

    void factorPage() {
        SetUpAdult(TheCase(), "gm");
        struct Case {
            const char* drug;
            const char* button;
            int page;
        };
        for (const Case& c :
             {Case{"gm", "regimenForecast", 141}, Case{"ph", "regimenForecast", 143},
              Case{"dg", "regimenForecast", 142}, Case{"vm", "levelForecast", 145}, Case{"ph", "levelForecast", 149},
              Case{"th", "levelForecast", 150}, Case{"li", "levelAnalysis", 154}}) {
            TheCase().Drug_ID = c.drug;
            TheCase().Albumin = 4.0;
            const auto r = RunChain(*pages, code::kFactors, {{140, Press(c.button)}, {c.page, exitOk()}});
            QCOMPARE(r.visited, (V{140, c.page}));
            QVERIFY2(TheCase().population.Vd > 0, c.drug);  // the forward buttons filled the drug model
        }
        auto r = RunChain(*pages, code::kFactors, {{140, Press("previous")}, {137, exitOk()}});
        QCOMPARE(r.visited, (V{140, 137}));
        Nav().newPatientSaved = true;
        r = RunChain(*pages, code::kFactors, {{140, Press("previous")}, {138, exitOk()}});
        QCOMPARE(r.visited, (V{140, 138}));
    }

    void regimenPages() {
        SetUpAdult(TheCase(), "gm");
        auto r = RunChain(*pages, code::kIvRegimen,
                          {{141, Press("levelForecast")}, {145, Press("previous")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{141, 145, 140}));
        // Choosing an intramuscular product on the IV page moves to the oral/IM page and back.
        r = RunChain(*pages, code::kIvRegimen,
                     {{141, ChooseProduct("IM - Injection")},
                      {142, ChooseProduct("Intermittent IV - Injection")},
                      {141, Press("done")},
                      {144, exitOk()}});
        QCOMPARE(r.visited, (V{141, 142, 141, 144}));
        QCOMPARE(Nav().endPageSource, 1);
        QCOMPARE(TheCase().RouteCode, 'D');
        r = RunChain(*pages, code::kOralRegimen, {{142, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 2);
        r = RunChain(*pages, code::kOralRegimen, {{142, Press("levelForecast")}, {150, exitOk()}});
        QCOMPARE(r.visited, (V{142, 150}));
        TheCase().Drug_ID = "zz";
        r = RunChain(*pages, code::kOralRegimen, {{142, Press("back")}, {139, exitOk()}});
        QCOMPARE(r.visited, (V{142, 139}));
    }

    void phenytoinPages() {
        SetUpAdult(TheCase(), "ph");
        auto r = RunChain(*pages, code::kPhenytoinRegimen,
                          {{143, Press("levelForecast")}, {149, Press("report")}, {151, exitOk()}});
        QCOMPARE(r.visited, (V{143, 149, 151}));
        QCOMPARE(Nav().reportSource, 3);
        r = RunChain(*pages, code::kPhenytoinRegimen, {{143, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 3);
        r = RunChain(*pages, code::kPhenytoinForecast, {{149, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 6);
        r = RunChain(*pages, code::kPhenytoinRegimen, {{143, Press("back")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{143, 140}));
        r = RunChain(*pages, code::kPhenytoinForecast, {{149, Press("back")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{149, 140}));
    }

    void forecastPages() {
        SetUpAdult(TheCase(), "dg");
        auto r = RunChain(*pages, code::kIvForecast,
                          {{145, ChooseProduct("Oral - Elixir")}, {150, Press("report")}, {151, exitOk()}});
        QCOMPARE(r.visited, (V{145, 150, 151}));
        QCOMPARE(Nav().reportSource, 2);
        QCOMPARE(TheCase().FormName, std::string("Elixir"));
        r = RunChain(*pages, code::kOralForecast,
                     {{150, ChooseProduct("Intermittent IV - Injection")}, {145, Press("report")}, {151, exitOk()}});
        QCOMPARE(r.visited, (V{150, 145, 151}));
        QCOMPARE(Nav().reportSource, 1);
        r = RunChain(*pages, code::kIvForecast, {{145, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 4);
        r = RunChain(*pages, code::kOralForecast, {{150, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 5);
        r = RunChain(*pages, code::kOralForecast, {{150, Press("previous")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{150, 140}));
    }

    void fittingSetUpAndHistory() {
        SetUpAdult(TheCase(), "gm");
        TheCase().population = ParameterSet{1.0, 20, 4, 1.0, 0, 0};  // the set-up page's Next needs a set
        Nav().endPageSource = 5;
        auto r = RunChain(*pages, code::kFittingSetUp,
                          {{154, Press("next")}, {153, Press("previous")}, {154, Press("noFitting")}, {144, exitOk()}});
        QCOMPARE(r.visited, (V{154, 153, 154, 144}));
        QCOMPARE(Nav().endPageSource, 5);  // No Fitting leaves the source as it was
        r = RunChain(*pages, code::kHistory, {{153, Press("next")}, {157, exitOk()}});
        QCOMPARE(r.visited, (V{153, 157}));
        TheCase().Drug_ID = "zz";
        r = RunChain(*pages, code::kFittingSetUp, {{154, Press("previous")}, {139, exitOk()}});
        QCOMPARE(r.visited, (V{154, 139}));
    }

    void analysisGraphPage() {
        SetUpAdult(TheCase(), "gm");
        TheCase().RouteCode = 'D';
        auto r = RunChain(*pages, code::kAnalysisGraph, {{157, Press("routineBayes")}, {141, exitOk()}});
        QCOMPARE(r.visited, (V{157, 141}));
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        TheCase().RouteCode = 'I';
        r = RunChain(*pages, code::kAnalysisGraph, {{157, Press("routineLs")}, {142, exitOk()}});
        QCOMPARE(r.visited, (V{157, 142}));
        QCOMPARE(TheCase().Cur_fit_method, int(kLeastSquares));
        TheCase().Drug_ID = "ph";
        r = RunChain(*pages, code::kAnalysisGraph, {{157, Press("routineLs")}, {143, exitOk()}});
        QCOMPARE(r.visited, (V{157, 143}));
        // A route other than C, D, I or O leaves the page open.
        TheCase().Drug_ID = "gm";
        TheCase().RouteCode = 'X';
        r = RunChain(*pages, code::kAnalysisGraph,
                     {{157,
                       [](KinevoPage& p) {
                           Click(&p, "routineLs");
                           QVERIFY(p.isVisible());
                           Click(&p, "detailed");
                       }},
                      {156, exitOk()}});
        QCOMPARE(r.visited, (V{157, 156}));
        QCOMPARE(TheCase().Cur_fit_method, int(kDetailed));
        r = RunChain(*pages, code::kAnalysisGraph, {{157, Press("previous")}, {153, exitOk()}});
        QCOMPARE(r.visited, (V{157, 153}));
    }

    void analysisResultsPage() {
        SetUpAdult(TheCase(), "gm");
        auto r = RunChain(*pages, code::kAnalysisResults, {{156, Press("lsReport")}, {151, exitOk()}});
        QCOMPARE(r.visited, (V{156, 151}));
        QCOMPARE(Nav().reportSource, 5);
        QCOMPARE(TheCase().Cur_fit_method, int(kLeastSquares));
        r = RunChain(*pages, code::kAnalysisResults, {{156, Press("bayesReport")}, {151, exitOk()}});
        QCOMPARE(Nav().reportSource, 4);
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        r = RunChain(*pages, code::kAnalysisResults, {{156, Press("done")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 8);
        r = RunChain(*pages, code::kAnalysisResults, {{156, Press("back")}, {140, exitOk()}});
        QCOMPARE(r.visited, (V{156, 140}));
    }

    void reportPage() {
        SetUpAdult(TheCase(), "gm");
        struct Back {
            int source, page;
            bool Navigation::*revisit;
        };
        for (const Back& b : {Back{1, 145, &Navigation::revisitIvForecast},
                              Back{2, 150, &Navigation::revisitOralForecast}, Back{3, 149, nullptr},
                              Back{4, 156, &Navigation::revisitResults}, Back{5, 156, &Navigation::revisitResults}}) {
            Nav() = Navigation{};
            Nav().reportSource = b.source;
            bool revisitSeen = false;
            const auto r = RunChain(*pages, code::kReport,
                                    {{151, Press("previous")}, {b.page, [&](KinevoPage& p) {
                                                                    // The revisited page has read and cleared its flag
                                                                    // by now.
                                                                    revisitSeen = !b.revisit || !(Nav().*b.revisit);
                                                                    ExitWithOk(env->prompts, p);
                                                                }}});
            QCOMPARE(r.visited, (V{151, b.page}));
            QVERIFY(revisitSeen);
        }
        // Print: printer set-up cancelled stays; confirmed prints and goes on.
        const QString printed = QString::fromStdString((env->Dir() / "chain.pdf").string());
        env->prompts.printerOutputFile = printed;
        Nav().reportSource = 1;
        env->prompts.printerAnswers = {false, true};
        env->prompts.shown.clear();
        auto r = RunChain(*pages, code::kReport,
                          {{151,
                            [](KinevoPage& p) {
                                Click(&p, "print");
                                Click(&p, "print");
                            }},
                           {144, exitOk()}});
        QCOMPARE(r.visited, (V{151, 144}));
        QVERIFY(QFileInfo(printed).size() > 0);
        QCOMPARE(env->prompts.shown.at(0).kind, ShownPrompt::Printer);
        QCOMPARE(env->prompts.shown.at(1).text, QString("Print Task canceled."));
        QCOMPARE(Nav().endPageSource, 91);
        Nav().reportSource = 4;
        env->prompts.printerAnswers = {true};
        r = RunChain(*pages, code::kReport, {{151, Press("print")}, {144, exitOk()}});
        QCOMPARE(Nav().endPageSource, 92);
        // Enter with no button focused closes the report page back to the welcome page.
        r = RunChain(*pages, code::kReport, {{151, [](KinevoPage& p) {
                                                  p.setFocus();
                                                  PressKey(&p, Qt::Key_Return);
                                              }}});
        QCOMPARE(r.code, code::kBackToWelcome);
    }

    void codeNoPageAnswersGoesBackToWelcome() { QCOMPARE(RunChain(*pages, 99, {}).code, code::kBackToWelcome); }
};

QTEST_MAIN(PageChainTest)
#include "page_chain_test.moc"
