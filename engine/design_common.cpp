#include "engine/design_common.h"

#include <cmath>

#include "engine/forecast_inputs.h"

#include "records/text_format.h"
#include "records/units.h"

RegimenDesign NoRegimen(const std::string& reason) {
    RegimenDesign d;
    d.message = reason;
    return d;
}

std::optional<std::string> PeakTroughProblem(const std::string& peakWord, std::optional<double> peak,
                                             std::optional<double> trough) {
    const std::string peakName = "Desired " + peakWord;
    if (const auto missing = FirstMissing({{peakName.c_str(), peak}, {"Desired trough", trough}})) return missing;
    if (!(*trough > 0)) return "Desired trough must be above 0.";
    if (*trough > *peak) return "Desired trough cannot be above the desired " + peakWord + ".";
    return std::nullopt;
}

bool TakesAverageTarget(const std::string& drug) { return IsOneOf(drug, {"dg", "li", "pb", "qd", "th", "zz"}); }

bool SkipsLoadingAboveTrough(const std::string& drug) { return IsOneOf(drug, {"ak", "gm", "nm", "qd", "th", "tm"}); }

std::optional<double> CurrentLevel(double k, std::optional<double> initialConc, std::optional<double> timeDrawn,
                                   double infusionLevel) {
    if (!initialConc || *initialConc < 0) return std::nullopt;
    const double decay = std::exp(-k * timeDrawn.value_or(0));
    return Finite(infusionLevel * (1 - decay) + *initialConc * decay);
}

namespace {
std::string LoadingNote(const RegimenModel& m, DesignPath path, double loadingDose, const DesignInputs& in,
                        const RegimenDesign& d) {
    if (path == DesignPath::IvAverage) return {};
    const auto maintenance = path == DesignPath::OralAverage ? d.daily : d.dose;
    if (m.drug == "dg" && maintenance && loadingDose > 1.09 * *maintenance) return "Give in Divided Doses";
    if (path == DesignPath::IvPeakTrough && m.modelType == 2)
        return FormatNumbers("to achieve a post of %1.1f mg/L %1.f hours after the end of the infusion.",
                             in.desiredPost.value_or(0), in.postTime.value_or(0));
    return {};
}
}  // namespace

void FinishDesign(const RegimenModel& m, DesignPath path, std::optional<double> loadingDose, double k,
                  std::optional<double> currentLevel, double target, const DesignInputs& in, RegimenDesign& d) {
    const bool dosed = path == DesignPath::IvPeakTrough || path == DesignPath::OralPeakTrough;
    if (dosed ? !UsableResult(d.dose) || !UsableResult(d.interval) : !UsableResult(d.daily)) {
        d = NoRegimen(kUnusableDose);
        return;
    }
    if (loadingDose && *loadingDose > 0) {
        d.loadingDose = loadingDose;
        d.note = LoadingNote(m, path, *loadingDose, in, d);
    } else if (loadingDose && currentLevel && *currentLevel > 0 && target > 0) {
        const double wait = -std::log(target / *currentLevel) / k;
        if (wait > 0.05) d.note = FormatNumber("Give dose in %.1f hours.", wait);
    }
    if (m.drug == "li" && path != DesignPath::IvAverage) {
        for (auto* amount : {&d.dose, &d.daily, &d.loadingDose})
            if (*amount) *amount = Finite(**amount * kLithiumMeqToMg);
    }
}
