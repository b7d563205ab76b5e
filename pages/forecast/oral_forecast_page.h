#pragma once
// Page 150: the forecast of an oral or intramuscular regimen.
#include "pages/forecast/forecast_page.h"

struct OralForecastPage : ForecastPage {
    explicit OralForecastPage(QWidget* parent = nullptr);
};
