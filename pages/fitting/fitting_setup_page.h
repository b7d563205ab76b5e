#pragma once
// Page 154: the curve-fitting set-up, the fits' starting values and spreads.
#include "app/kit/page_base.h"

class FittingSetUpForm;

class FittingSetUpPage : public KinevoPage {
    Q_OBJECT
public:
    explicit FittingSetUpPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    void Next();
    FittingSetUpForm* form_;
};
