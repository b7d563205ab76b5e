#include "pages/phenytoin/phenytoin_parameter_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "engine/forecast_model.h"
#include "engine/forecast_parameters.h"
#include "engine/phenytoin_case.h"
#include "pages/patient/entry_values.h"
#include "pages/phenytoin/phenytoin_case_values.h"
#include "pages/widgets/field_rows.h"
#include "records/case_record.h"
#include "records/text_format.h"

namespace {
const char* SetName(int fitMethod) {
    switch (fitMethod) {
        case kLeastSquares: return "LS";
        case kBayesian: return "Bayesian";
        default: return "Population";
    }
}
}  // namespace

PhenytoinParameterGroup::PhenytoinParameterGroup(QWidget* parent) : QGroupBox(parent) {
    auto* grid = new QGridLayout(this);
    auto field = [&](const char* name, const QString& label, const QString& unit, int row) {
        return AddFieldRow(this, grid, row, label, name, unit).field;
    };
    vd_ = field("vd", "Vd:", "L", 0);
    km_ = field("km", "Km:", "mg/L", 1);
    vm_ = field("vmax", "Vmax:", "mg/day", 2);
    salt_ = field("salt", "Salt Factor:", "", 3);
    f_ = field("bioavailability", "F:", "", 4);
    for (QLineEdit* shownOnly : {salt_, f_}) {
        shownOnly->setReadOnly(true);
        shownOnly->setFocusPolicy(Qt::NoFocus);
    }
    vdPerKg_ = new QLabel(this);
    vdPerKg_->setObjectName("vdPerKg");
    vmPerKg_ = new QLabel(this);
    vmPerKg_->setObjectName("vmaxPerKg");
    grid->addWidget(vdPerKg_, 0, 3);
    grid->addWidget(vmPerKg_, 2, 3);
    grid->setColumnStretch(4, 1);
}

void PhenytoinParameterGroup::Show(const CaseRecord& r) {
    const ParameterSet& s = r.CurrentSet();
    setTitle(QString("Current Parameters: ") + SetName(r.Cur_fit_method));
    ShowNumber(vd_, s.Vd, "%.2f");
    ShowNumber(km_, s.Km, "%.2f");
    ShowNumber(vm_, s.Vm, "%.1f");
    for (QLineEdit* e : Fields()) e->setReadOnly(r.Cur_fit_method != kPopulation);
    ShowNumber(salt_, ProductSalt(r), "%.2f");
    F_ = ProductBioavailability(r);
    ShowNumber(f_, 100 * F_, "%.0f %%");
    ShowPerKilogram(r.Wt);
}

void PhenytoinParameterGroup::Store(CaseRecord& r) {
    ParameterSet& s = r.CurrentSet();
    s.Vd = FieldNumber(vd_->text()).value_or(0);
    s.Km = s.Cl = FieldNumber(km_->text()).value_or(0);
    s.Vm = FieldNumber(vm_->text()).value_or(0);
    ShowPerKilogram(r.Wt);
}

void PhenytoinParameterGroup::ShowPerKilogram(double weight) {
    const auto perKg = [weight](const QLineEdit* field, const char* unit) {
        return QString::fromStdString(PerKilogramText(FieldNumber(field->text()).value_or(0), weight, unit));
    };
    vdPerKg_->setText(perKg(vd_, "L/kg"));
    vmPerKg_->setText(perKg(vm_, "mg/day/kg"));
}

PageParameterTexts PhenytoinParameterGroup::Shown() const {
    PageParameterTexts t;
    t.Vd = vd_->text().toStdString();
    t.Km = km_->text().toStdString();
    t.Vmax = vm_->text().toStdString();
    t.F = FormatNumber("%.2f", F_);
    t.FValue = F_;
    return t;
}
