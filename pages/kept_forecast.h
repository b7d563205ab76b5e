#pragma once
// The level forecast page that led on, as it was left, beside the case
// record's regimen texts: every field text by field name, F x 100 as
// "%.3f" and the number of uneven doses (0 for a regular regimen). The
// page shows it again on a revisit; the report reads it.
#include "pages/page_widgets.h"

struct KeptForecast {
    FieldTexts shown;
    std::string F_percent;
    int unevenCount = 0;
};

KeptForecast& TheKeptForecast();
