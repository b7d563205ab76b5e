#include "engine/fit_checks.h"

#include <vector>

#include "records/text_format.h"

namespace {
// Above 100 % as the value reads ("%.1f"): a search that stops within 0.1 %
// leaves an unmeasured F or CF of 100 % a hair above it.
constexpr double kAboveFull = 1.0005;

constexpr char kWhatItSuggests[] =
    "More drug reached the blood than the dosing history gives: check for doses missing from the history, "
    "wrong dose or level times, or doses taken beyond those prescribed.";
}  // namespace

AboveFull AboveFullCheck(const std::string& fitName, const ParameterSet& s, bool fHeld, bool cfHeld) {
    struct Value {
        const char* name;
        double fraction;
    };
    std::vector<Value> above;
    if (!fHeld && s.F >= kAboveFull) above.push_back({"F", s.F});
    if (!cfHeld && s.CF >= kAboveFull) above.push_back({"CF", s.CF});
    AboveFull out;
    if (above.empty()) return out;
    std::string values, names;
    bool beyond = false;
    for (const Value& v : above) {
        values += (values.empty() ? "" : " and ") + std::string(v.name) + " is " +
                  FormatNumber("%.1f", 100 * v.fraction) + " %";
        names += (names.empty() ? "" : ", ") + std::string(v.name);
        beyond = beyond || v.fraction > kAboveFullLimit;
    }
    if (beyond) {
        out.flag = names + " above 100 %";
        out.message = fitName + " not usable: fitted " + values + ", far above 100 %. " + kWhatItSuggests;
    } else {
        out.caution = fitName + ": fitted " + values + ", above 100 %. " + kWhatItSuggests;
        out.message = out.caution;
    }
    return out;
}
