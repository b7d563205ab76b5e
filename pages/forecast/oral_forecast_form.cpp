#include "pages/forecast/oral_forecast_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "engine/forecast_checks.h"
#include "engine/forecast_oral.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"

namespace {

// Clock hours are shown with two digits.
void PadHour(QLineEdit* hour) {
    if (hour->text().trimmed().size() == 1) hour->setText("0" + hour->text().trimmed());
}
}  // namespace

OralForecastForm::OralForecastForm(QWidget* parent) : ForecastForm(parent) {
    auto* regular = new QGroupBox("Regular Regimen", this);
    FieldRows inputs = DoseAndInterval(regular);
    QGridLayout* grid = inputs.Grid();
    FieldRows results(grid, 3);
    peak_ = results.AddLevel("Peak:", "peak", concUnits_);
    trough_ = results.AddLevel("Trough:", "trough", concUnits_);
    average_ = results.AddLevel("Average:", "average", concUnits_);
    grid->setColumnMinimumWidth(3, 110);

    auto* uneven = new QGroupBox("Uneven Daily Schedule", this);
    auto* grid2 = new QGridLayout(uneven);
    grid2->addWidget(new QLabel("Time of day (HH)\n(military time)", uneven), 0, 4);
    for (int i = 0; i < 4; ++i) {
        doses_[i] = InputField(uneven, qPrintable(QString("dose%1").arg(i + 1)));
        hours_[i] = InputField(uneven, qPrintable(QString("hour%1").arg(i + 1)));
        hours_[i]->setMaximumWidth(50);
        grid2->addWidget(new QLabel(QString("Dose %1:").arg(i + 1), uneven), i + 1, 0);
        grid2->addWidget(doses_[i], i + 1, 1);
        doseUnits_.push_back(new QLabel(uneven));
        grid2->addWidget(doseUnits_.back(), i + 1, 2);
        grid2->addWidget(new QLabel("at", uneven), i + 1, 3);
        grid2->addWidget(hours_[i], i + 1, 4);
    }
    levelHour_ = InputField(uneven, "levelHour");
    levelHour_->setMaximumWidth(50);
    grid2->addWidget(new QLabel("Time of Day Level (HH):", uneven), 5, 0, 1, 4);
    grid2->addWidget(levelHour_, 5, 4);
    FieldRows unevenResults(grid2, 5);
    unevenResults.Skip();
    unevenPeak_ = unevenResults.AddLevel("Peak:", "unevenPeak", concUnits_);
    unevenTrough_ = unevenResults.AddLevel("Trough:", "unevenTrough", concUnits_);
    unevenAverage_ = unevenResults.AddLevel("Average:", "unevenAverage", concUnits_);
    level_ = OutputField(uneven, "levelAtHour");
    levelAt_ = new QLabel("Level at", uneven);
    levelAt_->setObjectName("levelAt");
    concUnits_.push_back(unevenResults.Add(levelAt_, level_, ""));
    grid2->setColumnMinimumWidth(5, 110);

    message_ = StackWithMessage(this, {regular, uneven});
}

void OralForecastForm::Watch(FieldWatch& watch) {
    watch.Watch(dose_, kRegularGroup, ForecastRule(ForecastField::Dose));
    watch.Watch(interval_, kRegularGroup, ForecastRule(ForecastField::Interval));
    for (int i = 0; i < 4; ++i) {
        watch.Watch(doses_[i], kUnevenGroup, ForecastRule(ForecastField::Dose));
        watch.Watch(hours_[i], kUnevenGroup, ForecastRule(ForecastField::Hour));
    }
    watch.Watch(levelHour_, kUnevenGroup, ForecastRule(ForecastField::Hour));
}

void OralForecastForm::ShowCase(const CaseRecord& r) {
    // Lithium doses are typed in mg of the carbonate.
    const QString dose = QString::fromStdString(r.Drug_ID == "li" ? std::string("mg") : r.DoseUnit);
    doseUnit_->setText(dose);
    for (QLabel* unit : doseUnits_) unit->setText(dose);
    for (QLabel* unit : concUnits_) unit->setText(QString::fromStdString(r.ConcUnit));
}

void OralForecastForm::Compute(const RegimenModel& m, const CaseRecord& r, const QSet<int>& groups) {
    const double timeLag = r.Drug_ID == "zz" ? r.TimeLag : 0;
    const bool uneven = groups.contains(kUnevenGroup) || (!groups.contains(kRegularGroup) && uneven_);
    if (uneven) ComputeUneven(m, timeLag);
    else ComputeRegular(m);
}

void OralForecastForm::ComputeRegular(const RegimenModel& m) {
    for (QLineEdit* field : doses_) field->clear();
    for (QLineEdit* field : hours_) field->clear();
    for (QLineEdit* field : {levelHour_, unevenPeak_, unevenTrough_, unevenAverage_, level_}) field->clear();
    levelAt_->setText("Level at");
    uneven_ = false;
    const OralLevels levels = ForecastOral(m, FieldValue(dose_), FieldValue(interval_));
    ShowValue(peak_, levels.peak, "%.1lf");
    ShowValue(trough_, levels.trough, "%.1lf");
    ShowValue(average_, levels.average, "%.1lf");
    message_->setText(QString::fromStdString(levels.message));
}

void OralForecastForm::ComputeUneven(const RegimenModel& m, double timeLag) {
    for (QLineEdit* field : {dose_, interval_, peak_, trough_, average_}) field->clear();
    uneven_ = true;
    std::vector<UnevenRow> rows;
    for (int i = 0; i < 4; ++i) {
        PadHour(hours_[i]);
        rows.push_back({FieldValue(doses_[i]), FieldValue(hours_[i])});
    }
    PadHour(levelHour_);
    const std::optional<double> hour = FieldValue(levelHour_);
    const UnevenLevels levels = ForecastUneven(m, rows, hour, timeLag);
    ShowValue(unevenPeak_, levels.peak, "%.1lf");
    ShowValue(unevenTrough_, levels.trough, "%.1lf");
    ShowValue(unevenAverage_, levels.average, "%.1lf");
    ShowValue(level_, levels.level, "%.2f");
    levelAt_->setText(levels.level ? QString("Level at %1:").arg(static_cast<int>(*hour), 2) : QString("Level at"));
    message_->setText(QString::fromStdString(levels.message));
}

int OralForecastForm::UnevenCount() const {
    if (!uneven_) return 0;
    int count = 0;
    for (int i = 0; i < 4; ++i)
        if (FieldValue(doses_[i]) && FieldValue(hours_[i])) count = i + 1;
    return count;
}

FieldTexts OralForecastForm::Texts() const {
    FieldTexts texts = TextsOf(this);
    texts["levelAt"] = levelAt_->text().toStdString();
    return texts;
}

void OralForecastForm::Show(const FieldTexts& texts, int unevenCount) {
    ShowTexts(this, texts);
    const auto label = texts.find("levelAt");
    levelAt_->setText(label == texts.end() ? QString("Level at") : QString::fromStdString(label->second));
    uneven_ = unevenCount > 0;
    Reformat({dose_, interval_, peak_, trough_, average_, unevenPeak_, unevenTrough_, unevenAverage_}, "%.1lf");
    for (QLineEdit* dose : doses_) Reformat({dose}, "%.1lf");
    for (QLineEdit* hour : hours_) Reformat({hour}, "%02.0f");
    Reformat({levelHour_}, "%02.0f");
}

void OralForecastForm::ClearResults() {
    for (QLineEdit* field : {peak_, trough_, average_, unevenPeak_, unevenTrough_, unevenAverage_, level_})
        field->clear();
    levelAt_->setText("Level at");
    message_->clear();
}

void OralForecastForm::Clear() {
    ClearFields(this);
    ClearResults();
    uneven_ = false;
}
