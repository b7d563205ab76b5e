#include "engine/regimen_chance.h"

#include "engine/patient_measures.h"
#include "engine/regimen_attainment.h"
#include "records/case_record.h"

namespace {
RegimenGoals CaseGoals(const CaseRecord& r, std::optional<double> desiredPeak, bool post) {
    return GoalsFor(r.Drug_ID, r.TherapeuticMin, r.TherapeuticMax, desiredPeak, post);
}
}  // namespace

std::optional<PracticalChoice> PracticalChoiceFor(const CaseRecord& r, const RegimenModel& m,
                                                  const Posterior& posterior, const IntermittentRegimen& exact,
                                                  std::optional<double> desiredPost) {
    const auto doses = UsualDosesOf(r.Drug_ID);
    if (!doses || !exact.dose || !exact.interval || !exact.infusionTime) return std::nullopt;
    const RegimenGoals goals = CaseGoals(r, desiredPost, true);
    const IntermittentTargets& targets = ChoosingTargets(goals);
    const auto best = BestPracticalRegimen(m, posterior, *exact.infusionTime, exact.postTime.value_or(0), targets,
                                           *doses, UsualIntervalsUpTo(*exact.interval));
    if (!best) return std::nullopt;
    return PracticalChoice{*best, PracticalRegimenText(*best, r.DoseUnit, targets, posterior.poor)};
}

ChanceLines IntermittentChance(const CaseRecord& r, const RegimenModel& m, const Posterior& posterior,
                               const IntermittentRegimen& regimen, std::optional<double> desiredPost, bool practical) {
    ChanceLines lines;
    const RegimenGoals goals = CaseGoals(r, desiredPost, true);
    if (regimen.dose && regimen.interval)
        lines.attainment = SharesText(IntermittentShares(m, posterior, regimen, goals), goals, posterior.poor);
    if (!practical) return lines;
    if (const auto choice = PracticalChoiceFor(r, m, posterior, regimen, desiredPost)) lines.practical = choice->text;
    return lines;
}

ChanceLines OralChance(const CaseRecord& r, const RegimenModel& m, const Posterior& posterior,
                       std::optional<double> dose, std::optional<double> interval, std::optional<double> desiredPeak) {
    if (!dose || !interval) return {};
    const RegimenGoals goals = CaseGoals(r, desiredPeak, false);
    return {SharesText(OralShares(m, posterior, *dose, *interval, goals), goals, posterior.poor), {}};
}

std::string ResultsChance(const CaseRecord& r, const Posterior& posterior, const ResultsRegimen& g) {
    const RegimenModel m = RegimenModelOf(r, ResultsF(r, r.bayes));
    switch (LayoutOf(r)) {
        case ResultsLayout::Intermittent:
            return IntermittentChance(r, m, posterior, {g.dose, g.interval, g.infusionTime, g.postTime, {}}, {}, false)
                .attainment;
        case ResultsLayout::OralOrIm: return OralChance(r, m, posterior, g.dose, g.interval, {}).attainment;
        case ResultsLayout::Phenytoin:
            if (g.dose2) return {};
            return PhenytoinChance(posterior, {g.dose, g.interval, ProductSalt(r)}, CurrentFreeFraction(r));
        default: return {};
    }
}

std::string PhenytoinChance(const Posterior& posterior, const PhenytoinDoseLine& regimen, double freeFraction) {
    const auto range = AdjustedRange(freeFraction);
    if (!range || !regimen.dose || !regimen.interval) return {};
    const TargetRange average{range->low, range->high};
    return AverageAttainmentText(PhenytoinAttainment(posterior, regimen, average), average, posterior.poor);
}
