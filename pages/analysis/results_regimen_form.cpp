#include "pages/analysis/results_regimen_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/forecast_model.h"
#include "engine/forecast_parameters.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_forecast.h"
#include "pages/widgets/chance_line.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {
const char* const kColumnNames[] = {"Population", "LeastSquares", "LeastSquaresRange", "Bayes", "BayesRange"};
constexpr int kLeastSquaresColumns[] = {1, 2};

void ShowRange(QLineEdit* field, const std::optional<PredictionRange>& range) {
    field->setText(range ? QString::fromStdString(FormatNumbers("%.2lf - %.2lf", range->low, range->high)) : QString());
}
}  // namespace

ResultsRegimenForm::ResultsRegimenForm(QWidget* parent) : QGroupBox("Steady-State Level Predictions", parent) {
    auto* inputs = new QGridLayout;
    int row = 0;
    const auto input = [&](int column, const QString& label, const char* name, const QString& unit,
                           QLabel** unitLabel = nullptr) {
        QLineEdit* field = InputField(this, name);
        auto* text = new QLabel(label, this);
        auto* shownUnit = new QLabel(unit, this);
        inputs->addWidget(text, row, column);
        inputs->addWidget(field, row, column + 1);
        inputs->addWidget(shownUnit, row++, column + 2);
        if (unitLabel) *unitLabel = shownUnit;
        inputRows_[field] = {text, field, shownUnit};
        return field;
    };
    dose_ = input(0, "Dose:", "dose", "", &doseUnit_);
    interval_ = input(0, "Interval:", "interval", "hr");
    dose2_ = input(0, "Dose 2:", "dose2", "", &dose2Unit_);
    interval2_ = input(0, "Interval 2:", "interval2", "hr");
    rate_ = input(0, "Rate:", "rate", "", &rateUnit_);
    row = 0;
    infusionTime_ = input(3, "Infusion Time:", "infusionTime", "hr");
    postTime_ = input(3, "Time of Post:", "postTime", "hr after infusion");
    salt_ = OutputField(this, "salt");
    f_ = OutputField(this, "f");
    inputs->addWidget(new QLabel("Salt:", this), 0, 6);
    inputs->addWidget(salt_, 0, 7);
    inputs->addWidget(new QLabel("F:", this), 1, 6);
    inputs->addWidget(f_, 1, 7);
    inputs->setColumnStretch(8, 1);

    auto* levels = new QGridLayout;
    const QString headers[] = {"Population", "Least Squares", "95 % Range", "Bayes", "95 % Range"};
    for (int c = 0; c < 5; ++c) {
        headers_[c] = new QLabel(headers[c], this);
        levels->addWidget(headers_[c], 0, c + 1);
    }
    AddLevelRow(levels, "peak", "Peak:");
    AddLevelRow(levels, "trough", "Trough:");
    AddLevelRow(levels, "post", "2nd Post:");
    AddLevelRow(levels, "average", "Average:");
    AddLevelRow(levels, "auc24", "AUC24:");
    AddLevelRow(levels, "adjusted", "Adjusted  Average Level:");
    boundLabel_ = new QLabel("(Adjusted to Normal Binding)", this);
    levels->addWidget(boundLabel_, levels->rowCount(), 0);
    AddLevelRow(levels, "t90", "90% Steady-State Time:");
    const int last = levels->rowCount();
    freeFractionLabel_ = new QLabel("Free Fraction:", this);
    freeFraction_ = OutputField(this, "freeFraction");
    levels->addWidget(freeFractionLabel_, last, 0);
    levels->addWidget(freeFraction_, last, 1);
    freeFractionUnit_ = new QLabel("%", this);
    levels->addWidget(freeFractionUnit_, last, 2);
    rangeLabel_ = new QLabel("Normal Therapeutic Range: 10 - 20 mg/L", this);
    levels->addWidget(rangeLabel_, last, 3, 1, 3);
    levels->setColumnStretch(7, 1);

    message_ = new QLabel(this);
    message_->setObjectName("message");
    message_->setWordWrap(true);
    chance_ = ChanceLabel(this, "chance");
    auto* column = new QVBoxLayout(this);
    column->addLayout(inputs);
    column->addLayout(levels);
    column->addWidget(chance_);
    column->addWidget(message_);
}

void ResultsRegimenForm::AddLevelRow(QGridLayout* grid, const char* name, const QString& label) {
    const int row = grid->rowCount();
    LevelRow level{new QLabel(label, this), {}, new QLabel(this)};
    grid->addWidget(level.label, row, 0);
    for (int c = 0; c < 5; ++c) {
        level.fields[c] = OutputField(this, (std::string(name) + kColumnNames[c]).c_str());
        // A range of four-digit values (an AUC24) must show whole.
        if (c == 2 || c == 4)
            level.fields[c]->setMinimumWidth(level.fields[c]->fontMetrics().horizontalAdvance("0000.00 - 0000.00  "));
        grid->addWidget(level.fields[c], row, c + 1);
    }
    grid->addWidget(level.unit, row, 6);
    levels_[name] = level;
}

void ResultsRegimenForm::Watch(FieldWatch& watch) {
    for (QLineEdit* dose : {dose_, dose2_}) watch.Watch(dose, kRegimenGroup, ForecastRule(ForecastField::Dose));
    for (QLineEdit* interval : {interval_, interval2_})
        watch.Watch(interval, kRegimenGroup, ForecastRule(ForecastField::Interval));
    watch.Watch(infusionTime_, kRegimenGroup, ForecastRule(ForecastField::InfusionTime));
    watch.Watch(postTime_, kRegimenGroup, [this](double v) { return PostTimeProblem(v, FieldValue(interval_)); });
    watch.Watch(rate_, kRegimenGroup, ResultsRateProblem);
}

void ResultsRegimenForm::ShowCase(const CaseRecord& r) {
    const ResultsLayout layout = LayoutOf(r);
    const bool phenytoin = layout == ResultsLayout::Phenytoin;
    const std::map<QLineEdit*, bool> shown = {
        {dose_, layout != ResultsLayout::Continuous && layout != ResultsLayout::None},
        {interval_, layout != ResultsLayout::Continuous && layout != ResultsLayout::None},
        {dose2_, phenytoin && !r.FitRouteProduct2.empty()},
        {interval2_, phenytoin && !r.FitRouteProduct2.empty()},
        {rate_, layout == ResultsLayout::Continuous},
        {infusionTime_, layout == ResultsLayout::Intermittent},
        {postTime_, layout == ResultsLayout::Intermittent}};
    for (const auto& [field, visible] : shown)
        for (QWidget* w : inputRows_.at(field)) w->setVisible(visible);
    const QString doseUnit = QString::fromStdString(phenytoin ? DoseUnitsFor(r.FormName).dose : r.DoseUnit);
    doseUnit_->setText(doseUnit);
    dose2Unit_->setText(QString::fromStdString(DoseUnitsFor(FormNameOf(r.FitRouteProduct2)).dose));
    rateUnit_->setText(doseUnit + "/hr");
    salt_->setText(QString::fromStdString(SaltText(ProductSalt(r))));
    f_->setText(QString::fromStdString(PercentText(ResultsF(r, r.population))));

    const std::vector<std::string> names = PredictionNames(layout, r.Drug_ID);
    const bool lsShown = !SingleFit(r);
    for (const int c : kLeastSquaresColumns) headers_[c]->setVisible(lsShown);
    // A flagged set's columns stay empty and say why.
    headers_[1]->setText(r.leastSquaresRange.Usable() ? "Least Squares" : "Least Squares: not usable");
    headers_[3]->setText(r.bayesRange.Usable() ? "Bayes" : "Bayes: not usable");
    for (auto& [name, level] : levels_) {
        const bool visible = std::find(names.begin(), names.end(), name) != names.end();
        level.label->setVisible(visible);
        level.unit->setVisible(visible);
        level.unit->setText(name == "t90"     ? QString("days")
                            : name == "auc24" ? QString::fromStdString(AreaUnit(r.ConcUnit))
                                              : QString::fromStdString(r.ConcUnit));
        for (int c = 0; c < 5; ++c) level.fields[c]->setVisible(visible && (lsShown || (c != 1 && c != 2)));
    }
    levels_.at("average").label->setText(phenytoin ? "Average Level:" : "Average:");
    for (QWidget* w : std::initializer_list<QWidget*>{boundLabel_, freeFractionLabel_, freeFraction_, freeFractionUnit_,
                                                      rangeLabel_})
        w->setVisible(phenytoin);
    if (phenytoin) ShowValue(freeFraction_, 100 * CurrentFreeFraction(r), "%.2lf");
}

ResultsRegimen ResultsRegimenForm::Regimen() const {
    const auto value = [](const QLineEdit* field) {
        // A field of another route counts as not given.
        return field->isHidden() ? std::nullopt : FieldValue(field);
    };
    return {value(dose_), value(interval_), value(infusionTime_), value(postTime_),
            value(rate_), value(dose2_),    value(interval2_)};
}

void ResultsRegimenForm::ShowPredictions(const ResultsPredictions& predictions) {
    ClearPredictions();
    for (const PredictionRow& row : predictions.rows) {
        const LevelRow& level = levels_.at(row.name);
        ShowValue(level.fields[0], row.value[0], "%.2lf");
        ShowValue(level.fields[1], row.value[1], "%.2lf");
        ShowRange(level.fields[2], row.range[0]);
        ShowValue(level.fields[3], row.value[2], "%.2lf");
        ShowRange(level.fields[4], row.range[1]);
    }
    message_->setText(QString::fromStdString(predictions.message));
}

void ResultsRegimenForm::ShowChance(const std::string& text) { ShowChanceLine(chance_, text); }

std::vector<QLineEdit*> ResultsRegimenForm::RegimenFields() const {
    return {dose_, interval_, dose2_, interval2_, rate_, infusionTime_, postTime_};
}

void ResultsRegimenForm::ClearPredictions() {
    for (auto& [name, level] : levels_)
        for (QLineEdit* field : level.fields) field->clear();
    message_->clear();
    ShowChance({});
}

void ResultsRegimenForm::Clear() {
    for (QLineEdit* field : RegimenFields()) field->clear();
    ClearPredictions();
}

std::map<std::string, std::string> ResultsRegimenForm::LevelTexts(int set) const {
    const int column = set == 0 ? 0 : set == 1 ? 1 : 3;
    std::map<std::string, std::string> texts;
    for (const auto& [name, level] : levels_) texts[name] = level.fields[column]->text().toStdString();
    return texts;
}
