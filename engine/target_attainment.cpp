#include "engine/target_attainment.h"

#include "engine/auc24.h"
#include "engine/forecast_oral.h"

namespace {
// Counts, per range asked for, the draws whose value lies in it.
class Tally {
public:
    explicit Tally(std::size_t draws) : draws_(static_cast<double>(draws)) {}
    // Whether the range is met: a range not asked for always is.
    bool Count(const TargetRange& range, const std::optional<double>& value, int& count) {
        if (!range.Asked()) return true;
        const bool held = value && range.Holds(*value);
        count += held;
        return held;
    }
    std::optional<double> Share(const TargetRange& range, int count) const {
        if (!range.Asked() || draws_ == 0) return std::nullopt;
        return count / draws_;
    }
    std::optional<double> Share(int count) const { return draws_ == 0 ? std::nullopt : std::optional(count / draws_); }

private:
    double draws_;
};

// The levels of one draw that the targets are compared with.
struct DrawnLevels {
    std::optional<double> trough, peak, auc24, post;
};

// Each draw's F, Vd, Cl and CF replace the model's; `levelsOf` forecasts them.
template <typename LevelsOf>
Attainment Attain(const RegimenModel& m, const Posterior& posterior, const IntermittentTargets& targets,
                  const LevelsOf& levelsOf) {
    Tally tally(posterior.draws.size());
    int trough = 0, peak = 0, auc24 = 0, post = 0, all = 0;
    for (const FitVector& p : posterior.draws) {
        const DrawnLevels levels = levelsOf(WithDraw(m, p));
        // Each range is counted on its own, so no && may cut a count short.
        const bool troughHeld = tally.Count(targets.trough, levels.trough, trough);
        const bool peakHeld = tally.Count(targets.peak, levels.peak, peak);
        const bool areaHeld = tally.Count(targets.auc24, levels.auc24, auc24);
        const bool postHeld = tally.Count(targets.post, levels.post, post);
        all += troughHeld && peakHeld && areaHeld && postHeld;
    }
    Attainment out;
    out.trough = tally.Share(targets.trough, trough);
    out.peak = tally.Share(targets.peak, peak);
    out.auc24 = tally.Share(targets.auc24, auc24);
    out.post = tally.Share(targets.post, post);
    if (targets.trough.Asked() || targets.peak.Asked() || targets.auc24.Asked() || targets.post.Asked())
        out.all = tally.Share(all);
    return out;
}
}  // namespace

RegimenModel WithDraw(RegimenModel m, const FitVector& draw) {
    m.F = draw[0];
    m.Vd = draw[1];
    m.Cl = draw[2];
    m.CF = draw[3];
    return m;
}

Attainment IntermittentAttainment(const RegimenModel& m, const Posterior& posterior, const IntermittentRegimen& regimen,
                                  const IntermittentTargets& targets) {
    return Attain(m, posterior, targets, [&](const RegimenModel& drawn) {
        const IntermittentLevels levels = ForecastIntermittent(drawn, regimen);
        std::optional<double> area;
        if (regimen.dose && regimen.interval) area = Auc24(drawn, *regimen.dose, *regimen.interval);
        return DrawnLevels{levels.trough, levels.peak, area, levels.post};
    });
}

Attainment OralAttainment(const RegimenModel& m, const Posterior& posterior, double dose, double interval,
                          const IntermittentTargets& targets) {
    return Attain(m, posterior, targets, [&](const RegimenModel& drawn) {
        const OralLevels levels = ForecastOral(drawn, dose, interval);
        return DrawnLevels{levels.trough, levels.peak, Auc24Absorbed(drawn, dose, interval), {}};
    });
}

Attainment PhenytoinAttainment(const Posterior& posterior, const PhenytoinDoseLine& regimen,
                               const TargetRange& average) {
    constexpr double kNormalFreeFraction = 0.1;  // enters only the adjusted level, not compared here
    Tally tally(posterior.draws.size());
    int held = 0;
    for (const FitVector& p : posterior.draws) {
        const PhenytoinLevels levels = ForecastPhenytoin({p[1], p[2], p[4]}, p[0], kNormalFreeFraction, regimen, {});
        tally.Count(average, levels.observed, held);
    }
    Attainment out;
    out.average = tally.Share(average, held);
    out.all = out.average;
    return out;
}
