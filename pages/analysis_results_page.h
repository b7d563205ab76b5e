#pragma once
// Page 156: the fitted parameters with their ranges and the steady-state
// levels of a typed regimen for each set.
#include "app/kit/page_base.h"

class AnalysisResultsPage : public KinevoPage {  // page 156
    Q_OBJECT
public:
    explicit AnalysisResultsPage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }
};
