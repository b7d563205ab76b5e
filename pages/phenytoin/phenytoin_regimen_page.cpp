#include "pages/phenytoin/phenytoin_regimen_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/kit/result_codes.h"
#include "engine/forecast_model.h"
#include "engine/phenytoin_case.h"
#include "engine/population_models.h"
#include "engine/regimen_chance.h"
#include "pages/drug/route_product_list.h"
#include "pages/patient/entry_values.h"
#include "pages/phenytoin/leave_checks.h"
#include "pages/phenytoin/phenytoin_case_values.h"
#include "pages/phenytoin/phenytoin_parameter_group.h"
#include "pages/widgets/case_posterior.h"
#include "pages/widgets/chance_line.h"
#include "pages/widgets/field_rows.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/text_format.h"

PhenytoinRegimenPage::PhenytoinRegimenPage(QWidget* parent)
    : PhenytoinPage(PageId::PhenytoinRegimen, "Phenytoin Dosage Regimen Forecast", HeaderVariant::NoDrugLine, parent) {
    products_ = new RouteProductList(this);
    auto* productRow = new QHBoxLayout;
    productRow->addWidget(new QLabel("Route - Product:", this));
    productRow->addWidget(products_);
    productRow->addStretch(1);
    Body()->addLayout(productRow);

    auto* grid = new QGridLayout;
    desired_ = AddFieldRow(this, grid, 0, "Desired Average Conc:", "desiredAverage", "mg/L").field;
    current_ = AddFieldRow(this, grid, 1, "Current Concentration:", "currentConc", "mg/L").field;
    drawn_ = AddFieldRow(this, grid, 2, "Time Drawn:", "timeDrawn", "hr ago").field;
    grid->addWidget(new QLabel("Therapeutic Range:", this), 3, 0, 1, 3);
    rangeLow_ = AddFieldRow(this, grid, 4, "   Low:", "rangeLow", "mg/L", true).field;
    rangeHigh_ = AddFieldRow(this, grid, 5, "   High:", "rangeHigh", "mg/L", true).field;
    grid->addWidget(new QLabel("(Adjusted for Patient's Protein Binding)", this), 6, 0, 1, 3);
    grid->addWidget(new QLabel("Exact Estimates:", this), 7, 0, 1, 3);
    const FieldRow dose = AddFieldRow(this, grid, 8, "   Dose:", "dose", "mg/24 hr", true);
    dose_ = dose.field;
    doseUnit_ = dose.unit;
    interval_ = AddFieldRow(this, grid, 9, "   Interval:", "interval", "hr", true).field;
    const FieldRow loading = AddFieldRow(this, grid, 10, "Loading Dose:", "loadingDose", "mg", true);
    loading_ = loading.field;
    loadingUnit_ = loading.unit;
    freeFraction_ = AddFieldRow(this, grid, 11, "Free Fraction:", "freeFraction", "%", true).field;
    chance_ = ChanceLabel(this, "chance");
    grid->addWidget(chance_, 12, 0, 1, 3);
    PlaceColumns(grid, new QVBoxLayout, true);

    for (QLineEdit* field : {desired_, current_, drawn_}) checks_->Watch(field);
    const auto fields = parameters_->Fields();
    SetFieldOrder({products_, desired_, current_, drawn_, fields[0], fields[1], fields[2]});
    connect(products_, &QComboBox::activated, this, [this](int index) { ProductChosen(products_->itemText(index)); });

    AddLeavingButton("Serum Level Forecast", "levelForecast", [this] { Leave(code::kPhenytoinForecast); });
    AddLeavingButton("Done", "done", [this] { LeaveToEnd(EndSource::PhenytoinRegimen); });
    AddLeavingButton("Back", "back", [this] { Leave(code::kFactors); });
}

void PhenytoinRegimenPage::ClearResults() {
    for (QLineEdit* field : {dose_, interval_, loading_}) field->clear();
    warning_->clear();
    ShowChanceLine(chance_, {});
}

void PhenytoinRegimenPage::Reset() {
    for (QLineEdit* field : {desired_, current_, drawn_}) field->clear();
    ClearResults();
}

void PhenytoinRegimenPage::OnOpen() {
    CaseRecord& r = TheCase();
    products_->Fill(r, IsIntravenous(r.RouteProduct));
    if (products_->currentText().toStdString() != r.RouteProduct)
        ChooseRouteProduct(r, products_->currentText().toStdString());
    ShowSets();
    ShowUnits();
    Recompute();
}

// A new product empties the inputs: a level or target typed for one
// product says nothing about another.
void PhenytoinRegimenPage::ProductChosen(const QString& product) {
    CaseRecord& r = TheCase();
    if (r.Cur_fit_method == kPopulation) SelectDrugModel(r);
    ChooseRouteProduct(r, product.toStdString());
    for (QLineEdit* field : {desired_, current_, drawn_}) field->clear();
    parameters_->Show(r);
    ShowUnits();
    Recompute();
}

void PhenytoinRegimenPage::Recompute() {
    const CaseRecord& r = TheCase();
    ShowRange(rangeLow_, rangeHigh_, r.FreeFraction);
    ShowNumber(freeFraction_, 100 * r.FreeFraction, "%.1f");
    const PhenytoinDesign design = DesignPhenytoin(PhenytoinParametersOf(r), ProductSalt(r), ProductBioavailability(r),
                                                   FieldNumber(desired_->text()), FieldNumber(current_->text()));
    ShowNumber(dose_, design.dailyDose, "%.0f");
    ShowNumber(interval_, design.dailyDose ? std::optional(design.interval) : std::nullopt, "%f");
    ShowNumber(loading_, design.loadingDose, "%.0f");
    warning_->setText(QString::fromStdString(design.message));
    const Posterior* posterior = design.dailyDose ? CasePosterior(r) : nullptr;
    ShowChanceLine(chance_, posterior ? PhenytoinChance(*posterior, {design.dailyDose, design.interval, ProductSalt(r)},
                                                        r.FreeFraction)
                                      : std::string());
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->setModified(false);
}

void PhenytoinRegimenPage::ShowUnits() {
    const PhenytoinDoseUnits units = DoseUnitsFor(TheCase().FormName);
    doseUnit_->setText(QString::fromStdString(units.daily));
    loadingUnit_->setText(QString::fromStdString(units.dose));
}
