#pragma once
// The regimen and level fields of the IV level forecast page: an
// intermittent infusion (dose, interval, time of post, infusion time, MIC)
// with its levels and MIC indices, or a continuous infusion's rate and
// average level. The route decides which inputs may be typed in.
#include <QWidget>

#include "engine/forecast_model.h"
#include "pages/page_widgets.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

class IvForecastForm : public QWidget {
    Q_OBJECT
public:
    explicit IvForecastForm(QWidget* parent);
    void Watch(FieldWatch& watch, int group);
    // Units of the case's drug and the fields of its route.
    void ShowCase(const CaseRecord& r);
    void Compute(const RegimenModel& m, char routeCode);
    // The texts of all fields and of the time-above-MIC unit, and back.
    FieldTexts Texts() const;
    void Show(const FieldTexts& texts);
    void Clear();
    QString Message() const;

private:
    QLineEdit *dose_, *interval_, *postTime_, *infusionTime_, *mic_, *rate_;
    QLineEdit *peak_, *trough_, *post_, *average_, *postMic_, *timeAboveMic_, *auic_, *averageLevel_;
    QLabel *doseUnit_, *rateUnit_, *timeAboveMicUnit_, *message_;
    std::vector<QLabel*> concUnits_;
};
