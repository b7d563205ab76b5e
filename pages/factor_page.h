#pragma once
// Page 140: the patient factors; its forward buttons fill the drug model.
#include "app/kit/page_base.h"

class FactorPage : public KinevoPage {
    Q_OBJECT
public:
    explicit FactorPage(QWidget* parent = nullptr);

protected:
    void OnEnter() override { FocusNextField(); }

private:
    void Previous();
    // Fills the drug model and leaves with the code for the drug.
    void Forward(int renalCode, int phenytoinCode, int otherCode);
};
