#include "pages/widgets/case_posterior.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/kit/work_in_background.h"
#include "records/case_record.h"

namespace {
// What the draws depend on: the drug, the Bayesian set with its covariance,
// and the doses and levels it was fitted to.
struct Fitted {
    std::string drug;
    ParameterSet bayes;
    std::optional<FitMatrix> covariance;
    double timeZero = 0;
    std::vector<std::pair<double, double>> doses, levels;  // time and amount, time and level
    bool operator==(const Fitted&) const = default;
};

Fitted FittedOf(const CaseRecord& r) {
    Fitted f{r.Drug_ID, r.bayes, r.bayesRange.covariance, r.history.timeZero, {}, {}};
    for (const DoseEvent& e : r.history.events) f.doses.emplace_back(e.time, e.amount);
    for (const LevelPoint& l : r.history.levels) f.levels.emplace_back(l.time, l.observed);
    return f;
}

// A set drawn from only when the fit made it from levels it still holds.
bool Drawable(const CaseRecord& r) {
    const History& h = r.history;
    return h.present && h.measuredCount >= 1 && h.levels.size() >= static_cast<std::size_t>(h.measuredCount) &&
           r.bayesRange.Usable() && r.bayesRange.covariance;
}

// Says the draws are under way for as long as it lives.
struct Drawing {
    explicit Drawing(bool& flag) : flag_(flag) { flag_ = true; }
    ~Drawing() { flag_ = false; }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

private:
    bool& flag_;
};

struct Kept {
    std::optional<Fitted> fitted;
    std::optional<Posterior> posterior;
};

Kept& TheKept() {
    static Kept kept;
    return kept;
}
}  // namespace

const Posterior* CasePosteriorHere(const CaseRecord& r) {
    if (!Drawable(r)) return nullptr;
    Kept& kept = TheKept();
    Fitted now = FittedOf(r);
    if (kept.fitted != now) kept = {std::move(now), SamplePosterior(r, PosteriorSettingsFor(r.ModelType))};
    return kept.posterior ? &*kept.posterior : nullptr;
}

const Posterior* CasePosterior(const CaseRecord& r) {
    static bool drawing = false;
    // A page asking again while the window paints during the draws waits for them.
    if (drawing || !Drawable(r)) return nullptr;
    if (const Kept& kept = TheKept(); kept.fitted == FittedOf(r)) return kept.posterior ? &*kept.posterior : nullptr;
    const CaseRecord copy = r;
    const Posterior* posterior = nullptr;
    const Drawing during(drawing);
    RunWhilePainting([&](const WorkProgress&) { posterior = CasePosteriorHere(copy); }, [](int) {});
    return posterior;
}
