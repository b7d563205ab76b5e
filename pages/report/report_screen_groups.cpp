#include "pages/report/report_screen_groups.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>

#include "engine/forecast_parameters.h"
#include "engine/patient_measures.h"
#include "output/report_content.h"
#include "output/report_texts.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"
#include "records/text_format.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr double kNoLimit = std::numeric_limits<double>::max();

// Values no patient has are shown empty rather than misleading.
QString Plausible(const std::string& text, double value, double limit = kNoLimit) {
    return value < 0 || value > limit ? QString() : Q(text);
}

// A row whose label and unit change with the drug.
QLineEdit* VariableRow(FieldRows& rows, const char* name, QLabel** label, QLabel** unit) {
    QLineEdit* field = OutputField(rows.Grid()->parentWidget(), name);
    *label = new QLabel(rows.Grid()->parentWidget());
    *unit = rows.Add(*label, field, "");
    return field;
}

QLineEdit* OutputWithUnit(FieldRows& rows, const char* label, const char* name, const char* unit) {
    QLabel* unitLabel = nullptr;
    QLineEdit* field = rows.AddOutput(label, name, &unitLabel);
    unitLabel->setText(unit);
    return field;
}

// Shows or hides the whole grid row of `field`: label, field and unit.
void ShowRow(QWidget* field, bool shown) {
    auto* grid = qobject_cast<QGridLayout*>(field->parentWidget()->layout());
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(field), &row, &column, &rowSpan, &columnSpan);
    for (int c = 0; c < grid->columnCount(); ++c)
        if (QLayoutItem* item = grid->itemAtPosition(row, c); item && item->widget()) item->widget()->setVisible(shown);
}
}  // namespace

ReportParameterGroup::ReportParameterGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName("analysis");
    auto* grid = new QGridLayout(this);
    FieldRows rows(grid);
    vd_ = rows.AddOutput("Vd:", "vd", &vdPerKg_);
    vdPerKg_->setObjectName("vdPerKg");
    clOrKm_ = VariableRow(rows, "clOrKm", &clOrKmLabel_, &clOrKmUnit_);
    cf_ = OutputWithUnit(rows, "CF:", "cf", "%");
    f_ = OutputWithUnit(rows, "F:", "f", "%");
    kdOrVm_ = VariableRow(rows, "kdOrVm", &kdOrVmLabel_, &kdOrVmUnit_);
    halfLifeOrFf_ = VariableRow(rows, "halfLifeOrFf", &halfLifeOrFfLabel_, &halfLifeOrFfUnit_);
}

void ReportParameterGroup::Show(const CaseRecord& r, const QString& caption) {
    setTitle(caption);
    const ParameterSet& s = r.CurrentSet();
    const ReportParameterTexts t = PrintedParameters(s);
    const bool phenytoin = r.Drug_ID == "ph";
    vd_->setText(Plausible(t.vd, s.Vd, 10000));
    const auto perKg = vd_->text().isEmpty() ? std::nullopt : PerKilogram(s.Vd, r.Wt);
    vdPerKg_->setText(perKg ? Q("L (" + FormatNumber("%.2f", *perKg) + " L/kg)") : QString("L"));
    cf_->setText(Plausible(t.cf, s.CF));
    f_->setText(Plausible(t.f, s.F));
    clOrKmLabel_->setText(phenytoin ? "Km:" : "Cl:");
    clOrKmUnit_->setText(phenytoin ? "mg/L" : "L/hr");
    kdOrVmLabel_->setText(phenytoin ? "Vmax:" : "Kd:");
    kdOrVmUnit_->setText(phenytoin ? "mg/day" : "1/hr");
    halfLifeOrFfLabel_->setText(phenytoin ? "FF:" : "t1/2:");
    halfLifeOrFfUnit_->setText(phenytoin ? "%" : "hr");
    if (phenytoin) {
        clOrKm_->setText(Plausible(t.km, s.Km, 5000));
        kdOrVm_->setText(Plausible(t.vm, s.Vm, 5000));
        halfLifeOrFf_->setText(Q(FormatNumber("%.1f", 100 * CurrentFreeFraction(r))));
    } else {
        clOrKm_->setText(Plausible(t.cl, s.Cl, 5000));
        // Texts that are there belong to a finite kd; a negative one is shown empty.
        const double kd = Kd(s.Vd, s.Cl).value_or(0);
        kdOrVm_->setText(Plausible(t.kd, kd));
        halfLifeOrFf_->setText(Plausible(t.halfLife, kd));
    }
}

ReportRegimenGroup::ReportRegimenGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName("regimen");
    auto* grid = new QGridLayout(this);
    FieldRows rows(grid);
    dose_ = rows.AddOutput("Dose:", "dose", &doseUnit_);
    interval_ = rows.AddOutput("every:", "interval", &intervalUnit_);
    infusion_ = OutputWithUnit(rows, "Infused Over:", "infusionTime", "hr");
    dose2_ = rows.AddOutput("Dose2:", "dose2", &dose2Unit_);
    interval2_ = OutputWithUnit(rows, "every:", "interval2", "hrs");
    uneven_ = new QLabel("Given as Uneven Doses.", this);
    uneven_->setObjectName("uneven");
    grid->addWidget(uneven_, rows.Row(), 0, 1, 3);
    rows.Skip();
    levels_ = new QLabel(this);
    levels_->setObjectName("levels");
    grid->addWidget(levels_, rows.Row(), 0, 1, 3);
    rows.Skip();
    peak_ = rows.AddOutput("Peak:", "peak");
    postLabel_ = new QLabel(this);
    postLabel_->setObjectName("postLabel");
    post_ = OutputField(this, "post");
    rows.Add(postLabel_, post_, "");
    trough_ = rows.AddOutput("Trough:", "trough");
    average_ = rows.AddOutput("Average:", "average");
    adjustedAverage_ = rows.AddOutput("Adjusted Average:", "adjustedAverage");
}

void ReportRegimenGroup::Show(const ReportRegimen& g, const CaseRecord& r) {
    const bool phenytoin = r.Drug_ID == "ph";
    const bool uneven = g.routeCode == 'O' && !g.unevenDoses.empty();
    dose_->setText(Q(g.dose));
    doseUnit_->setText(Q(g.doseUnit));
    interval_->setText(Q(g.interval));
    intervalUnit_->setText(uneven ? "hrs. " : "hrs");
    uneven_->setVisible(uneven);
    infusion_->setText(Q(g.infusionTime));
    ShowRow(infusion_, g.routeCode == 'D');
    dose2_->setText(Q(g.dose2));
    dose2Unit_->setText(Q(g.doseUnit));
    interval2_->setText(Q(g.interval2));
    ShowRow(dose2_, phenytoin && !g.dose2.empty());
    ShowRow(interval2_, phenytoin && !g.dose2.empty());
    levels_->setText(Q("Levels (" + r.ConcUnit + ")"));
    postLabel_->setText(Q("Post (" + g.postTime + " hr):"));
    peak_->setText(Q(g.peak));
    post_->setText(Q(g.post));
    trough_->setText(Q(g.trough));
    average_->setText(Q(phenytoin ? g.observedAverage : g.average));
    adjustedAverage_->setText(Q(g.adjustedAverage));
    for (QLineEdit* field : {peak_, trough_}) ShowRow(field, !phenytoin);
    // An oral or continuous regimen has no post sample to show.
    ShowRow(post_, !phenytoin && HasPostTime(g));
    ShowRow(adjustedAverage_, phenytoin);
}
