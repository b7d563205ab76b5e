#pragma once
// Page 149: the phenytoin steady-state serum level forecast.
#include "app/kit/page_base.h"

class LeaveChecks;
class PhenytoinParameterGroup;
class PhenytoinSavedGroup;
class QLabel;
class QLineEdit;
class RouteProductList;
class QGridLayout;

// The average steady-state level of up to two concurrent regimens, the same
// level at normal binding and the time to 90 % of steady state.
class PhenytoinForecastPage : public KinevoPage {  // page 149
    Q_OBJECT
public:
    explicit PhenytoinForecastPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    struct RegimenLine {
        RouteProductList* product;
        QLineEdit *dose, *interval;
        QLabel* unit;
    };
    RegimenLine AddLine(QGridLayout* grid, int row, const char* suffix);
    void ProductChosen(const QString& product, bool first);
    void FieldAccepted(QLineEdit* field);
    // `edited`: after a change by the user, who is told when the rate reaches Vmax.
    void Recompute(bool edited, QLineEdit* changed);
    // The regimen and parameters as shown, for the report and the save.
    void RememberShown();
    void ShowProductValues();
    RegimenLine first_, second_;
    QLineEdit *salt2_, *rangeLow_, *rangeHigh_, *observed_, *adjusted_, *t90_, *freeFraction_;
    QLabel* warning_;
    PhenytoinParameterGroup* parameters_;
    PhenytoinSavedGroup* saved_;
    LeaveChecks* checks_;
};
