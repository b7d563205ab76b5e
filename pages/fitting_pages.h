#pragma once
// Pages 154 and 153: the curve-fitting set-up, then the dosing and level
// histories the fits run on.
#include "app/kit/page_base.h"

class FittingSetUpPage : public KinevoPage {  // page 154
    Q_OBJECT
public:
    explicit FittingSetUpPage(QWidget* parent = nullptr);

protected:
    void OnEnter() override { FocusNextField(); }
};

class HistoryPage : public KinevoPage {  // page 153
    Q_OBJECT
public:
    explicit HistoryPage(QWidget* parent = nullptr);
};
