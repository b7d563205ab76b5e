#include "pages/phenytoin_pages.h"

#include <QVBoxLayout>

#include "app/kit/result_codes.h"

PhenytoinRegimenPage::PhenytoinRegimenPage(QWidget* parent)
    : KinevoPage(143, "Phenytoin Dosage Regimen Forecast", HeaderVariant::NoDrugLine, parent) {
    Body()->addStretch(1);
    AddButton("Serum Level Forecast", "levelForecast", [this] { Leave(code::kPhenytoinForecast); });
    AddButton("Done", "done", [this] { LeaveToEnd(3); });
    AddButton("Back", "back", [this] { Leave(code::kFactors); });
}

PhenytoinForecastPage::PhenytoinForecastPage(QWidget* parent)
    : KinevoPage(149, "Phenytoin Steady-State Serum Level Forecast", HeaderVariant::Full, parent) {
    Body()->addStretch(1);
    AddButton("Report", "report", [this] { LeaveToReport(3); });
    AddButton("Done", "done", [this] { LeaveToEnd(6); });
    AddButton("Back", "back", [this] { Leave(code::kFactors); });
}
