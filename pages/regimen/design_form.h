#pragma once
// The targets and "Exact Estimate" results of a regimen page: a desired
// post (IV) or peak (oral/IM) and trough, or a desired average, with the
// patient's current level for a loading dose. The IV form adds the time of
// post, the infusion times and the rate of an infusion since the level.
#include <QWidget>
#include <optional>

#include "engine/design_common.h"
#include "engine/forecast_model.h"
#include "engine/regimen_chance.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

class DesignForm : public QWidget {
    Q_OBJECT
public:
    DesignForm(bool intravenous, QWidget* parent);
    void Watch(FieldWatch& watch, int group);
    // The case's units, and which targets its drug and route read.
    void ShowCase(const CaseRecord& r);
    RegimenDesign Compute(const RegimenModel& m, char routeCode);
    // As typed and read by the design: missing where the route reads none.
    std::optional<double> InfusionTime() const;
    // The desired post (IV) or peak (oral/IM) and the time of post, as typed.
    std::optional<double> DesiredPeak() const;
    std::optional<double> PostTime() const;
    // How likely the estimate is to reach the case's goals; empty lines hide.
    void ShowChance(const ChanceLines& lines);
    void Clear();
    // Empties the estimate and the message, leaving the targets.
    void ClearResults();

private:
    bool intravenous_;
    QLineEdit *peak_ = nullptr, *postTime_ = nullptr, *trough_, *infusionTime_ = nullptr, *average_;
    QLineEdit *initialConc_, *timeDrawn_, *loadingInfusionTime_ = nullptr, *rateSinceLevel_ = nullptr;
    QLineEdit *dose_, *interval_, *daily_, *loadingDose_, *note_;
    QLabel *doseUnit_, *dailyUnit_, *loadingUnit_, *rateUnit_ = nullptr, *message_;
    QLabel *chance_, *practical_;
    std::vector<QLabel*> concUnits_;
};
