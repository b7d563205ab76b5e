#include "pages/analysis_graph_page.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "records/case_record.h"

AnalysisGraphPage::AnalysisGraphPage(QWidget* parent)
    : KinevoPage(157, "Serum Level Analysis", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Leave(code::kHistory); });
    AddButton("Routine &LS Analysis", "routineLs", [this] { RoutineAnalysis(kLeastSquares); });
    AddButton("Routine &Bayes Analysis", "routineBayes", [this] { RoutineAnalysis(kBayesian); });
    AddButton("&Detailed Analysis", "detailed", [this] {
        TheCase().Cur_fit_method = kDetailed;
        ResetPage(156);
        Leave(code::kAnalysisResults);
    });
}

void AnalysisGraphPage::Redraw() {
    ++redraws_;
    update();
}

void AnalysisGraphPage::reject() {
    Redraw();
    KinevoPage::reject();
}

void AnalysisGraphPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) Redraw();
    else KinevoPage::keyPressEvent(event);
}

void AnalysisGraphPage::RoutineAnalysis(int fitMethod) {
    CaseRecord& r = TheCase();
    // The regimen page starts from the fitted set named here.
    r.Cur_fit_method = fitMethod;
    if (r.Drug_ID == "ph") return Leave(code::kPhenytoinRegimen);
    if (r.RouteCode == 'C' || r.RouteCode == 'D') return Leave(code::kIvRegimen);
    if (r.RouteCode == 'I' || r.RouteCode == 'O') return Leave(code::kOralRegimen);
}
