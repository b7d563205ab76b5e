#pragma once
// The regimen and level fields of the oral/IM level forecast page: a regular
// regimen (dose, interval) or an uneven daily schedule of up to four doses
// at clock hours with the level at an hour of the day. The two exclude each
// other: computing one empties the other.
#include <QSet>
#include <QWidget>

#include "engine/forecast_model.h"
#include "pages/page_widgets.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

class OralForecastForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRegularGroup = 1, kUnevenGroup = 2;
    explicit OralForecastForm(QWidget* parent);
    void Watch(FieldWatch& watch);
    void ShowCase(const CaseRecord& r);
    // Computes the regular regimen or the uneven schedule, whichever was
    // typed in; with neither, the one in use.
    void Compute(const RegimenModel& m, const QSet<int>& groups, double timeLag);
    bool Uneven() const { return uneven_; }
    // The uneven rows taking part (0 for a regular regimen).
    int UnevenCount() const;
    FieldTexts Texts() const;
    void Show(const FieldTexts& texts, bool uneven);
    void Clear();

private:
    void ComputeRegular(const RegimenModel& m);
    void ComputeUneven(const RegimenModel& m, double timeLag);

    QLineEdit *dose_, *interval_, *peak_, *trough_, *average_;
    QLineEdit *doses_[4], *hours_[4], *levelHour_;
    QLineEdit *unevenPeak_, *unevenTrough_, *unevenAverage_, *level_;
    QLabel *doseUnit_, *levelAt_, *message_;
    std::vector<QLabel*> doseUnits_, concUnits_;
    bool uneven_ = false;
};
