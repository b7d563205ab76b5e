#pragma once
// Turns the entered history rows into dose events and level points in hours
// after TimeZero, the earliest moment of the history.
#include <optional>
#include <string>
#include <vector>

#include "records/history.h"

struct CaseRecord;

// The drug constants the expansion reads from the case.
struct ExpansionConstants {
    std::string drugCode;  // two letters, any case
    double poSalt = 1, poKa = 0;
    double parenteralSalt = 1, imKa = 0;
    double timeLag = 0;           // h, user's choice drug, routes other than IV and IM
    double phenytoinAbsRate = 0;  // mg/h
};
ExpansionConstants ExpansionConstantsOf(const CaseRecord& r);

// The fit set-up page's one or two route-products decide the salt, ka and F
// of the history's doses. The first is applied to the case as the page does;
// the second sets what the first leaves to other routes: the salt and ka of
// its route, and, being the one by mouth, F (which acts on oral doses only).
// A route neither covers keeps the case's values, and without those the
// drug's first product of that route (ExpansionConstantsOf).
void ApplyFitRouteProducts(CaseRecord& r, const std::vector<std::string>& products);

// The earlier of the earliest dose row and the earliest measured level, in
// absolute hours; 0 without either. A prediction-only row never moves it, so
// asking for a prediction cannot change the fit: one before it gets a
// negative time.
double TimeZeroOf(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels);

// Fills the converted part of `h` (TimeZero, events, level points, counts) from
// the dose rows and the counted level rows. Rows must have passed the checks.
void ExpandRows(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels, const ExpansionConstants& c,
                History& h);

// Converts the record's rows in place.
void ExpandDoseHistory(CaseRecord& r);

// The history page's Next: checks the rows, converts them and refuses a level
// drawn during an infusion. On a refusal the record keeps its earlier
// conversion and the message is returned; on success the converted history
// is stored and marked present.
std::optional<std::string> AcceptHistory(CaseRecord& r);
