#pragma once
// Page 143: the phenytoin dosage regimen forecast.
#include "pages/phenytoin/phenytoin_page.h"

class RouteProductList;

// The daily dose for a desired average level, the loading dose from the
// current level, and the range adjusted to the patient's binding.
class PhenytoinRegimenPage : public PhenytoinPage {  // page 143
    Q_OBJECT
public:
    explicit PhenytoinRegimenPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void Recalculate(QLineEdit*) override { Recompute(); }
    void ClearResults() override;

private:
    void ProductChosen(const QString& product);
    void Recompute();
    void ShowUnits();
    RouteProductList* products_;
    QLineEdit *desired_, *current_, *drawn_;
    QLineEdit *rangeLow_, *rangeHigh_, *dose_, *interval_, *loading_, *freeFraction_;
    QLabel *doseUnit_, *loadingUnit_, *chance_;
};
