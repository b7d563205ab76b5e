#include "pages/drug/parameter_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "engine/case_warning.h"
#include "engine/forecast_checks.h"
#include "engine/forecast_parameters.h"
#include "pages/fitting/fit_parameter_texts.h"
#include "pages/widgets/field_watch.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"
#include "records/text_format.h"

RegimenModel PageModel(const CaseRecord& r) {
    return RegimenModelOf(r, ForecastBioavailability(r.RouteProduct, r.FitRouteProduct1, r.FitRouteProduct2,
                                                     r.CurrentSet().F, r.population.F));
}

ParameterPanel::ParameterPanel(int pageCode, QWidget* parent) : QGroupBox("Parameters", parent), pageCode_(pageCode) {
    vd_ = InputField(this, "vd");
    cl_ = InputField(this, "cl");
    cf_ = InputField(this, "cf");
    kd_ = OutputField(this, "kd");
    halfLife_ = OutputField(this, "halfLife");
    salt_ = OutputField(this, "salt");
    f_ = OutputField(this, "bioavailability");
    perKg_ = new QLabel(this);
    perKg_->setObjectName("vdPerKg");
    vdLabel_ = new QLabel("Vd:", this);
    kdLabel_ = new QLabel("kd:", this);
    warning_ = new QLabel(this);
    warning_->setObjectName("warning");
    warning_->setWordWrap(true);
    warning_->setStyleSheet("color: #a00000;");
    auto* grid = new QGridLayout(this);
    FieldRows rows(grid);
    rows.Add(vdLabel_, vd_, "L");
    grid->addWidget(perKg_, rows.Row(), 1, 1, 2);
    rows.Skip();
    rows.Add("Cl:", cl_, "L/hr");
    rows.Add("CF:", cf_, "%");
    rows.Add(kdLabel_, kd_, "1/hr");
    rows.Add("t1/2:", halfLife_, "hr");
    rows.Add("Salt:", salt_, "");
    rows.Add("F:", f_, "");
    grid->addWidget(new QLabel("!Warning:", this), rows.Row(), 0);
    grid->addWidget(warning_, rows.Row(), 1, 1, 2);
    grid->setRowStretch(rows.Row() + 1, 1);
}

void ParameterPanel::Watch(FieldWatch& watch, int group) {
    watch.Watch(vd_, group, VdProblem);
    watch.Watch(cl_, group, ClProblem);
    watch.Watch(cf_, group, CfPercentProblem);
}

void ParameterPanel::Show(const CaseRecord& r) {
    const bool editable = r.Cur_fit_method == kPopulation;
    if (editable) {
        const ParameterSet& set = r.CurrentSet();
        ShowValue(vd_, set.Vd, "%.3lf");
        ShowValue(cl_, set.Cl, "%.3lf");
        ShowValue(cf_, set.CF * 100, "%.0f");
    } else {
        // A fitted set reads as the analysis page shows it.
        for (const FitParameterRow& row : FitParameterRows(r)) {
            const std::string& text = r.Cur_fit_method == kBayesian ? row.bayes : row.leastSquares;
            if (row.label == "Vd") vd_->setText(QString::fromStdString(text));
            if (row.label == "Cl") cl_->setText(QString::fromStdString(text));
            if (row.label == "CF") cf_->setText(QString::fromStdString(text));
        }
    }
    for (QLineEdit* field : {vd_, cl_, cf_}) SetEditable(field, editable);
    // For the two-compartment model k is the beta-phase constant and Vd its volume.
    const bool beta = r.ModelType == 2;
    vdLabel_->setText(beta ? "Vd\u03b2:" : "Vd:");
    kdLabel_->setText(beta ? "\u03b2:" : "kd:");
    ShowDerived(r);
}

void ParameterPanel::Apply(CaseRecord& r) {
    if (r.Cur_fit_method != kPopulation) return;
    r.population.Vd = FieldValue(vd_).value_or(0);
    r.population.Cl = FieldValue(cl_).value_or(0);
    r.population.CF = FieldValue(cf_).value_or(0) / 100;
    ShowDerived(r);
}

bool ParameterPanel::CanCompute(const CaseRecord& r) const {
    const ParameterSet& set = r.CurrentSet();
    return CanForecast(set.Vd, set.Cl, set.CF);
}

void ParameterPanel::ShowDerived(const CaseRecord& r) {
    const ParameterSet& set = r.CurrentSet();
    perKg_->setText(QString::fromStdString(PerKilogramText(set.Vd, r.Wt, "L/kg")));
    ShowValue(kd_, EliminationConstant(set.Vd, set.Cl), "%.3lf");
    ShowValue(halfLife_, HalfLife(set.Vd, set.Cl), "%.3lf");
    const RegimenModel m = PageModel(r);
    salt_->setText(QString::fromStdString(SaltText(m.salt)));
    f_->setText(QString::fromStdString(PercentText(m.F)));
    warning_->setText(QString::fromStdString(CaseWarning(r, pageCode_)));
}

PageParameterTexts ParameterPanel::Texts() const {
    PageParameterTexts t;
    t.Vd = vd_->text().toStdString();
    t.Cl = cl_->text().toStdString();
    t.CF = cf_->text().toStdString();
    t.F = f_->text().toStdString();
    t.FValue = FieldValue(f_).value_or(0) / 100;
    // CF in percent, as every other page stores it and the import reads it back.
    t.CFValue = FieldValue(cf_).value_or(0);
    return t;
}
