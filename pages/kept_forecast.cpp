#include "pages/kept_forecast.h"

KeptForecast& TheKeptForecast() {
    static KeptForecast kept;
    return kept;
}
