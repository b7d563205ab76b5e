#pragma once
// The regimen and level fields of the IV level forecast page: an
// intermittent infusion (dose, interval, time of post, infusion time, MIC)
// with its levels and MIC indices, or a continuous infusion's rate and
// average level. The route decides which inputs may be typed in.
#include "pages/forecast/forecast_form.h"

class QLabel;
class QLineEdit;

class IvForecastForm : public ForecastForm {
    Q_OBJECT
public:
    static constexpr int kRegimenGroup = 1;
    explicit IvForecastForm(QWidget* parent);
    void Watch(FieldWatch& watch) override;
    void ShowCase(const CaseRecord& r) override;
    void Compute(const RegimenModel& m, const CaseRecord& r, const QSet<int>& groups) override;
    // With the time-above-MIC unit. Shown again, the route's fields come
    // back re-formatted and the rest stays empty.
    FieldTexts Texts() const override;
    void Show(const FieldTexts& texts, int unevenCount) override;
    void Clear() override;
    void ClearResults() override;

private:
    QLineEdit *postTime_, *infusionTime_, *mic_, *rate_;
    QLineEdit *peak_, *trough_, *post_, *average_, *postMic_, *timeAboveMic_, *auic_, *auc24_, *averageLevel_;
    QLabel *rateUnit_, *timeAboveMicUnit_, *auc24Unit_, *message_;
    bool auc24Offered_ = false;
    bool intermittent_ = true;
    std::vector<QLabel*> concUnits_;
};
