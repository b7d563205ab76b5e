#pragma once
// Everything the printed report says, as texts, gathered from the case and
// the regimen handed over; the drawing only places them on the page.
#include <string>

#include "records/navigation_codes.h"
#include "records/parameter_set.h"
#include "records/report_regimen.h"

struct CaseRecord;

enum class ReportKind { Population, Bayesian, LeastSquares };

// The report's kind: the detailed results page names its fitted set, the
// forecast pages the fit type they handed over.
ReportKind ReportKindOf(ReportSource reportSource, int fitType);
// "Dosage Recommendation - ... Parameters".
std::string RecommendationHeading(ReportKind kind);

// One set's values as the report prints them; a value that cannot be
// computed stays empty.
struct ReportParameterTexts {
    std::string vd, cl, cf, kd, halfLife, f, timeToSteadyState, km, vm;
};
ReportParameterTexts PrintedParameters(const ParameterSet& set);

// The height and weight in both unit systems, each led by a blank.
std::string PrintedHeight(const CaseRecord& r);
std::string PrintedWeight(const CaseRecord& r);

struct ReportChoices {
    bool graphics = true;
    bool populationParameters = true;
    bool peak = true;
};

struct ReportContent {
    ReportKind kind = ReportKind::Population;
    ReportChoices choices;
    bool phenytoin = false;
    std::string institution, drug, name, patientNumber, dateAndTime;
    std::string age, sex, height, weight, albumin;
    // From the top of the right block: one or two lines, or the entered
    // clearance alone one line lower.
    std::string renal, estimatedClearance, enteredClearance;
    ReportParameterTexts population, current;
    // Phenytoin: the forecast's own results.
    std::string adjustedRange, steadyState90Days, freeFraction;
    std::string concentrationUnit, regimenSentence, predictedLevels;
    std::string exposure;  // "AUC24: ..." where the source page showed one
    std::string caution;   // what the fitted set asks to check (F or CF above 100 %)
    std::string note;
};

// The case as the working pages' header shows it, and the institution.
struct ReportHeading {
    std::string institution, drug, name, id, date, ageValue, ageUnit, sex;
};

// `regimen` as re-formatted for the report; `now` is the moment printed.
ReportContent ReportContentOf(const CaseRecord& r, const ReportHeading& heading, const ReportRegimen& regimen,
                              ReportKind kind, const ReportChoices& choices, const std::string& note, double now);
