#pragma once
// The fitted-parameter table as the analysis, results and forecast pages
// show it: one row per parameter with the population value, each fitted
// value and its distance to the fit's lower bound.
#include <string>
#include <vector>

#include "records/parameter_set.h"

struct CaseRecord;

struct FitParameterRow {
    std::string label;  // "F", "CF", "Vd", "Cl", "kd", "t1/2", "Km", "Vm"
    std::string unit;   // "%", "L", "L/hr", "1/hr", "hr", "mg/L", "mg/day"
    std::string population;
    std::string leastSquares, leastSquaresRange;  // range empty without a bound
    std::string bayes, bayesRange;
};

// Values "%.3f" (the population CF in percent "%.1f"); F and CF in percent.
// kd and t1/2 are derived and have no range. Phenytoin shows Km and Vm in
// place of Cl, kd and t1/2. A value that is not a number is left empty.
std::vector<FitParameterRow> FitParameterRows(const CaseRecord& r);

// A fitted value with its range as one text: "12.345 +/ - 1.234", or the
// value alone without a range.
std::string WithRange(const std::string& value, const std::string& range);

// What stands in a flagged set's place instead of its numbers: "Not usable:"
// and the flag on a second line; empty for a usable set.
std::string FlagCellText(const FitRange& range);
// Why the way on from a flagged set is closed, led by the set's name
// ("Least squares"); empty for a usable set.
std::string NotUsableNote(const std::string& setName, const FitRange& range);
