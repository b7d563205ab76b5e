#pragma once
// What the pharmacist is told about a fitted set: why it must not be used,
// or what to check before using it.
#include <string>

#include "records/parameter_set.h"

// The flags of FitRange::flag besides those of AboveFullCheck.
inline constexpr char kFlagNotConverged[] = "did not converge";
inline constexpr char kFlagNotPlausible[] = "not plausible";

// A fitted F or CF above 100 % means more drug reached the blood than the
// history gives. Up to this fraction the set stays usable with a caution
// (a level or a time a little off does that); beyond it the set is flagged.
inline constexpr double kAboveFullLimit = 1.25;

struct AboveFull {
    std::string flag;     // for FitRange::flag: "F above 100 %", ...
    std::string message;  // the sentence for the fit messages; empty when all is well
    std::string caution;  // for FitRange::caution
};

// The estimated F and CF of a fitted set (a held one is its initial value,
// not the fit's word). `fitName` leads the sentences: "Least-squares fit".
AboveFull AboveFullCheck(const std::string& fitName, const ParameterSet& s, bool fHeld, bool cfHeld);
