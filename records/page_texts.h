#pragma once
// The forecast and regimen pages as they were left within the case, so a
// revisit shows them again and a new case starts them empty: every field
// text by field name.
#include <map>
#include <string>

using PageTexts = std::map<std::string, std::string>;

// A field's text, empty for a field the page does not have.
inline std::string TextOf(const PageTexts& texts, const std::string& name) {
    const auto it = texts.find(name);
    return it == texts.end() ? std::string() : it->second;
}

// The level forecast page that led on, beside the case's regimen texts,
// with F x 100 as "%.3f" and the number of uneven doses (0 for a regular
// regimen); the report reads it.
struct KeptForecast {
    PageTexts shown;
    std::string F_percent;
    int unevenCount = 0;
};

struct KeptPages {
    KeptForecast forecast;
    PageTexts ivRegimen;
    PageTexts oralRegimen;
    PageTexts results;  // the detailed results page's regimen and levels
};
