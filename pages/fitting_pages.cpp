#include "pages/fitting_pages.h"

#include <QVBoxLayout>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"

FittingSetUpPage::FittingSetUpPage(QWidget* parent)
    : KinevoPage(154, "Curve Fitting Set-Up", HeaderVariant::FittingSetUp, parent) {
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Leave(DrugPageCode()); });
    AddButton("No &Fitting", "noFitting", [this] { Leave(code::kEnd); });
    AddButton("&Next", "next", [this] {
        ResetPage(153);
        Leave(code::kHistory);
    });
}

HistoryPage::HistoryPage(QWidget* parent)
    : KinevoPage(153, "Dosing and Serum Level History", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Leave(code::kFittingSetUp); });
    AddButton("&Next", "next", [this] {
        ResetPage(157);
        Leave(code::kAnalysisGraph);
    });
}
