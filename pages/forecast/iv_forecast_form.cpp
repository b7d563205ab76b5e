#include "pages/forecast/iv_forecast_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "engine/auc24.h"
#include "engine/forecast_checks.h"
#include "engine/forecast_iv.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"
#include "records/text_format.h"

IvForecastForm::IvForecastForm(QWidget* parent) : ForecastForm(parent) {
    auto* intermittent = new QGroupBox("Intermittent IV Infusion", this);
    FieldRows inputs = DoseAndInterval(intermittent);
    QGridLayout* grid = inputs.Grid();
    postTime_ = inputs.AddInput("Time of Post:", "postTime", "hr after infusion");
    infusionTime_ = inputs.AddInput("Infusion Time:", "infusionTime", "hr");
    mic_ = inputs.AddInput("MIC:", "mic", "mg/L");
    FieldRows results(grid, 3);
    peak_ = results.AddLevel("Peak:", "peak", concUnits_);
    trough_ = results.AddLevel("Trough:", "trough", concUnits_);
    post_ = results.AddLevel("Post:", "post", concUnits_);
    average_ = results.AddLevel("Average:", "average", concUnits_);
    postMic_ = results.AddOutput("Post/MIC:", "postMic");
    timeAboveMic_ = results.AddOutput("Time Above MIC:", "timeAboveMic", &timeAboveMicUnit_);
    timeAboveMicUnit_->setObjectName("timeAboveMicUnit");
    auic_ = results.AddOutput("AUIC:", "auic");
    auc24_ = results.AddOutput("AUC24:", "auc24", &auc24Unit_);
    grid->setColumnMinimumWidth(3, 110);

    auto* continuous = new QGroupBox("Continuous IV Infusion", this);
    auto* grid2 = new QGridLayout(continuous);
    FieldRows rateRow(grid2);
    rate_ = rateRow.AddInput("Infusion Rate:", "rate", "", &rateUnit_);
    FieldRows levelRow(grid2, 3);
    averageLevel_ = levelRow.AddLevel("Average Level:", "averageLevel", concUnits_);
    grid2->setColumnMinimumWidth(3, 110);

    message_ = StackWithMessage(this, {intermittent, continuous});
}

void IvForecastForm::Watch(FieldWatch& watch) {
    const int group = kRegimenGroup;
    watch.Watch(dose_, group, ForecastRule(ForecastField::Dose));
    watch.Watch(interval_, group, ForecastRule(ForecastField::Interval));
    watch.Watch(postTime_, group, [this](double v) { return PostTimeProblem(v, FieldValue(interval_)); });
    watch.Watch(infusionTime_, group, ForecastRule(ForecastField::InfusionTime));
    watch.Watch(mic_, group, ForecastRule(ForecastField::Mic));
    watch.Watch(rate_, group, ForecastRule(ForecastField::InfusionRate));
}

void IvForecastForm::ShowCase(const CaseRecord& r) {
    const QString dose = QString::fromStdString(r.DoseUnit);
    doseUnit_->setText(dose);
    rateUnit_->setText(dose + "/hr");
    for (QLabel* unit : concUnits_) unit->setText(QString::fromStdString(r.ConcUnit));
    const bool intermittent = r.RouteCode == 'D';
    intermittent_ = intermittent;
    auc24Offered_ = HasAuc24(r.Drug_ID);
    auc24Unit_->setText(auc24Offered_ ? QString::fromStdString(AreaUnit(r.ConcUnit)) : QString());
    for (QLineEdit* field : {dose_, interval_, postTime_, infusionTime_, mic_}) SetEditable(field, intermittent);
    SetEditable(rate_, !intermittent);
}

void IvForecastForm::Compute(const RegimenModel& m, const CaseRecord& r, const QSet<int>&) {
    if (r.RouteCode == 'D') {
        const IntermittentLevels levels =
            ForecastIntermittent(m, {FieldValue(dose_), FieldValue(interval_), FieldValue(infusionTime_),
                                     FieldValue(postTime_), FieldValue(mic_)});
        ShowValue(peak_, levels.peak, "%.1lf");
        ShowValue(trough_, levels.trough, "%.1lf");
        ShowValue(post_, levels.post, "%.1lf");
        ShowValue(average_, levels.average, "%.1lf");
        ShowValue(postMic_, levels.postMic, "%.1lf");
        ShowValue(timeAboveMic_, levels.timeAboveMic, "%.1lf");
        timeAboveMicUnit_->setText(QString::fromStdString(levels.timeAboveMicLabel));
        ShowValue(auic_, levels.auic, "%.0f");
        ShowValue(auc24_,
                  auc24Offered_ && levels.peak ? Auc24(m, *FieldValue(dose_), *FieldValue(interval_)) : std::nullopt,
                  "%.0f");
        averageLevel_->clear();
        message_->setText(QString::fromStdString(levels.message));
        return;
    }
    const ContinuousLevel level = ForecastContinuous(m, FieldValue(rate_));
    for (QLineEdit* field : {peak_, trough_, post_, average_, postMic_, timeAboveMic_, auic_, auc24_}) field->clear();
    timeAboveMicUnit_->clear();
    ShowValue(averageLevel_, level.average, "%.1lf");
    message_->setText(QString::fromStdString(level.message));
}

FieldTexts IvForecastForm::Texts() const {
    FieldTexts texts = TextsOf(this);
    texts["timeAboveMicUnit"] = timeAboveMicUnit_->text().toStdString();
    return texts;
}

void IvForecastForm::Show(const FieldTexts& texts, int) {
    ShowTexts(this, texts);
    timeAboveMicUnit_->clear();
    if (!intermittent_) {
        for (QLineEdit* field : {dose_, interval_, postTime_, infusionTime_, mic_, peak_, trough_, post_, average_,
                                 postMic_, timeAboveMic_, auic_, auc24_})
            field->clear();
        return Reformat({rate_, averageLevel_}, "%.1lf");
    }
    rate_->clear();
    averageLevel_->clear();
    Reformat({dose_, interval_, postTime_, infusionTime_, peak_, trough_, post_, average_}, "%.1lf");
    Reformat({auc24_}, "%.0f");
    if (!FieldValue(mic_)) {
        for (QLineEdit* field : {postMic_, timeAboveMic_, auic_}) field->clear();
        return;
    }
    Reformat({mic_, postMic_, timeAboveMic_}, "%.1lf");
    const auto interval = FieldValue(interval_);
    if (FieldValue(timeAboveMic_) && interval)
        timeAboveMicUnit_->setText(QString::fromStdString(TimeAboveMicLabel(*interval)));
}

void IvForecastForm::ClearResults() {
    for (QLineEdit* field : {peak_, trough_, post_, average_, postMic_, timeAboveMic_, auic_, auc24_, averageLevel_})
        field->clear();
    timeAboveMicUnit_->clear();
    message_->clear();
}

void IvForecastForm::Clear() {
    ClearFields(this);
    ClearResults();
}
