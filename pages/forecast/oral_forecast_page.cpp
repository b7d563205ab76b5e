#include "pages/forecast/oral_forecast_page.h"

#include "app/kit/navigation.h"
#include "pages/forecast/oral_forecast_form.h"

OralForecastPage::OralForecastPage(QWidget* parent)
    : ForecastPage(PageId::OralForecast, "Steady-State Serum Level Forecast - Oral and Intramuscular", false,
                   ReportSource::OralForecast, EndSource::OralForecast, Nav().revisitOralForecast, parent) {
    UseForm(new OralForecastForm(this));
}
