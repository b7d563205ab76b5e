// The dispatcher walking the real pages: one test for each group of pages in
// the table of how pages close, pressing their buttons through the chain.
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/drug/route_product_list.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/entry_stores.h"
#include "tests/pages/page_test_support.h"

using V = std::vector<PageId>;

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
        auto r = RunChain(*pages, code::kSearch,
                          {{PageId::Search, Press("next")},
                           {PageId::NewPatientEntry, Press("previous")},
                           {PageId::Search, Press("previous")}});
        QCOMPARE(r.visited, (V{PageId::Search, PageId::NewPatientEntry, PageId::Search}));
        QCOMPARE(r.code, code::kBackToWelcome);
        QVERIFY(Nav().newPatient);
        QCOMPARE(TheCase().Patient_ID, std::string());  // every pass starts a blank patient

        // A last name typed, then Enter: the patient list, new-patient flag cleared.
        ConfiguredDatabasePath() = env->MakeDatabase("search.mdb");
        r = RunChain(*pages, code::kSearch,
                     {{PageId::Search,
                       [](KinevoPage& p) {
                           p.findChild<QLineEdit*>("lastName")->setText("smi");
                           PressKey(&p, Qt::Key_Return);
                       }},
                      {PageId::List, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::Search, PageId::List}));
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
        auto r = RunChain(*pages, code::kList, {{PageId::List, enterOnRow(0)}, {PageId::NewCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::List, PageId::NewCaseEntry}));
        QCOMPARE(Nav().newCasePatientKey, std::string("1"));
        QCOMPARE(TheCase().Patient_ID, std::string("H777"));  // reloaded
        QCOMPARE(TheCase().Case_number, 0);

        r = RunChain(*pages, code::kList, {{PageId::List, enterOnRow(1)}, {PageId::ExistingCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::List, PageId::ExistingCaseEntry}));
        QCOMPARE(Nav().existingCasePatientKey, std::string("1"));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("1"));
        QCOMPARE(TheCase().Drug_ID, std::string("gm"));
        QCOMPARE(TheCase().DateText, std::string("03/15/2012"));

        r = RunChain(*pages, code::kList, {{PageId::List, Press("next")}, {PageId::NewPatientEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::List, PageId::NewPatientEntry}));
        r = RunChain(*pages, code::kList, {{PageId::List, Press("previous")}, {PageId::Search, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::List, PageId::Search}));
    }

    void entryPages() {
        // Next goes on once the fields are complete: the record holds a case
        // typed before, as when the pages are shown again.
        ConfiguredDatabasePath() = env->MakeDatabase("entry.mdb");
        SetUpAdult(TheCase(), "zz");
        auto r = RunChain(*pages, code::kNewPatientEntry,
                          {{PageId::NewPatientEntry, Press("next")}, {PageId::UserChoice, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::NewPatientEntry, PageId::UserChoice}));
        TheCase().Drug_ID = "gm";
        {
            Database db(ConfiguredDatabasePath());
            EntryKeys keys;
            StoreNewPatientPage(db, TheCase(), keys, false, TestMoment());
        }
        Nav().newCasePatientKey = "1";
        r = RunChain(*pages, code::kNewCaseEntry, {{PageId::NewCaseEntry, Press("next")}, {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::NewCaseEntry, PageId::Factors}));
        r = RunChain(*pages, code::kExistingCaseEntry,
                     {{PageId::ExistingCaseEntry, Press("previous")}, {PageId::Search, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::ExistingCaseEntry, PageId::Search}));
        QCOMPARE(r.code, code::kExitConfirmed);
    }

    void userChoicePage() {
        SetUpAdult(TheCase(), "zz");
        TheCase().PATIENT_REC_Num = 4;
        TheCase().Case_number = 2;
        // Previous by the flags.
        Nav().newPatient = true;
        auto r = RunChain(*pages, code::kUserChoice,
                          {{PageId::UserChoice, Press("previous")}, {PageId::NewPatientEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::NewPatientEntry}));
        Nav().newPatient = false;
        Nav().caseExists = true;
        r = RunChain(*pages, code::kUserChoice,
                     {{PageId::UserChoice, Press("previous")}, {PageId::ExistingCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::ExistingCaseEntry}));
        QCOMPARE(Nav().existingCaseCaseKey, std::string("2"));
        Nav().caseExists = false;
        r = RunChain(*pages, code::kUserChoice,
                     {{PageId::UserChoice, Press("previous")}, {PageId::NewCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::NewCaseEntry}));
        QCOMPARE(Nav().newCasePatientKey, std::string("4"));

        // An incomplete definition stays with its message.
        env->prompts.shown.clear();
        r = RunChain(*pages, code::kUserChoice, {{PageId::UserChoice, [this](KinevoPage& p) {
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
        r = RunChain(*pages, code::kUserChoice,
                     {{PageId::UserChoice, Press("regimenForecast")},
                      {PageId::OralRegimen, Press("back")},
                      {PageId::UserChoice, Press("levelForecast")},
                      {PageId::OralForecast, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::OralRegimen, PageId::UserChoice, PageId::OralForecast}));
        d.ivSalt = "1.00";
        r = RunChain(*pages, code::kUserChoice,
                     {{PageId::UserChoice, Press("regimenForecast")},
                      {PageId::IvRegimen, Press("back")},
                      {PageId::UserChoice, Press("levelForecast")},
                      {PageId::IvForecast, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::IvRegimen, PageId::UserChoice, PageId::IvForecast}));

        // The analysis refuses a range whose maximum is below its minimum.
        d.therapeuticMin = "10";
        d.therapeuticMax = "5";
        env->prompts.shown.clear();
        r = RunChain(*pages, code::kUserChoice,
                     {{PageId::UserChoice,
                       [](KinevoPage& p) {
                           Click(&p, "levelAnalysis");
                           p.findChild<QLineEdit*>("therapeuticMax")->setText("20");
                           Click(&p, "levelAnalysis");
                       }},
                      {PageId::FittingSetUp, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::UserChoice, PageId::FittingSetUp}));
        QCOMPARE(env->prompts.Texts().first(), QString("Therapeutic Range is invalid."));
    }

    void factorPage() {
        SetUpAdult(TheCase(), "gm");
        struct Case {
            const char* drug;
            const char* button;
            PageId page;
        };
        for (const Case& c :
             {Case{"gm", "regimenForecast", PageId::IvRegimen}, Case{"ph", "regimenForecast", PageId::PhenytoinRegimen},
              Case{"dg", "regimenForecast", PageId::OralRegimen}, Case{"vm", "levelForecast", PageId::IvForecast},
              Case{"ph", "levelForecast", PageId::PhenytoinForecast}, Case{"th", "levelForecast", PageId::OralForecast},
              Case{"li", "levelAnalysis", PageId::FittingSetUp}}) {
            TheCase().Drug_ID = c.drug;
            TheCase().Albumin = 4.0;
            const auto r = RunChain(*pages, code::kFactors, {{PageId::Factors, Press(c.button)}, {c.page, exitOk()}});
            QCOMPARE(r.visited, (V{PageId::Factors, c.page}));
            QVERIFY2(TheCase().population.Vd > 0, c.drug);  // the forward buttons filled the drug model
        }
        auto r = RunChain(*pages, code::kFactors,
                          {{PageId::Factors, Press("previous")}, {PageId::NewPatientEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::Factors, PageId::NewPatientEntry}));
        Nav().newPatientSaved = true;
        r = RunChain(*pages, code::kFactors,
                     {{PageId::Factors, Press("previous")}, {PageId::ExistingCaseEntry, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::Factors, PageId::ExistingCaseEntry}));
    }

    void regimenPages() {
        SetUpAdult(TheCase(), "gm");
        auto r = RunChain(*pages, code::kIvRegimen,
                          {{PageId::IvRegimen, Press("levelForecast")},
                           {PageId::IvForecast, Press("previous")},
                           {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::IvRegimen, PageId::IvForecast, PageId::Factors}));
        // Choosing an intramuscular product on the IV page moves to the oral/IM page and back.
        r = RunChain(*pages, code::kIvRegimen,
                     {{PageId::IvRegimen, ChooseProduct("IM - Injection")},
                      {PageId::OralRegimen, ChooseProduct("Intermittent IV - Injection")},
                      {PageId::IvRegimen, Press("done")},
                      {PageId::End, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::IvRegimen, PageId::OralRegimen, PageId::IvRegimen, PageId::End}));
        QCOMPARE(Nav().endPageSource, EndSource::IvRegimen);
        QCOMPARE(TheCase().RouteCode, 'D');
        r = RunChain(*pages, code::kOralRegimen, {{PageId::OralRegimen, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::OralRegimen);
        r = RunChain(*pages, code::kOralRegimen,
                     {{PageId::OralRegimen, Press("levelForecast")}, {PageId::OralForecast, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::OralRegimen, PageId::OralForecast}));
        TheCase().Drug_ID = "zz";
        r = RunChain(*pages, code::kOralRegimen,
                     {{PageId::OralRegimen, Press("back")}, {PageId::UserChoice, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::OralRegimen, PageId::UserChoice}));
    }

    void phenytoinPages() {
        SetUpAdult(TheCase(), "ph");
        auto r = RunChain(*pages, code::kPhenytoinRegimen,
                          {{PageId::PhenytoinRegimen, Press("levelForecast")},
                           {PageId::PhenytoinForecast, Press("report")},
                           {PageId::Report, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::PhenytoinRegimen, PageId::PhenytoinForecast, PageId::Report}));
        QCOMPARE(Nav().reportSource, ReportSource::PhenytoinForecast);
        r = RunChain(*pages, code::kPhenytoinRegimen,
                     {{PageId::PhenytoinRegimen, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::PhenytoinRegimen);
        r = RunChain(*pages, code::kPhenytoinForecast,
                     {{PageId::PhenytoinForecast, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::PhenytoinForecast);
        r = RunChain(*pages, code::kPhenytoinRegimen,
                     {{PageId::PhenytoinRegimen, Press("back")}, {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::PhenytoinRegimen, PageId::Factors}));
        r = RunChain(*pages, code::kPhenytoinForecast,
                     {{PageId::PhenytoinForecast, Press("back")}, {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::PhenytoinForecast, PageId::Factors}));
    }

    void forecastPages() {
        SetUpAdult(TheCase(), "dg");
        auto r = RunChain(*pages, code::kIvForecast,
                          {{PageId::IvForecast, ChooseProduct("Oral - Elixir")},
                           {PageId::OralForecast, Press("report")},
                           {PageId::Report, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::IvForecast, PageId::OralForecast, PageId::Report}));
        QCOMPARE(Nav().reportSource, ReportSource::OralForecast);
        QCOMPARE(TheCase().FormName, std::string("Elixir"));
        r = RunChain(*pages, code::kOralForecast,
                     {{PageId::OralForecast, ChooseProduct("Intermittent IV - Injection")},
                      {PageId::IvForecast, Press("report")},
                      {PageId::Report, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::OralForecast, PageId::IvForecast, PageId::Report}));
        QCOMPARE(Nav().reportSource, ReportSource::IvForecast);
        r = RunChain(*pages, code::kIvForecast, {{PageId::IvForecast, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::IvForecast);
        r = RunChain(*pages, code::kOralForecast, {{PageId::OralForecast, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::OralForecast);
        r = RunChain(*pages, code::kOralForecast,
                     {{PageId::OralForecast, Press("previous")}, {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::OralForecast, PageId::Factors}));
    }

    void fittingSetUpAndHistory() {
        SetUpAdult(TheCase(), "gm");
        TheCase().population = ParameterSet{1.0, 20, 4, 1.0, 0, 0};  // the set-up page's Next needs a set
        Nav().endPageSource = EndSource::OralForecast;
        auto r = RunChain(*pages, code::kFittingSetUp,
                          {{PageId::FittingSetUp, Press("next")},
                           {PageId::History, Press("previous")},
                           {PageId::FittingSetUp, Press("noFitting")},
                           {PageId::End, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::FittingSetUp, PageId::History, PageId::FittingSetUp, PageId::End}));
        QCOMPARE(Nav().endPageSource, EndSource::OralForecast);  // No Fitting leaves the source as it was
        r = RunChain(*pages, code::kHistory, {{PageId::History, Press("next")}, {PageId::AnalysisGraph, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::History, PageId::AnalysisGraph}));
        TheCase().Drug_ID = "zz";
        r = RunChain(*pages, code::kFittingSetUp,
                     {{PageId::FittingSetUp, Press("previous")}, {PageId::UserChoice, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::FittingSetUp, PageId::UserChoice}));
    }

    void analysisGraphPage() {
        SetUpAdult(TheCase(), "gm");
        TheCase().RouteCode = 'D';
        auto r = RunChain(*pages, code::kAnalysisGraph,
                          {{PageId::AnalysisGraph, Press("routineBayes")}, {PageId::IvRegimen, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisGraph, PageId::IvRegimen}));
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        TheCase().RouteCode = 'I';
        r = RunChain(*pages, code::kAnalysisGraph,
                     {{PageId::AnalysisGraph, Press("routineLs")}, {PageId::OralRegimen, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisGraph, PageId::OralRegimen}));
        QCOMPARE(TheCase().Cur_fit_method, int(kLeastSquares));
        TheCase().Drug_ID = "ph";
        r = RunChain(*pages, code::kAnalysisGraph,
                     {{PageId::AnalysisGraph, Press("routineLs")}, {PageId::PhenytoinRegimen, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisGraph, PageId::PhenytoinRegimen}));
        // A route other than C, D, I or O leaves the page open.
        TheCase().Drug_ID = "gm";
        TheCase().RouteCode = 'X';
        r = RunChain(*pages, code::kAnalysisGraph,
                     {{PageId::AnalysisGraph,
                       [](KinevoPage& p) {
                           Click(&p, "routineLs");
                           QVERIFY(p.isVisible());
                           Click(&p, "detailed");
                       }},
                      {PageId::AnalysisResults, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisGraph, PageId::AnalysisResults}));
        QCOMPARE(TheCase().Cur_fit_method, int(kDetailed));
        r = RunChain(*pages, code::kAnalysisGraph,
                     {{PageId::AnalysisGraph, Press("previous")}, {PageId::History, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisGraph, PageId::History}));
    }

    void analysisResultsPage() {
        SetUpAdult(TheCase(), "gm");
        auto r = RunChain(*pages, code::kAnalysisResults,
                          {{PageId::AnalysisResults, Press("lsReport")}, {PageId::Report, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisResults, PageId::Report}));
        QCOMPARE(Nav().reportSource, ReportSource::LeastSquaresResults);
        QCOMPARE(TheCase().Cur_fit_method, int(kLeastSquares));
        r = RunChain(*pages, code::kAnalysisResults,
                     {{PageId::AnalysisResults, Press("bayesReport")}, {PageId::Report, exitOk()}});
        QCOMPARE(Nav().reportSource, ReportSource::BayesianResults);
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        r = RunChain(*pages, code::kAnalysisResults,
                     {{PageId::AnalysisResults, Press("done")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::AnalysisResults);
        r = RunChain(*pages, code::kAnalysisResults,
                     {{PageId::AnalysisResults, Press("back")}, {PageId::Factors, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::AnalysisResults, PageId::Factors}));
    }

    void reportPage() {
        SetUpAdult(TheCase(), "gm");
        struct Back {
            ReportSource source;
            PageId page;
            bool Navigation::*revisit;
        };
        for (const Back& b :
             {Back{ReportSource::IvForecast, PageId::IvForecast, &Navigation::revisitIvForecast},
              Back{ReportSource::OralForecast, PageId::OralForecast, &Navigation::revisitOralForecast},
              Back{ReportSource::PhenytoinForecast, PageId::PhenytoinForecast, nullptr},
              Back{ReportSource::BayesianResults, PageId::AnalysisResults, &Navigation::revisitResults},
              Back{ReportSource::LeastSquaresResults, PageId::AnalysisResults, &Navigation::revisitResults}}) {
            Nav() = Navigation{};
            Nav().reportSource = b.source;
            bool revisitSeen = false;
            const auto r = RunChain(*pages, code::kReport,
                                    {{PageId::Report, Press("previous")}, {b.page, [&](KinevoPage& p) {
                                                                               // The revisited page has read and
                                                                               // cleared its flag by now.
                                                                               revisitSeen =
                                                                                   !b.revisit || !(Nav().*b.revisit);
                                                                               ExitWithOk(env->prompts, p);
                                                                           }}});
            QCOMPARE(r.visited, (V{PageId::Report, b.page}));
            QVERIFY(revisitSeen);
        }
        // Print: printer set-up cancelled stays; confirmed prints and goes on.
        const QString printed = QString::fromStdString((env->Dir() / "chain.pdf").string());
        env->prompts.printerOutputFile = printed;
        Nav().reportSource = ReportSource::IvForecast;
        env->prompts.printerAnswers = {false, true};
        env->prompts.shown.clear();
        auto r = RunChain(*pages, code::kReport,
                          {{PageId::Report,
                            [](KinevoPage& p) {
                                Click(&p, "print");
                                Click(&p, "print");
                            }},
                           {PageId::End, exitOk()}});
        QCOMPARE(r.visited, (V{PageId::Report, PageId::End}));
        QVERIFY(QFileInfo(printed).size() > 0);
        QCOMPARE(env->prompts.shown.at(0).kind, ShownPrompt::Printer);
        QCOMPARE(env->prompts.shown.at(1).text, QString("Print Task canceled."));
        QCOMPARE(Nav().endPageSource, EndSource::PopulationReportPrinted);
        Nav().reportSource = ReportSource::BayesianResults;
        env->prompts.printerAnswers = {true};
        r = RunChain(*pages, code::kReport, {{PageId::Report, Press("print")}, {PageId::End, exitOk()}});
        QCOMPARE(Nav().endPageSource, EndSource::FittedReportPrinted);
        // Enter with no button focused closes the report page back to the welcome page.
        r = RunChain(*pages, code::kReport, {{PageId::Report, [](KinevoPage& p) {
                                                  p.setFocus();
                                                  PressKey(&p, Qt::Key_Return);
                                              }}});
        QCOMPARE(r.code, code::kBackToWelcome);
    }

    void codeNoPageAnswersGoesBackToWelcome() { QCOMPARE(RunChain(*pages, 99, {}).code, code::kBackToWelcome); }
};

QTEST_MAIN(PageChainTest)
#include "page_chain_test.moc"
