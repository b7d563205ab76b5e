#pragma once
// Page 139: the user's own one-compartment drug.
#include "app/kit/page_base.h"

class UserChoicePage : public KinevoPage {
    Q_OBJECT
public:
    explicit UserChoicePage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    void Previous();
    void RegimenForecast();
    void LevelForecast();
    void LevelAnalysis();
};
