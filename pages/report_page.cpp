#include "pages/report_page.h"

#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "records/case_record.h"

ReportPage::ReportPage(QWidget* parent) : KinevoPage(151, "Report Printing Options", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("Previous", "previous", [this] { Previous(); });
    print_ = AddButton("Print", "print", [this] { Print(); });
    print_->setEnabled(false);
}

void ReportPage::SetReportPrinter(ReportPrinter printer) {
    printReport_ = std::move(printer);
    print_->setEnabled(static_cast<bool>(printReport_));
}

void ReportPage::Previous() {
    switch (Nav().reportSource) {
        case 1:
            Nav().revisitIvForecast = true;
            return Leave(code::kIvForecast);
        case 2:
            Nav().revisitOralForecast = true;
            return Leave(code::kOralForecast);
        case 3: return Leave(code::kPhenytoinForecast);
        case 4:
        case 5:
            Nav().revisitResults = true;
            return Leave(code::kAnalysisResults);
        default: return;
    }
}

void ReportPage::Print() {
    if (!printReport_) return;
    QPrinter printer(QPrinter::HighResolution);
    if (!ThePrompts().SetUpPrinter(this, printer)) return Tell(this, "Print Task canceled.");
    printReport_(printer);
    const int fit = TheCase().Cur_fit_method;
    const bool fitted = Nav().reportSource == 4 || Nav().reportSource == 5 || fit == kLeastSquares || fit == kBayesian;
    LeaveToEnd(fitted ? 92 : 91);
}
