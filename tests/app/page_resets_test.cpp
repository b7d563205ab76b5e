// Which page resets which, and in what order, seen through stand-in pages
// that record their resets.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/page_base.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/analysis/analysis_graph_page.h"
#include "pages/analysis/analysis_results_page.h"
#include "pages/fitting/history_page.h"
#include "pages/patient/search_page.h"
#include "pages/report/end_page.h"
#include "records/case_record.h"
#include "tests/pages/page_test_support.h"

namespace {
class ResetSpy : public KinevoPage {
public:
    ResetSpy(PageId id, std::vector<PageId>& log) : KinevoPage(id, "spy", std::nullopt), log_(log) {}
    void Reset() override { log_.push_back(DialogId()); }

private:
    std::vector<PageId>& log_;
};

const std::vector<PageId> kResetOrder = {PageId::UserChoice,   PageId::Factors,           PageId::IvRegimen,
                                         PageId::OralRegimen,  PageId::PhenytoinRegimen,  PageId::IvForecast,
                                         PageId::OralForecast, PageId::PhenytoinForecast, PageId::FittingSetUp,
                                         PageId::History,      PageId::AnalysisGraph,     PageId::AnalysisResults,
                                         PageId::Report};
}  // namespace

class PageResetsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    // The program's page set names the pages "reset all pages" resets.
    std::unique_ptr<PageSet> pages;
    std::vector<PageId> log;

    std::vector<std::unique_ptr<ResetSpy>> SpiesFor(const std::vector<PageId>& ids) {
        std::vector<std::unique_ptr<ResetSpy>> spies;
        for (PageId id : ids) spies.push_back(std::make_unique<ResetSpy>(id, log));
        return spies;
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        log.clear();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    // The page set makes a page when it is first wanted and keeps it: a
    // reset makes none, a page handing values on makes the one it needs.
    void pagesAreMadeWhenFirstWanted() {
        const auto made = [] {
            int pages = 0;
            for (QWidget* w : QApplication::topLevelWidgets()) pages += qobject_cast<KinevoPage*>(w) != nullptr;
            return pages;
        };
        const int before = made();
        ResetAllPages();
        QCOMPARE(made(), before);
        KinevoPage* list = PageById(PageId::List);
        QCOMPARE(list, static_cast<KinevoPage*>(&pages->list()));
        QCOMPARE(pages->ForCode(code::kList), list);
        QCOMPARE(made(), before + 1);
        pages->list().SetSearch(SearchByLastName("smi"));
        QCOMPARE(pages->list().Search().text, std::string("smi"));
    }

    void resetAllPagesInItsOrder() {
        auto spies = SpiesFor(kResetOrder);
        ResetAllPages();
        QCOMPARE(log, kResetOrder);
        // Without the page set the kit knows no page to reset.
        pages.reset();
        log.clear();
        ResetAllPages();
        QVERIFY(log.empty());
    }

    void searchPageStartsABlankPatient() {
        SearchPage search;
        auto spies = SpiesFor(kResetOrder);
        SetUpAdult(TheCase(), "gm");
        TheCase().PATIENT_REC_Num = 5;
        Nav().caseExists = true;
        Nav().shownParameters.Vd = "20.5";
        search.Open();
        search.findChild<QLineEdit*>("endDate")->setText("03/01/2012");
        search.Open();
        QCOMPARE(TheCase().PATIENT_REC_Num, 0);
        QCOMPARE(TheCase().DisplayName, std::string());
        QCOMPARE(TheCase().Wt, 0.0);
        QVERIFY(!Nav().caseExists);
        QCOMPARE(Nav().shownParameters.Vd, std::string());
        QCOMPARE(log.size(), 2 * kResetOrder.size());
        QCOMPARE(search.findChild<QLineEdit*>("endDate")->text(), QString());
        QCOMPARE(search.findChild<QLabel*>("today")->text(), QString("03/15/2012"));
    }

    void pagesResetTheNextPageBeforeLeaving() {
        FittingSetUpPage setUp;
        HistoryPage history;
        AnalysisGraphPage graph;
        auto spies = SpiesFor({PageId::History, PageId::AnalysisGraph, PageId::AnalysisResults});
        TheCase().population = ParameterSet{1.0, 20, 4, 1.0, 0, 0};  // the set-up page's Next needs a set
        setUp.Open();
        Click(&setUp, "next");
        Click(&history, "next");
        Click(&graph, "detailed");
        QCOMPARE(log, (std::vector<PageId>{PageId::History, PageId::AnalysisGraph, PageId::AnalysisResults}));
    }

    void endPageResetsForTheSamePatientOnly() {
        EndPage end;
        auto spies = SpiesFor(kResetOrder);
        SetUpAdult(TheCase(), "gm");
        end.Open();
        Click(&end, "sameDrug");
        QCOMPARE(log, kResetOrder);
        log.clear();
        Click(&end, "samePatient");
        QCOMPARE(log, kResetOrder);
        log.clear();
        Click(&end, "newPatient");  // the search page resets everything next
        QVERIFY(log.empty());
    }
};

QTEST_MAIN(PageResetsTest)
#include "page_resets_test.moc"
