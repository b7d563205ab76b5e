#include "pages/iv_forecast_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "engine/forecast_checks.h"
#include "engine/forecast_iv.h"
#include "pages/field_watch.h"
#include "records/case_record.h"

IvForecastForm::IvForecastForm(QWidget* parent) : QWidget(parent) {
    auto* intermittent = new QGroupBox("Intermittent IV Infusion", this);
    dose_ = InputField(intermittent, "dose");
    interval_ = InputField(intermittent, "interval");
    postTime_ = InputField(intermittent, "postTime");
    infusionTime_ = InputField(intermittent, "infusionTime");
    mic_ = InputField(intermittent, "mic");
    peak_ = OutputField(intermittent, "peak");
    trough_ = OutputField(intermittent, "trough");
    post_ = OutputField(intermittent, "post");
    average_ = OutputField(intermittent, "average");
    postMic_ = OutputField(intermittent, "postMic");
    timeAboveMic_ = OutputField(intermittent, "timeAboveMic");
    auic_ = OutputField(intermittent, "auic");
    auto* grid = new QGridLayout(intermittent);
    FieldRows inputs(grid);
    doseUnit_ = inputs.Add("Dose:", dose_, "");
    inputs.Add("Interval:", interval_, "hr");
    inputs.Add("Time of Post:", postTime_, "hr after infusion");
    inputs.Add("Infusion Time:", infusionTime_, "hr");
    inputs.Add("MIC:", mic_, "mg/L");
    FieldRows results(grid, 3);
    concUnits_.push_back(results.Add("Peak:", peak_, ""));
    concUnits_.push_back(results.Add("Trough:", trough_, ""));
    concUnits_.push_back(results.Add("Post:", post_, ""));
    concUnits_.push_back(results.Add("Average:", average_, ""));
    results.Add("Post/MIC:", postMic_, "");
    timeAboveMicUnit_ = results.Add("Time Above MIC:", timeAboveMic_, "");
    timeAboveMicUnit_->setObjectName("timeAboveMicUnit");
    results.Add("AUIC:", auic_, "");
    grid->setColumnMinimumWidth(3, 110);

    auto* continuous = new QGroupBox("Continuous IV Infusion", this);
    rate_ = InputField(continuous, "rate");
    averageLevel_ = OutputField(continuous, "averageLevel");
    auto* grid2 = new QGridLayout(continuous);
    FieldRows rateRow(grid2);
    rateUnit_ = rateRow.Add("Infusion Rate:", rate_, "");
    FieldRows levelRow(grid2, 3);
    concUnits_.push_back(levelRow.Add("Average Level:", averageLevel_, ""));
    grid2->setColumnMinimumWidth(3, 110);

    message_ = new QLabel(this);
    message_->setObjectName("message");
    message_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(intermittent);
    column->addWidget(continuous);
    column->addWidget(message_);
    column->addStretch(1);
}

void IvForecastForm::Watch(FieldWatch& watch, int group) {
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
    for (QLineEdit* field : {dose_, interval_, postTime_, infusionTime_, mic_}) SetEditable(field, intermittent);
    SetEditable(rate_, !intermittent);
}

void IvForecastForm::Compute(const RegimenModel& m, char routeCode) {
    if (routeCode == 'D') {
        const IntermittentLevels levels = ForecastIntermittent(
            m, {FieldValue(dose_), FieldValue(interval_), FieldValue(infusionTime_), FieldValue(postTime_),
                FieldValue(mic_)});
        ShowValue(peak_, levels.peak, "%.1lf");
        ShowValue(trough_, levels.trough, "%.1lf");
        ShowValue(post_, levels.post, "%.1lf");
        ShowValue(average_, levels.average, "%.1lf");
        ShowValue(postMic_, levels.postMic, "%.1lf");
        ShowValue(timeAboveMic_, levels.timeAboveMic, "%.1lf");
        timeAboveMicUnit_->setText(QString::fromStdString(levels.timeAboveMicLabel));
        ShowValue(auic_, levels.auic, "%.0f");
        averageLevel_->clear();
        message_->setText(QString::fromStdString(levels.message));
        return;
    }
    const ContinuousLevel level = ForecastContinuous(m, FieldValue(rate_));
    for (QLineEdit* field : {peak_, trough_, post_, average_, postMic_, timeAboveMic_, auic_}) field->clear();
    timeAboveMicUnit_->clear();
    ShowValue(averageLevel_, level.average, "%.1lf");
    message_->setText(QString::fromStdString(level.message));
}

QString IvForecastForm::Message() const { return message_->text(); }

FieldTexts IvForecastForm::Texts() const {
    FieldTexts texts = TextsOf(this);
    texts["timeAboveMicUnit"] = timeAboveMicUnit_->text().toStdString();
    return texts;
}

void IvForecastForm::Show(const FieldTexts& texts) {
    ShowTexts(this, texts);
    const auto unit = texts.find("timeAboveMicUnit");
    timeAboveMicUnit_->setText(unit == texts.end() ? QString() : QString::fromStdString(unit->second));
}

void IvForecastForm::Clear() {
    ClearFields(this);
    timeAboveMicUnit_->clear();
    message_->clear();
}
