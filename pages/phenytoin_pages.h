#pragma once
// Pages 143 and 149: the phenytoin regimen and level forecasts.
#include "app/kit/page_base.h"

class PhenytoinRegimenPage : public KinevoPage {  // page 143
    Q_OBJECT
public:
    explicit PhenytoinRegimenPage(QWidget* parent = nullptr);

protected:
    void OnEnter() override { FocusNextField(); }
};

class PhenytoinForecastPage : public KinevoPage {  // page 149
    Q_OBJECT
public:
    explicit PhenytoinForecastPage(QWidget* parent = nullptr);

protected:
    void OnEnter() override { FocusNextField(); }
};
