#pragma once
// The vancomycin regimen page's AUC24 target: a desired daily exposure at a
// chosen interval, with a limit for the trough, and the dose that reaches it.
#include <QGroupBox>
#include <optional>

#include "engine/forecast_model.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

class Auc24Group : public QGroupBox {
    Q_OBJECT
public:
    explicit Auc24Group(QWidget* parent);
    void Watch(FieldWatch& watch, int group);
    // Shown for vancomycin by intermittent infusion only.
    void ShowCase(const CaseRecord& r);
    void Compute(const RegimenModel& m, std::optional<double> infusionTime);
    // Empties the design and its message, leaving the targets.
    void ClearResults();

private:
    QLineEdit *target_, *interval_, *troughLimit_, *dose_, *peak_, *trough_;
    QLabel* message_;
    bool offered_ = false;
};
