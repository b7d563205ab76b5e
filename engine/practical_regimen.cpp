#include "engine/practical_regimen.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/auc24.h"
#include "engine/regimen_attainment.h"

namespace {
// A draw's levels after one dose unit: every level and AUC24 of these linear
// models grows in proportion to the dose, so one forecast per draw and
// interval serves every dose.
struct UnitLevels {
    std::optional<double> trough, peak, auc24, post;
};

std::vector<UnitLevels> UnitLevelsOf(const RegimenModel& m, const Posterior& posterior, double interval,
                                     double infusionTime, double postTime) {
    std::vector<UnitLevels> out;
    out.reserve(posterior.draws.size());
    for (const FitVector& p : posterior.draws) {
        const RegimenModel drawn = WithDraw(m, p);
        const IntermittentLevels levels = ForecastIntermittent(drawn, {1.0, interval, infusionTime, postTime, {}});
        out.push_back({levels.trough, levels.peak, Auc24(drawn, 1.0, interval), levels.post});
    }
    return out;
}

bool Holds(const TargetRange& range, const std::optional<double>& unit, double dose) {
    return !range.Asked() || (unit && range.Holds(*unit * dose));
}

int Reaching(const std::vector<UnitLevels>& units, const IntermittentTargets& t, double dose) {
    int count = 0;
    for (const UnitLevels& u : units)
        count += Holds(t.trough, u.trough, dose) && Holds(t.peak, u.peak, dose) && Holds(t.auc24, u.auc24, dose) &&
                 Holds(t.post, u.post, dose);
    return count;
}

std::string Hours(double h) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", h);
    return text;
}
}  // namespace

std::optional<UsualDoses> UsualDosesOf(const std::string& drug) {
    if (drug == "vm") return UsualDoses{250, 3000};
    if (drug == "gm" || drug == "tm" || drug == "nm") return UsualDoses{10, 800};
    if (drug == "ak") return UsualDoses{50, 3000};
    return std::nullopt;
}

std::vector<double> UsualIntervalsUpTo(double exactInterval) {
    std::vector<double> intervals;
    for (double interval : kUsualIntervals) {
        intervals.push_back(interval);
        if (interval >= exactInterval) break;
    }
    return intervals;
}

std::optional<PracticalRegimen> BestPracticalRegimen(const RegimenModel& m, const Posterior& posterior,
                                                     double infusionTime, double postTime,
                                                     const IntermittentTargets& targets, const UsualDoses& doses,
                                                     const std::vector<double>& intervals) {
    const bool asked = targets.trough.Asked() || targets.peak.Asked() || targets.auc24.Asked() || targets.post.Asked();
    if (!asked || posterior.draws.empty() || !(doses.step > 0)) return std::nullopt;
    const int steps = static_cast<int>(std::floor(doses.largest / doses.step + 1e-9));
    std::optional<PracticalRegimen> best;
    int bestCount = 0;
    double bestDaily = 0;
    for (double interval : intervals) {
        const std::vector<UnitLevels> units = UnitLevelsOf(m, posterior, interval, infusionTime, postTime);
        for (int i = 1; i <= steps; ++i) {
            const double dose = i * doses.step;
            const int count = Reaching(units, targets, dose);
            const double daily = dose * 24 / interval;
            const bool better = count > bestCount || (best && count == bestCount &&
                                                      (daily < bestDaily || (daily == bestDaily && dose < best->dose)));
            if (count == 0 || !better) continue;
            best = PracticalRegimen{dose, interval, static_cast<double>(count) / posterior.draws.size()};
            bestCount = count;
            bestDaily = daily;
        }
    }
    return best;
}

std::string PracticalRegimenText(const PracticalRegimen& best, const std::string& doseUnit,
                                 const IntermittentTargets& targets, bool poor) {
    char dose[32];
    std::snprintf(dose, sizeof dose, "%.0f", best.dose);
    std::string text = std::string(dose) + " " + doseUnit + " q" + Hours(best.interval) +
                       "h: " + ChanceText(best.share) + " chance " + TargetsText(targets) +
                       ", the best of the usual doses";
    return poor ? text + kRoughWords : text;
}
