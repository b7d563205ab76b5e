#include "cli/calc_posterior.h"

#include "engine/posterior.h"

namespace {
constexpr char kPoorFlag[] = "effective sample size low";

// 2.5, 50 and 97.5 % of parameter j; null for a parameter not drawn.
Json Quantiles(const Posterior& posterior, int j) {
    if (std::find(posterior.fitted.begin(), posterior.fitted.end(), j) == posterior.fitted.end()) return nullptr;
    const std::vector<double> values = ParameterDraws(posterior, j);
    return {{"2.5", Num(Quantile(values, 0.025))},
            {"50", Num(Quantile(values, 0.5))},
            {"97.5", Num(Quantile(values, 0.975))}};
}
}  // namespace

Json PosteriorJson(const std::optional<Posterior>& posterior, bool phenytoin) {
    if (!posterior) return nullptr;
    return {{"draws", posterior->draws.size()},
            {"effective_sample_size", Num(posterior->effectiveSampleSize)},
            {"rejected", posterior->rejected},
            {"flag", posterior->poor ? Json(kPoorFlag) : Json(nullptr)},
            {"quantiles",
             {{"F", Quantiles(*posterior, 0)},
              {"Vd", Quantiles(*posterior, 1)},
              {"Cl", Quantiles(*posterior, 2)},
              {"CF", Quantiles(*posterior, 3)},
              {"Km", phenytoin ? Quantiles(*posterior, 2) : Json(nullptr)},
              {"Vm", phenytoin ? Quantiles(*posterior, 4) : Json(nullptr)}}}};
}
