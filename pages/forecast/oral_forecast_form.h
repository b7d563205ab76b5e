#pragma once
// The regimen and level fields of the oral/IM level forecast page: a regular
// regimen (dose, interval) or an uneven daily schedule of up to four doses
// at clock hours with the level at an hour of the day. The two exclude each
// other: computing one empties the other.
#include "pages/forecast/forecast_form.h"

class QLabel;
class QLineEdit;

class OralForecastForm : public ForecastForm {
    Q_OBJECT
public:
    static constexpr int kRegularGroup = 1, kUnevenGroup = 2;
    explicit OralForecastForm(QWidget* parent);
    void Watch(FieldWatch& watch) override;
    void ShowCase(const CaseRecord& r) override;
    // Computes the regular regimen or the uneven schedule, whichever was
    // typed in; with neither, the one in use.
    void Compute(const RegimenModel& m, const CaseRecord& r, const QSet<int>& groups) override;
    int UnevenCount() const override;
    // With the level-at-hour label.
    FieldTexts Texts() const override;
    void Show(const FieldTexts& texts, int unevenCount) override;
    void Clear() override;
    void ClearResults() override;

private:
    void ComputeRegular(const RegimenModel& m);
    void ComputeUneven(const RegimenModel& m, double timeLag);

    QLineEdit *peak_, *trough_, *average_;
    QLineEdit *doses_[4], *hours_[4], *levelHour_;
    QLineEdit *unevenPeak_, *unevenTrough_, *unevenAverage_, *level_;
    QLabel *levelAt_, *message_;
    std::vector<QLabel*> doseUnits_, concUnits_;
    bool uneven_ = false;
};
