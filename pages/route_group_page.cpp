#include "pages/route_group_page.h"

#include <QFormLayout>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "pages/route_product_list.h"
#include "records/case_record.h"
#include "records/dosage_form.h"

RouteGroupPage::RouteGroupPage(int dialogId, const QString& heading, bool intravenous, int twinCode,
                               QWidget* parent)
    : KinevoPage(dialogId, heading, HeaderVariant::Full, parent), intravenous_(intravenous), twinCode_(twinCode) {
    products_ = new RouteProductList(this);
    auto* form = new QFormLayout;
    form->addRow("Route - Product:", products_);
    Body()->addLayout(form);
    Body()->addStretch(1);
    connect(products_, &QComboBox::activated, this, [this](int index) { ProductChosen(products_->itemText(index)); });
}

void RouteGroupPage::OnOpen() { products_->Fill(TheCase(), intravenous_); }

void RouteGroupPage::ProductChosen(const QString& product) {
    const std::string chosen = product.toStdString();
    ChooseRouteProduct(TheCase(), chosen);
    if (IsIntravenous(chosen) != intravenous_) Leave(twinCode_);
}

IvRegimenPage::IvRegimenPage(QWidget* parent)
    : RouteGroupPage(141, "Dosage Regimen Forecast - Intravenous", true, code::kOralRegimen, parent) {
    AddButton("Serum Level Forecast", "levelForecast", [this] { Leave(code::kIvForecast); });
    AddButton("Done", "done", [this] { LeaveToEnd(1); });
    AddButton("Back", "back", [this] { Leave(DrugPageCode()); });
}

OralRegimenPage::OralRegimenPage(QWidget* parent)
    : RouteGroupPage(142, "Dosage Regimen Forecast - Oral and Intramuscular", false, code::kIvRegimen, parent) {
    AddButton("Serum Level Forecast", "levelForecast", [this] { Leave(code::kOralForecast); });
    AddButton("Done", "done", [this] { LeaveToEnd(2); });
    AddButton("Back", "back", [this] { Leave(DrugPageCode()); });
}

IvForecastPage::IvForecastPage(QWidget* parent)
    : RouteGroupPage(145, "Steady-State Serum Level Forecast - Intravenous", true, code::kOralForecast, parent) {
    AddButton("Previous", "previous", [this] { Leave(DrugPageCode()); });
    AddButton("Report", "report", [this] { LeaveToReport(1); });
    AddButton("Done", "done", [this] { LeaveToEnd(4); });
}

void IvForecastPage::OnOpen() {
    RouteGroupPage::OnOpen();
    Nav().revisitIvForecast = false;
}

OralForecastPage::OralForecastPage(QWidget* parent)
    : RouteGroupPage(150, "Steady-State Serum Level Forecast - Oral and Intramuscular", false, code::kIvForecast,
                     parent) {
    AddButton("Previous", "previous", [this] { Leave(DrugPageCode()); });
    AddButton("Report", "report", [this] { LeaveToReport(2); });
    AddButton("Done", "done", [this] { LeaveToEnd(5); });
}

void OralForecastPage::OnOpen() {
    RouteGroupPage::OnOpen();
    Nav().revisitOralForecast = false;
}
