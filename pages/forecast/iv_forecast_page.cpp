#include "pages/forecast/iv_forecast_page.h"

#include "app/kit/navigation.h"
#include "pages/forecast/iv_forecast_form.h"

IvForecastPage::IvForecastPage(QWidget* parent)
    : ForecastPage(PageId::IvForecast, "Steady-State Serum Level Forecast - Intravenous", true,
                   ReportSource::IvForecast, EndSource::IvForecast, Nav().revisitIvForecast, parent) {
    UseForm(new IvForecastForm(this));
}
