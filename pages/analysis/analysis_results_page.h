#pragma once
// Page 156: the fitted parameters with their ranges and the steady-state
// levels of a typed regimen for each set, with the spread of the fitted
// ones. Levels are recomputed on Tab, a click on the page and Enter.
#include "app/kit/page_base.h"

class FieldWatch;
class QLabel;
class QPushButton;
struct CaseRecord;
class ResultsParameterTable;
class ResultsRegimenForm;

class AnalysisResultsPage : public KinevoPage {  // page 156
    Q_OBJECT
public:
    explicit AnalysisResultsPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The recalculation a click or Enter asks for, after the dose and
    // interval are checked once more; false when one is refused.
    bool Recalculate();
    void Predict();
    // What the report, the end page's save and a revisit take from the page;
    // false, with the field's message, while a field holds a refused value.
    bool Keep();
    // The regimen and the levels of set 1 (least squares) or 2 (Bayes).
    bool HandToReport(int set);
    // Flagged sets lead to no report (the button says why); the page says
    // which set is not usable and what a usable one asks to check.
    void ShowFlags(const CaseRecord& r);

    ResultsParameterTable* table_;
    ResultsRegimenForm* form_;
    FieldWatch* watch_;
    QLabel* notes_;
    QPushButton *lsReport_, *bayesReport_;
};
