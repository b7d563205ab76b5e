#pragma once
// The words the regimen and results pages show beside a regimen: how likely
// it is to reach the case's goals over the posterior draws and, for
// vancomycin and the aminoglycosides, the regimen of usual doses most likely
// to. Empty where nothing can be said.
#include <optional>
#include <string>

#include "engine/practical_regimen.h"
#include "engine/results_predictions.h"
#include "engine/target_attainment.h"

struct CaseRecord;

struct ChanceLines {
    std::string attainment;  // one line per set of goals
    std::string practical;
};

// The practical regimen beside an exact design (vancomycin and the
// aminoglycosides, with the design's dose, interval and infusion time), in
// the words of the line. Missing otherwise, or when no usual dose reaches
// any goal.
struct PracticalChoice {
    PracticalRegimen regimen;
    std::string text;
};
std::optional<PracticalChoice> PracticalChoiceFor(const CaseRecord& r, const RegimenModel& m,
                                                  const Posterior& posterior, const IntermittentRegimen& exact,
                                                  std::optional<double> desiredPost);

// An intermittent infusion; `desiredPost` is the IV regimen page's target,
// missing on the results page. `practical` asks for the usual-dose search.
ChanceLines IntermittentChance(const CaseRecord& r, const RegimenModel& m, const Posterior& posterior,
                               const IntermittentRegimen& regimen, std::optional<double> desiredPost, bool practical);
// A regular oral or IM regimen; `desiredPeak` as for the post above.
ChanceLines OralChance(const CaseRecord& r, const RegimenModel& m, const Posterior& posterior,
                       std::optional<double> dose, std::optional<double> interval, std::optional<double> desiredPeak);
// The detailed results page's regimen, as its route forecasts it with the
// Bayesian set's product; phenytoin with one product only.
std::string ResultsChance(const CaseRecord& r, const Posterior& posterior, const ResultsRegimen& regimen);
// Phenytoin: the average level in the range adjusted for `freeFraction`.
std::string PhenytoinChance(const Posterior& posterior, const PhenytoinDoseLine& regimen, double freeFraction);
