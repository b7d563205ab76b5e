#include "pages/regimen/design_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "engine/design_checks.h"
#include "engine/design_common.h"
#include "engine/design_iv.h"
#include "engine/design_oral.h"
#include "pages/widgets/chance_line.h"
#include "pages/widgets/field_watch.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"

DesignForm::DesignForm(bool intravenous, QWidget* parent) : QWidget(parent), intravenous_(intravenous) {
    auto* targets = new QGroupBox("Desired Levels", this);
    auto* grid = new QGridLayout(targets);
    FieldRows rows(grid);
    auto conc = [&](const char* label, QLineEdit*& field, const char* name) {
        field = InputField(targets, name);
        concUnits_.push_back(rows.Add(label, field, ""));
    };
    auto hours = [&](const char* label, QLineEdit*& field, const char* name) {
        field = InputField(targets, name);
        rows.Add(label, field, "hr");
    };
    if (intravenous) {
        conc("Desired Post:", peak_, "desiredPost");
        hours("Time of Post After Infusion:", postTime_, "postTime");
        conc("Desired Trough:", trough_, "desiredTrough");
        hours("Infusion Time:", infusionTime_, "infusionTime");
    } else {
        conc("Desired Peak:", peak_, "desiredPeak");
        conc("Desired Trough:", trough_, "desiredTrough");
    }
    conc("Desired Average Concentration:", average_, "desiredAverage");
    conc("Initial Conc:", initialConc_, "initialConc");
    hours("Time Drawn (hr ago):", timeDrawn_, "timeDrawn");
    if (intravenous) {
        hours("Infusion Time of Loading Dose:", loadingInfusionTime_, "loadingInfusionTime");
        rateSinceLevel_ = InputField(targets, "rateSinceLevel");
        rateUnit_ = rows.Add("If Continuous IV: Infusion Rate Since Level:", rateSinceLevel_, "");
    }

    auto* estimate = new QGroupBox("Exact Estimate", this);
    dose_ = OutputField(estimate, "dose");
    interval_ = OutputField(estimate, "interval");
    daily_ = OutputField(estimate, "daily");
    loadingDose_ = OutputField(estimate, "loadingDose");
    note_ = OutputField(estimate, "note");
    note_->setMaximumWidth(QWIDGETSIZE_MAX);
    auto* grid2 = new QGridLayout(estimate);
    FieldRows results(grid2);
    doseUnit_ = results.Add("Dose:", dose_, "");
    results.Add("Frequency/Interval:", interval_, "hr");
    dailyUnit_ = results.Add("Daily Dose for Average:", daily_, "");
    loadingUnit_ = results.Add("Loading Dose:", loadingDose_, "");
    grid2->addWidget(note_, results.Row(), 0, 1, 3);
    chance_ = ChanceLabel(estimate, "chance");
    practical_ = ChanceLabel(estimate, "practical");
    grid2->addWidget(chance_, results.Row() + 1, 0, 1, 3);
    grid2->addWidget(practical_, results.Row() + 2, 0, 1, 3);

    message_ = StackWithMessage(this, {targets, estimate});
}

void DesignForm::Watch(FieldWatch& watch, int group) {
    watch.Watch(peak_, group, DesignRule(DesignField::DesiredPeak));
    if (postTime_) watch.Watch(postTime_, group, DesignRule(DesignField::PostTime));
    watch.Watch(trough_, group, DesignRule(DesignField::DesiredTrough));
    if (infusionTime_) watch.Watch(infusionTime_, group, DesignRule(DesignField::InfusionTime));
    watch.Watch(average_, group, DesignRule(DesignField::DesiredAverage));
    watch.Watch(initialConc_, group, DesignRule(DesignField::InitialConc));
    watch.Watch(timeDrawn_, group, DesignRule(DesignField::TimeDrawn));
    if (loadingInfusionTime_) watch.Watch(loadingInfusionTime_, group, DesignRule(DesignField::LoadingInfusionTime));
    if (rateSinceLevel_) watch.Watch(rateSinceLevel_, group);
}

void DesignForm::ShowCase(const CaseRecord& r) {
    // Lithium amounts are shown in mg of the carbonate.
    const QString dose = QString::fromStdString(r.Drug_ID == "li" ? std::string("mg") : r.DoseUnit);
    for (QLabel* unit : {doseUnit_, loadingUnit_}) unit->setText(dose);
    dailyUnit_->setText(dose + "/24 hr");
    if (rateUnit_) rateUnit_->setText(dose + "/hr");
    for (QLabel* unit : concUnits_) unit->setText(QString::fromStdString(r.ConcUnit));
    const bool continuous = intravenous_ && r.RouteCode != 'D';
    SetEditable(average_, continuous || TakesAverageTarget(r.Drug_ID));
    if (rateSinceLevel_) SetEditable(rateSinceLevel_, continuous);
}

namespace {
std::optional<double> Read(const QLineEdit* field) {
    return field && !field->isReadOnly() ? FieldValue(field) : std::nullopt;
}
}  // namespace

RegimenDesign DesignForm::Compute(const RegimenModel& m, char routeCode) {
    DesignInputs in;
    (intravenous_ ? in.desiredPost : in.desiredPeak) = Read(peak_);
    in.postTime = Read(postTime_);
    in.desiredTrough = Read(trough_);
    in.infusionTime = Read(infusionTime_);
    in.desiredAverage = Read(average_);
    in.initialConc = Read(initialConc_);
    in.timeDrawn = Read(timeDrawn_);
    in.loadingInfusionTime = Read(loadingInfusionTime_);
    in.rateSinceLevel = Read(rateSinceLevel_);
    const RegimenDesign d = intravenous_ ? DesignIv(m, routeCode, in) : DesignOral(m, in);
    ShowValue(dose_, d.dose, "%.0f");
    ShowValue(interval_, d.interval, "%.1f");
    ShowValue(daily_, d.daily, "%.0f");
    ShowValue(loadingDose_, d.loadingDose, "%.0f");
    note_->setText(QString::fromStdString(d.note));
    message_->setText(QString::fromStdString(d.message));
    return d;
}

std::optional<double> DesignForm::DesiredPeak() const { return Read(peak_); }

std::optional<double> DesignForm::PostTime() const { return Read(postTime_); }

void DesignForm::ShowChance(const ChanceLines& lines) {
    ShowChanceLine(chance_, lines.attainment);
    ShowChanceLine(practical_, lines.practical);
}

std::optional<double> DesignForm::InfusionTime() const { return Read(infusionTime_); }

void DesignForm::ClearResults() {
    for (QLineEdit* field : {dose_, interval_, daily_, loadingDose_, note_}) field->clear();
    message_->clear();
    ShowChance({});
}

void DesignForm::Clear() {
    ClearFields(this);
    message_->clear();
    ShowChance({});
}
