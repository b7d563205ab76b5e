#include "pages/phenytoin/phenytoin_forecast_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/forecast_checks.h"
#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_case.h"
#include "engine/population_models.h"
#include "pages/drug/route_product_list.h"
#include "pages/patient/entry_values.h"
#include "pages/phenytoin/leave_checks.h"
#include "pages/phenytoin/phenytoin_case_values.h"
#include "pages/phenytoin/phenytoin_parameter_group.h"
#include "pages/widgets/field_rows.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"

namespace {
const QString kVmaxMessage = "Daily Dosage is greater than Vmax.";

std::optional<std::string> DoseProblem(double dose) { return ForecastFieldProblem(ForecastField::Dose, dose); }

PhenytoinDoseLine LineOf(const QLineEdit* dose, const QLineEdit* interval, double salt) {
    return {FieldNumber(dose->text()), FieldNumber(interval->text()), salt};
}
}  // namespace

PhenytoinForecastPage::PhenytoinForecastPage(QWidget* parent)
    : PhenytoinPage(PageId::PhenytoinForecast, "Phenytoin Steady-State Serum Level Forecast", HeaderVariant::Full,
                    parent) {
    auto* regimens = new QGridLayout;
    first_ = AddLine(regimens, 0, "1");
    second_ = AddLine(regimens, 3, "2");
    salt2_ = AddFieldRow(this, regimens, 6, "   Salt Factor:", "salt2", "", true).field;
    auto* results = new QGridLayout;
    results->addWidget(new QLabel("Therapeutic Range:", this), 0, 0, 1, 3);
    rangeLow_ = AddFieldRow(this, results, 1, "   Low:", "rangeLow", "mg/L", true).field;
    rangeHigh_ = AddFieldRow(this, results, 2, "   High:", "rangeHigh", "mg/L", true).field;
    results->addWidget(new QLabel("(Adjusted to Patient's Binding)", this), 3, 0, 1, 3);
    observed_ = AddFieldRow(this, results, 4, "Observed Average Level:", "observedAverage", "mg/L", true).field;
    adjusted_ = AddFieldRow(this, results, 5, "Adjusted Average Level:", "adjustedAverage", "mg/L", true).field;
    results->addWidget(new QLabel("(Adjusted to Normal Binding)", this), 6, 0, 1, 3);
    t90_ = AddFieldRow(this, results, 7, "90% Steady-State Time:", "steadyStateTime", "days", true).field;
    freeFraction_ = AddFieldRow(this, results, 8, "Free Fraction:", "freeFraction", "%", true).field;
    PlaceColumns(regimens, results, false);

    const auto fields = parameters_->Fields();
    for (const RegimenLine* line : {&first_, &second_}) {
        checks_->Watch(line->dose, DoseProblem);
        checks_->Watch(line->interval, PhenytoinIntervalProblem);
    }
    SetFieldOrder({first_.product, first_.dose, first_.interval, second_.product, second_.dose, second_.interval,
                   fields[0], fields[1], fields[2]});

    AddLeavingButton("Report", "report", [this] {
        HandOverToReport();
        LeaveToReport(ReportSource::PhenytoinForecast);
    });
    AddLeavingButton("Done", "done", [this] { LeaveToEnd(EndSource::PhenytoinForecast); });
    AddLeavingButton("Back", "back", [this] { Leave(code::kFactors); });
}

PhenytoinForecastPage::RegimenLine PhenytoinForecastPage::AddLine(QGridLayout* grid, int row, const char* suffix) {
    RegimenLine line;
    line.product = new RouteProductList(this);
    line.product->setObjectName(QString("routeProduct") + suffix);
    grid->addWidget(new QLabel(QString("Regimen ") + suffix + " - Route - Product:", this), row, 0);
    grid->addWidget(line.product, row, 1, 1, 2);
    const FieldRow dose = AddFieldRow(this, grid, row + 1, "   Dose:", (std::string("dose") + suffix).c_str(), "mg");
    line.dose = dose.field;
    line.unit = dose.unit;
    line.interval =
        AddFieldRow(this, grid, row + 2, "   Interval:", (std::string("interval") + suffix).c_str(), "hr").field;
    const bool first = std::string(suffix) == "1";
    connect(line.product, &QComboBox::activated, this,
            [this, list = line.product, first](int index) { ProductChosen(list->itemText(index), first); });
    return line;
}

void PhenytoinForecastPage::ClearResults() {
    for (QLineEdit* field : {observed_, adjusted_, t90_}) field->clear();
    warning_->clear();
}

void PhenytoinForecastPage::Reset() {
    for (const RegimenLine* line : {&first_, &second_}) {
        line->dose->clear();
        line->interval->clear();
    }
    ClearResults();
}

void PhenytoinForecastPage::OnOpen() {
    CaseRecord& r = TheCase();
    first_.product->Fill(r, IsIntravenous(r.RouteProduct));
    if (first_.product->currentText().toStdString() != r.RouteProduct)
        ChooseRouteProduct(r, first_.product->currentText().toStdString());
    second_.product->Fill(r, false);
    if (r.RouteProduct2.empty()) ChooseSecondProduct(r, DefaultRouteProduct(r.Drug_ID));
    second_.product->setCurrentText(QString::fromStdString(r.RouteProduct2));
    ShowSets();
    ShowProductValues();
    Recompute(false, nullptr);
}

// A new product empties its own regimen's dose and interval.
void PhenytoinForecastPage::ProductChosen(const QString& product, bool first) {
    CaseRecord& r = TheCase();
    if (r.Cur_fit_method == kPopulation) SelectDrugModel(r);
    const RegimenLine& line = first ? first_ : second_;
    if (first) ChooseRouteProduct(r, product.toStdString());
    else {
        ChooseRouteProduct(r, r.RouteProduct);
        ChooseSecondProduct(r, product.toStdString());
    }
    line.dose->clear();
    line.interval->clear();
    ShowProductValues();
    Recompute(true, nullptr);
}

void PhenytoinForecastPage::ShowProductValues() {
    const CaseRecord& r = TheCase();
    parameters_->Show(r);
    ShowNumber(salt2_, r.Salt2, "%.2f");
    first_.unit->setText(QString::fromStdString(DoseUnitsFor(r.FormName).dose));
    second_.unit->setText(QString::fromStdString(DoseUnitsFor(r.FormName2).dose));
}

void PhenytoinForecastPage::Recompute(bool edited, QLineEdit* changed) {
    const CaseRecord& r = TheCase();
    const double fu = CurrentFreeFraction(r);
    ShowRange(rangeLow_, rangeHigh_, fu);
    ShowNumber(freeFraction_, 100 * fu, "%.1f");
    const PhenytoinLevels levels = ForecastPhenytoin(PhenytoinParametersOf(r), ProductBioavailability(r), fu,
                                                     LineOf(first_.dose, first_.interval, ProductSalt(r)),
                                                     LineOf(second_.dose, second_.interval, r.Salt2));
    ShowNumber(observed_, levels.observed, "%.1f");
    ShowNumber(adjusted_, levels.adjusted, "%.1f");
    ShowNumber(t90_, levels.t90Days, "%.1f");
    const QString message = QString::fromStdString(levels.message);
    warning_->setText(message);
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->setModified(false);
    if (edited && message == kVmaxMessage) {
        Tell(this, kVmaxMessage);
        (changed == first_.interval ? first_.interval : first_.dose)->setFocus(Qt::OtherFocusReason);
    }
}

// The report and the save take the regimen that counts: the first, or the
// second when only it is given.
void PhenytoinForecastPage::RememberShown() {
    PhenytoinPage::RememberShown();
    CaseRecord& r = TheCase();
    const bool firstGiven = !first_.dose->text().isEmpty();
    const RegimenLine& line = firstGiven ? first_ : second_;
    SavedRegimen& saved = r.regimen;
    saved.Dose = line.dose->text().toStdString();
    saved.Interval = line.interval->text().toStdString();
    saved.Form = firstGiven ? r.FormName : r.FormName2;
    saved.Route = std::string(1, firstGiven ? r.RouteCode : r.RouteCode2);
    saved.Average_Obs = observed_->text().toStdString();
    saved.Average_Adj = adjusted_->text().toStdString();
}

void PhenytoinForecastPage::HandOverToReport() {
    CaseRecord& r = TheCase();
    const bool firstGiven = !first_.dose->text().isEmpty();
    const RegimenLine& line = firstGiven ? first_ : second_;
    const std::string& form = firstGiven ? r.FormName : r.FormName2;
    auto text = [](const QLineEdit* field) { return field->text().toStdString(); };
    ReportRegimen& g = r.reportRegimen;
    g = ReportRegimen{};
    g.fitType = r.Cur_fit_method == kBayesian       ? kReportBayesian
                : r.Cur_fit_method == kLeastSquares ? kReportLeastSquares
                                                    : kReportPopulation;
    g.routeCode = firstGiven ? r.RouteCode : r.RouteCode2;
    g.dose = text(line.dose);
    g.interval = text(line.interval);
    g.doseUnit = DoseUnitsFor(form).dose;
    g.product = form;
    if (firstGiven && !second_.dose->text().isEmpty()) {
        g.dose2 = text(second_.dose);
        g.interval2 = text(second_.interval);
        g.product2 = r.FormName2;
    }
    g.observedAverage = text(observed_);
    g.adjustedAverage = text(adjusted_);
    g.adjustedRangeLow = text(rangeLow_);
    g.adjustedRangeHigh = text(rangeHigh_);
    g.steadyState90Days = text(t90_);
}
