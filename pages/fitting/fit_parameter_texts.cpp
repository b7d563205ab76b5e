#include "pages/fitting/fit_parameter_texts.h"

#include <optional>

#include "engine/forecast_parameters.h"
#include "records/case_record.h"
#include "records/text_format.h"

namespace {
std::string RangeText(const FitRange& range, int slot, double value, double scale) {
    const std::optional<double>& lower = range.lower[slot];
    return lower ? FiniteNumber("%.3f", (value - *lower) * scale) : std::string();
}

// One fitted parameter (slot as the fit numbers them: F, Vd, Cl or Km, CF, Vm).
FitParameterRow Fitted(const CaseRecord& r, const char* label, const char* unit, int slot, double scale,
                       const char* populationFormat, double ParameterSet::*member) {
    FitParameterRow row{label, unit, FiniteNumber(populationFormat, r.population.*member * scale), {}, {}, {}, {}};
    row.leastSquares = FiniteNumber("%.3f", r.leastSquares.*member * scale);
    row.leastSquaresRange = RangeText(r.leastSquaresRange, slot, r.leastSquares.*member, scale);
    row.bayes = FiniteNumber("%.3f", r.bayes.*member * scale);
    row.bayesRange = RangeText(r.bayesRange, slot, r.bayes.*member, scale);
    return row;
}

// kd or t1/2 of each set, worked out from its Vd and Cl.
using Derivation = std::optional<double> (*)(double vd, double cl);

std::string DerivedText(const ParameterSet& s, Derivation of) {
    const auto value = of(s.Vd, s.Cl);
    return value ? FormatNumber("%.3f", *value) : std::string();
}

FitParameterRow Derived(const CaseRecord& r, const char* label, const char* unit, Derivation of) {
    return {label, unit, DerivedText(r.population, of), DerivedText(r.leastSquares, of), {}, DerivedText(r.bayes, of),
            {}};
}
}  // namespace

std::vector<FitParameterRow> FitParameterRows(const CaseRecord& r) {
    std::vector<FitParameterRow> rows = {
        Fitted(r, "F", "%", 0, 100, "%.3f", &ParameterSet::F),
        Fitted(r, "CF", "%", 3, 100, "%.1f", &ParameterSet::CF),
        Fitted(r, "Vd", "L", 1, 1, "%.3f", &ParameterSet::Vd),
    };
    if (r.Drug_ID == "ph") {
        rows.push_back(Fitted(r, "Km", "mg/L", 2, 1, "%.3f", &ParameterSet::Km));
        rows.push_back(Fitted(r, "Vm", "mg/day", 4, 1, "%.3f", &ParameterSet::Vm));
        return rows;
    }
    rows.push_back(Fitted(r, "Cl", "L/hr", 2, 1, "%.3f", &ParameterSet::Cl));
    rows.push_back(Derived(r, "kd", "1/hr", Kd));
    rows.push_back(Derived(r, "t1/2", "hr", HalfLife));
    return rows;
}

std::string WithRange(const std::string& value, const std::string& range) {
    return range.empty() ? value : value + " +/ - " + range;
}

std::string FlagCellText(const FitRange& range) {
    return range.Usable() ? std::string() : "Not usable:\n" + range.flag;
}

std::string NotUsableNote(const std::string& setName, const FitRange& range) {
    if (range.Usable()) return {};
    return setName + " set not usable (" + range.flag +
           "): its values are not shown and it leads to no regimen, "
           "results or report.";
}
