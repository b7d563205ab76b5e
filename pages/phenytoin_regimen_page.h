#pragma once
// Page 143: the phenytoin dosage regimen forecast.
#include "app/kit/page_base.h"

class LeaveChecks;
class PhenytoinParameterGroup;
class PhenytoinSavedGroup;
class QLabel;
class QLineEdit;
class RouteProductList;

// The daily dose for a desired average level, the loading dose from the
// current level, and the range adjusted to the patient's binding.
class PhenytoinRegimenPage : public KinevoPage {  // page 143
    Q_OBJECT
public:
    explicit PhenytoinRegimenPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    void ProductChosen(const QString& product);
    void FieldAccepted(QLineEdit* field);
    void Recompute();
    void RememberShown();
    void ShowUnits();
    RouteProductList* products_;
    QLineEdit *desired_, *current_, *drawn_;
    QLineEdit *rangeLow_, *rangeHigh_, *dose_, *interval_, *loading_, *freeFraction_;
    QLabel *doseUnit_, *loadingUnit_, *warning_;
    PhenytoinParameterGroup* parameters_;
    PhenytoinSavedGroup* saved_;
    LeaveChecks* checks_;
};
