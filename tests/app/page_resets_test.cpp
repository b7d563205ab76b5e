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
#include "pages/analysis_graph_page.h"
#include "pages/analysis_results_page.h"
#include "pages/end_page.h"
#include "pages/fitting_pages.h"
#include "pages/search_page.h"
#include "records/case_record.h"
#include "tests/pages/page_test_support.h"

namespace {
class ResetSpy : public KinevoPage {
public:
    ResetSpy(int id, std::vector<int>& log) : KinevoPage(id, "spy", std::nullopt), log_(log) {}
    void Reset() override { log_.push_back(DialogId()); }

private:
    std::vector<int>& log_;
};

const std::vector<int> kResetOrder = {139, 140, 141, 142, 143, 145, 150, 149, 154, 153, 157, 156, 151};
}  // namespace

class PageResetsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::vector<int> log;

    std::vector<std::unique_ptr<ResetSpy>> SpiesFor(const std::vector<int>& ids) {
        std::vector<std::unique_ptr<ResetSpy>> spies;
        for (int id : ids) spies.push_back(std::make_unique<ResetSpy>(id, log));
        return spies;
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        log.clear();
    }
    void cleanup() { env.reset(); }

    // The page set makes a page when it is first wanted and keeps it: a
    // reset makes none, a page handing values on makes the one it needs.
    void pagesAreMadeWhenFirstWanted() {
        const auto made = [] {
            int pages = 0;
            for (QWidget* w : QApplication::topLevelWidgets()) pages += qobject_cast<KinevoPage*>(w) != nullptr;
            return pages;
        };
        const int before = made();
        PageSet pages;
        ResetAllPages();
        QCOMPARE(made(), before);
        KinevoPage* list = PageById(135);
        QCOMPARE(list, static_cast<KinevoPage*>(&pages.list()));
        QCOMPARE(pages.ForCode(code::kList), list);
        QCOMPARE(made(), before + 1);
        pages.list().SetSearch(SearchByLastName("smi"));
        QCOMPARE(pages.list().Search().text, std::string("smi"));
    }

    void resetAllPagesInItsOrder() {
        auto spies = SpiesFor(kResetOrder);
        ResetAllPages();
        QCOMPARE(log, kResetOrder);
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
        auto spies = SpiesFor({153, 157, 156});
        TheCase().population = ParameterSet{1.0, 20, 4, 1.0, 0, 0};  // the set-up page's Next needs a set
        setUp.Open();
        Click(&setUp, "next");
        Click(&history, "next");
        Click(&graph, "detailed");
        QCOMPARE(log, (std::vector<int>{153, 157, 156}));
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
