#pragma once
// The report's texts made from the regimen a page hands over: its numbers
// re-formatted, the sentence that states the regimen and the line of
// predicted levels. No Qt here, so the wording is tested without painting.
#include <string>

#include "records/report_regimen.h"

// "%.1f" when the number has a fractional part above 0.005, else "%.0f";
// empty stays empty.
std::string RegimenNumber(const std::string& text);
// "%.1f"; empty stays empty.
std::string LevelNumber(const std::string& text);
// The handed-over texts as the report shows them; a two-compartment model
// has no average.
ReportRegimen ReformattedRegimen(const ReportRegimen& handed, bool twoCompartment);

// The regimen names a post sample: a post time other than 0.
bool HasPostTime(const ReportRegimen& r);

// What follows "DOSE: " on the report.
std::string RegimenSentence(const ReportRegimen& r, bool phenytoin);

struct LevelLineChoice {
    bool phenytoin = false;
    bool printPeak = true;
    bool populationReport = true;  // phenytoin: "Observed Average" on the population report
};
// What follows "PREDICTED LEVELS (unit): ".
std::string PredictedLevelsLine(const ReportRegimen& r, const LevelLineChoice& choice);
