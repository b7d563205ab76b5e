#include "pages/analysis_results_page.h"

#include <QVBoxLayout>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "records/case_record.h"

AnalysisResultsPage::AnalysisResultsPage(QWidget* parent)
    : KinevoPage(156, "Detailed Analysis Results", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("Bac&k", "back", [this] { Leave(DrugPageCode()); });
    AddButton("&LS Report", "lsReport", [this] {
        TheCase().Cur_fit_method = kLeastSquares;
        LeaveToReport(5);
    });
    AddButton("&Bayes Report", "bayesReport", [this] {
        TheCase().Cur_fit_method = kBayesian;
        LeaveToReport(4);
    });
    AddButton("&Done", "done", [this] { LeaveToEnd(8); });
}

void AnalysisResultsPage::OnOpen() { Nav().revisitResults = false; }
