#pragma once
// What a forecast or results page hands to the report page when its Report
// button is pressed: the fit type, the route and the regimen as the page
// shows it (texts, re-formatted by the report itself).
#include <string>
#include <vector>

// The report's fit types, as the source page names them.
inline constexpr int kReportPopulation = 0;
inline constexpr int kReportBayesian = 1;
inline constexpr int kReportLeastSquares = 2;

// One dose of an uneven oral schedule: the amount and its clock hour.
struct UnevenReportDose {
    double dose = 0;
    int hour = 0;
};

struct ReportRegimen {
    int fitType = kReportPopulation;
    char routeCode = 'X';  // D, C, O or I
    std::string dose, doseUnit, interval, infusionTime, postTime;
    std::string peak, post, trough, average;
    std::string auc24;    // mg·h/L, where the source page showed one
    std::string product;  // the route-product's form text
    // Empty for a regular regimen.
    std::vector<UnevenReportDose> unevenDoses;
    // Phenytoin: the second product and the forecast's own results.
    std::string dose2, interval2, product2;
    std::string observedAverage, adjustedAverage;
    std::string adjustedRangeLow, adjustedRangeHigh;
    std::string steadyState90Days;  // time to 90 % of steady state
};
