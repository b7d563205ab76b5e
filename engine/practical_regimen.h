#pragma once
// The regimen of usual vial doses and intervals with the highest chance of
// reaching its targets over the posterior draws.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/target_attainment.h"

// Doses from one step up to the largest, in steps of the vials usually
// drawn up: vancomycin 250 mg up to 3000 mg (the largest single dose given); gentamicin, tobramycin and
// netilmicin 10 mg up to 800 mg (conventional and once-daily doses);
// amikacin 50 mg up to 3000 mg.
struct UsualDoses {
    double step = 0, largest = 0;
};
// Missing for a drug that is not vancomycin or an aminoglycoside.
std::optional<UsualDoses> UsualDosesOf(const std::string& drug);

inline constexpr std::array<double, 6> kUsualIntervals{6, 8, 12, 24, 36, 48};

// The usual intervals up to the first one at or above the exact design's:
// the practical regimen keeps to the swing of levels the exact design was
// made for. Without the limit an AUC24 goal is reached as well by 2750 mg
// every 36 h as by the same daily amount every 12 h, and the finer daily
// steps of long intervals win. All of them for an interval above 48 h.
std::vector<double> UsualIntervalsUpTo(double exactInterval);

struct PracticalRegimen {
    double dose = 0, interval = 0;
    double share = 0;  // of the draws reaching every target
};

// Each usual dose every one of `intervals` infused over `infusionTime` hours,
// with levels of the post `postTime` hours after the infusion. Of equal
// shares the smaller daily dose, then the smaller dose, wins. Missing when no
// target is asked, no candidate reaches any, or there are no draws.
std::optional<PracticalRegimen> BestPracticalRegimen(const RegimenModel& m, const Posterior& posterior,
                                                     double infusionTime, double postTime,
                                                     const IntermittentTargets& targets, const UsualDoses& doses,
                                                     const std::vector<double>& intervals);

// "1250 mg q12h: 78 % chance trough 10-20 and peak >= 30, the best of the
// usual doses", with a poor effective sample size said.
std::string PracticalRegimenText(const PracticalRegimen& best, const std::string& doseUnit,
                                 const IntermittentTargets& targets, bool poor);
