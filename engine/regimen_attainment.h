#pragma once
// The targets the pages judge a regimen by, and the words that give the
// chance of reaching them at a glance ("82 % chance AUC24 400-600").
#include <optional>
#include <string>

#include "engine/target_attainment.h"

// Said after a share that rests on few distinct draws.
inline constexpr char kRoughWords[] = " - rough: effective sample size low";

// Vancomycin's daily exposure target (mg.h/L) and the trough (mg/L) it is
// reached under.
inline constexpr double kAuc24Low = 400, kAuc24High = 600, kExposureTroughLimit = 20;

struct RegimenGoals {
    // The trough in the therapeutic range (for the aminoglycosides at most
    // its low end) and, with a desired peak, the peak (the post on the IV
    // pages) at least that.
    IntermittentTargets levels;
    // Vancomycin only: AUC24 in 400-600 with the trough under the limit.
    std::optional<IntermittentTargets> exposure;
};

// The shares of an intermittent or oral regimen for each set of goals.
struct GoalShares {
    Attainment levels;
    std::optional<Attainment> exposure;
};
GoalShares IntermittentShares(const RegimenModel& m, const Posterior& posterior, const IntermittentRegimen& regimen,
                              const RegimenGoals& goals);
GoalShares OralShares(const RegimenModel& m, const Posterior& posterior, double dose, double interval,
                      const RegimenGoals& goals);
// One line of words per set of goals, joined by a line end.
std::string SharesText(const GoalShares& shares, const RegimenGoals& goals, bool poor);

// The goals a practical regimen is chosen for: vancomycin's exposure, the
// levels for other drugs. Both at once are rarely reached together: a trough
// of 15 mg/L or more mostly comes with an AUC24 above 600.
const IntermittentTargets& ChoosingTargets(const RegimenGoals& goals);

// A range of 0 to 0 is no therapeutic range: its trough is not asked for.
// `post` says the desired peak is the level at the time of post. An
// aminoglycoside's range spans its levels from the trough's ceiling to the
// peak's (gentamicin 2-10 mg/L): its trough is to stay under the low end,
// and a trough inside the range (4 mg/L of gentamicin) is a toxic one.
bool IsAminoglycoside(const std::string& drug);
RegimenGoals GoalsFor(const std::string& drug, double therapeuticMin, double therapeuticMax,
                      std::optional<double> desiredPeak, bool post);

// "52 % chance trough <= 2 and post >= 8 (trough 64 %, post 71 %)": the
// share of the draws that reach every target asked, then each one's own when
// there are several. A poor effective sample size is said. Empty when
// nothing was asked or there is no share.
std::string AttainmentText(const Attainment& a, const IntermittentTargets& targets, bool poor);
// Phenytoin: "64 % chance average 9.7-19.4".
std::string AverageAttainmentText(const Attainment& a, const TargetRange& average, bool poor);

// "the chance 0.5" as "50 %"; never "0 %" or "100 %" for a share between.
std::string ChanceText(double share);
// The words of all the targets asked: "trough <= 2 and post >= 8".
std::string TargetsText(const IntermittentTargets& targets);
