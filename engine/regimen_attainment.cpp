#include "engine/regimen_attainment.h"

#include <cstdio>
#include <vector>

#include "engine/forecast_model.h"

namespace {
// As the pages show levels: one decimal, a whole number without it.
std::string Number(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    std::string shown = text;
    if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, ".0") == 0) shown.resize(shown.size() - 2);
    return shown;
}

std::string RangeText(const TargetRange& r) {
    if (r.low && r.high) return Number(*r.low) + "-" + Number(*r.high);
    return r.low ? ">= " + Number(*r.low) : "<= " + Number(*r.high);
}

struct Goal {
    std::string name;
    const TargetRange& range;
    std::optional<double> share;
};

std::vector<Goal> GoalsAsked(const Attainment& a, const IntermittentTargets& t) {
    std::vector<Goal> asked;
    for (Goal g : {Goal{"AUC24", t.auc24, a.auc24}, Goal{"trough", t.trough, a.trough}, Goal{"peak", t.peak, a.peak},
                   Goal{"post", t.post, a.post}})
        if (g.range.Asked()) asked.push_back(g);
    return asked;
}

std::string Joined(const std::vector<Goal>& goals) {
    std::string words;
    for (const Goal& g : goals) words += (words.empty() ? "" : " and ") + g.name + " " + RangeText(g.range);
    return words;
}

std::string Sentence(const std::vector<Goal>& goals, std::optional<double> all, bool poor) {
    if (goals.empty() || !all) return {};
    std::string text = ChanceText(*all) + " chance " + Joined(goals);
    if (goals.size() > 1) {
        std::string each;
        for (const Goal& g : goals)
            if (g.share) each += (each.empty() ? "" : ", ") + g.name + " " + ChanceText(*g.share);
        text += " (" + each + ")";
    }
    return poor ? text + kRoughWords : text;
}
}  // namespace

bool IsAminoglycoside(const std::string& drug) { return IsOneOf(drug, {"gm", "tm", "nm", "ak"}); }

RegimenGoals GoalsFor(const std::string& drug, double therapeuticMin, double therapeuticMax,
                      std::optional<double> desiredPeak, bool post) {
    RegimenGoals goals;
    if (IsAminoglycoside(drug)) {
        if (therapeuticMin > 0) goals.levels.trough = {{}, therapeuticMin};
    } else if (therapeuticMin > 0 || therapeuticMax > 0) {
        goals.levels.trough = {therapeuticMin, therapeuticMax};
    }
    if (desiredPeak && *desiredPeak > 0) (post ? goals.levels.post : goals.levels.peak) = {desiredPeak, {}};
    if (drug == "vm") goals.exposure = IntermittentTargets{{{}, kExposureTroughLimit}, {}, {kAuc24Low, kAuc24High}, {}};
    return goals;
}

GoalShares IntermittentShares(const RegimenModel& m, const Posterior& posterior, const IntermittentRegimen& regimen,
                              const RegimenGoals& goals) {
    GoalShares shares{IntermittentAttainment(m, posterior, regimen, goals.levels), {}};
    if (goals.exposure) shares.exposure = IntermittentAttainment(m, posterior, regimen, *goals.exposure);
    return shares;
}

GoalShares OralShares(const RegimenModel& m, const Posterior& posterior, double dose, double interval,
                      const RegimenGoals& goals) {
    GoalShares shares{OralAttainment(m, posterior, dose, interval, goals.levels), {}};
    if (goals.exposure) shares.exposure = OralAttainment(m, posterior, dose, interval, *goals.exposure);
    return shares;
}

std::string SharesText(const GoalShares& shares, const RegimenGoals& goals, bool poor) {
    std::string text = AttainmentText(shares.levels, goals.levels, poor);
    if (shares.exposure && goals.exposure) {
        const std::string exposure = AttainmentText(*shares.exposure, *goals.exposure, poor);
        text += (text.empty() || exposure.empty() ? "" : "\n") + exposure;
    }
    return text;
}

const IntermittentTargets& ChoosingTargets(const RegimenGoals& goals) {
    return goals.exposure ? *goals.exposure : goals.levels;
}

std::string AttainmentText(const Attainment& a, const IntermittentTargets& targets, bool poor) {
    return Sentence(GoalsAsked(a, targets), a.all, poor);
}

std::string AverageAttainmentText(const Attainment& a, const TargetRange& average, bool poor) {
    if (!average.Asked()) return {};
    return Sentence({Goal{"average", average, a.average}}, a.average, poor);
}

std::string ChanceText(double share) {
    const double percent = 100 * share;
    if (percent > 0 && percent < 0.5) return "< 1 %";
    if (percent < 100 && percent >= 99.5) return "> 99 %";
    char text[16];
    std::snprintf(text, sizeof text, "%.0f %%", percent);
    return text;
}

std::string TargetsText(const IntermittentTargets& targets) { return Joined(GoalsAsked({}, targets)); }
