#pragma once
// Page 149: the phenytoin steady-state serum level forecast.
#include "pages/phenytoin/phenytoin_page.h"

class QGridLayout;
class RouteProductList;

// The average steady-state level of up to two concurrent regimens, the same
// level at normal binding and the time to 90 % of steady state.
class PhenytoinForecastPage : public PhenytoinPage {  // page 149
    Q_OBJECT
public:
    explicit PhenytoinForecastPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void Recalculate(QLineEdit* changed) override { Recompute(true, changed); }
    void ClearResults() override;
    // The regimen too, for the report and the save.
    void RememberShown() override;

private:
    struct RegimenLine {
        RouteProductList* product;
        QLineEdit *dose, *interval;
        QLabel* unit;
    };
    RegimenLine AddLine(QGridLayout* grid, int row, const char* suffix);
    void ProductChosen(const QString& product, bool first);
    // `edited`: after a change by the user, who is told when the rate reaches Vmax.
    void Recompute(bool edited, QLineEdit* changed);
    void ShowProductValues();
    // What the report prints: the regimen that counts, the second one
    // beside it, and this page's results.
    void HandOverToReport();
    RegimenLine first_, second_;
    QLineEdit *salt2_, *rangeLow_, *rangeHigh_, *observed_, *adjusted_, *t90_, *freeFraction_;
};
