#include "pages/regimen/auc24_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "engine/auc24.h"
#include "pages/widgets/field_watch.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"

namespace {
FieldRule NotNegative(const char* what) {
    return [what](double v) -> std::optional<std::string> {
        if (v >= 0) return std::nullopt;
        return std::string(what) + " cannot be negative.";
    };
}
}  // namespace

Auc24Group::Auc24Group(QWidget* parent) : QGroupBox("AUC24 Target", parent) {
    auto* grid = new QGridLayout(this);
    FieldRows rows(grid);
    rows.Add("Desired AUC24:", target_ = InputField(this, "desiredAuc24"), QString::fromUtf8("mg\u00b7h/L"));
    rows.Add("Every:", interval_ = InputField(this, "auc24Interval"), "hr");
    rows.Add("Trough Limit:", troughLimit_ = InputField(this, "troughLimit"), "mg/L");
    rows.Add("Dose:", dose_ = OutputField(this, "auc24Dose"), "mg");
    rows.Add("Peak:", peak_ = OutputField(this, "auc24Peak"), "mg/L");
    rows.Add("Trough:", trough_ = OutputField(this, "auc24Trough"), "mg/L");
    message_ = new QLabel(this);
    message_->setObjectName("auc24Message");
    message_->setWordWrap(true);
    grid->addWidget(message_, rows.Row(), 0, 1, 3);
}

void Auc24Group::Watch(FieldWatch& watch, int group) {
    watch.Watch(target_, group, NotNegative("Desired AUC24"));
    watch.Watch(interval_, group, NotNegative("Interval"));
    watch.Watch(troughLimit_, group, NotNegative("Trough limit"));
}

void Auc24Group::ShowCase(const CaseRecord& r) {
    offered_ = r.Drug_ID == "vm" && r.RouteCode == 'D';
    setVisible(offered_);
}

void Auc24Group::ClearResults() {
    for (QLineEdit* field : {dose_, peak_, trough_}) field->clear();
    message_->clear();
}

void Auc24Group::Compute(const RegimenModel& m, std::optional<double> infusionTime) {
    ClearResults();
    const auto target = FieldValue(target_);
    if (!offered_ || !target) return;
    const Auc24Design d =
        DesignForAuc24(m, {target, FieldValue(interval_), {}, infusionTime, FieldValue(troughLimit_)});
    ShowValue(dose_, d.dose, "%.0f");
    ShowValue(peak_, d.peak, "%.1f");
    ShowValue(trough_, d.trough, "%.1f");
    message_->setText(QString::fromStdString(d.message));
}
