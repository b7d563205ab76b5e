#pragma once
// Page 145: the forecast of an intravenous regimen.
#include "pages/forecast/forecast_page.h"

struct IvForecastPage : ForecastPage {
    explicit IvForecastPage(QWidget* parent = nullptr);
};
