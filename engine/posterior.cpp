#include "engine/posterior.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "records/case_record.h"

namespace {
// Student t with 4 degrees of freedom: tails heavy enough to cover a posterior
// wider than its curvature says; the scale is widened a little further.
constexpr double kDegrees = 4;
constexpr double kWidening = 1.3;
// Sets predicted side by side per call (phenytoin integrates them together).
constexpr std::size_t kBatch = 256;
// A pilot of a fifth as many draws shapes the proposal the posterior is
// drawn from; below this effective size it keeps the fitted set's curvature.
constexpr int kPilotShare = 5;
constexpr double kPilotEffectiveSize = 50;

// Uniform on (0, 1) and standard normal numbers made here from the 64-bit
// engine, whose sequence the standard fixes: the library's distributions
// may differ between library versions, and a case must draw the same.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    double Uniform() { return (static_cast<double>(engine_() >> 11) + 0.5) * 0x1.0p-53; }
    double Normal() {  // Box-Muller, both values used
        if (spare_) {
            const double z = *spare_;
            spare_.reset();
            return z;
        }
        const double radius = std::sqrt(-2 * std::log(Uniform()));
        const double angle = 2 * std::numbers::pi * Uniform();
        spare_ = radius * std::sin(angle);
        return radius * std::cos(angle);
    }
    // Chi-square with 4 degrees of freedom divided by 4.
    double ChiSquare4Share() { return -2 * std::log(Uniform() * Uniform()) / kDegrees; }

private:
    std::mt19937_64 engine_;
    std::optional<double> spare_;
};

// The lower Cholesky factor of the leading n x n block; missing unless
// positive definite.
std::optional<FitMatrix> Cholesky(const FitMatrix& a, int n) {
    FitMatrix l{};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j) {
            double sum = a[i][j];
            for (int k = 0; k < j; ++k) sum -= l[i][k] * l[j][k];
            if (i == j) {
                if (!(sum > 0) || !std::isfinite(sum)) return std::nullopt;
                l[i][i] = std::sqrt(sum);
            } else {
                l[i][j] = sum / l[j][j];
            }
        }
    return l;
}

struct Proposal {
    FitVector p;
    double logWeight = -HUGE_VAL;
};

// A multivariate t over the logarithms of the fitted parameters, which keeps
// every draw above 0.
struct LogProposal {
    std::vector<double> center;
    FitMatrix factor{};  // lower Cholesky factor of the scale matrix
};

// What one case needs to weigh a draw: the fit's objective and its model.
struct Target {
    PredictionInput& in;
    const AnalysisSetup& s;
    FitProblem problem;
    FitVector mode, priors;
    std::vector<int> fitted;
};

// `count` proposals, each weighted by posterior / proposal density (both up to
// their constants); a draw with no finite, physical prediction weighs nothing.
std::vector<Proposal> DrawWeighted(const Target& target, const LogProposal& proposal, int count, Random& random) {
    const int n = static_cast<int>(target.fitted.size());
    std::vector<Proposal> proposals(count);
    for (std::size_t start = 0; start < proposals.size(); start += kBatch) {
        const std::size_t end = std::min(start + kBatch, proposals.size());
        std::vector<ParameterSet> sets;
        std::vector<double> logProposal;
        for (std::size_t i = start; i < end; ++i) {
            double z[kMaxFitParameters], squared = 0;
            for (int a = 0; a < n; ++a) {
                z[a] = random.Normal();
                squared += z[a] * z[a];
            }
            const double share = random.ChiSquare4Share();
            FitVector& p = proposals[i].p;
            p = target.mode;
            double logJacobian = 0;
            for (int a = 0; a < n; ++a) {
                double step = 0;
                for (int b = 0; b <= a; ++b) step += proposal.factor[a][b] * z[b];
                const double logValue = proposal.center[a] + step / std::sqrt(share);
                p[target.fitted[a]] = std::exp(logValue);
                logJacobian += logValue;
            }
            logProposal.push_back(-(kDegrees + n) / 2 * std::log1p(squared / share / kDegrees) - logJacobian);
            sets.push_back(SetOfFitVector(p, target.s.initial, target.s.phenytoin));
        }
        const auto predictions = PredictConcentrationSets(target.in, sets, target.problem.times);
        for (std::size_t i = start; i < end; ++i) {
            const auto& levels = predictions[i - start];
            // The prior terms stay bounded as a parameter grows, so without the
            // plausible range the density would not vanish far out.
            const bool physical = WithinPriorFactor(proposals[i].p, target.priors) &&
                                  std::all_of(levels.begin(), levels.end(), [](const auto& c) { return c && *c >= 0; });
            const double chiSquare = physical ? ChiSquareAt(target.problem, proposals[i].p, levels) : HUGE_VAL;
            if (std::isfinite(chiSquare)) proposals[i].logWeight = -chiSquare / 2 - logProposal[i - start];
        }
    }
    return proposals;
}

// The weights scaled to a largest of 1 (0 for a rejected draw); empty when
// every draw was rejected.
std::vector<double> WeightsOf(const std::vector<Proposal>& proposals) {
    double highest = -HUGE_VAL;
    for (const Proposal& p : proposals) highest = std::max(highest, p.logWeight);
    if (!std::isfinite(highest)) return {};
    std::vector<double> weights;
    for (const Proposal& p : proposals)
        weights.push_back(std::isfinite(p.logWeight) ? std::exp(p.logWeight - highest) : 0.0);
    return weights;
}

double EffectiveSize(const std::vector<double>& weights) {
    double sum = 0, squares = 0;
    for (double w : weights) {
        sum += w;
        squares += w * w;
    }
    return sum * sum / squares;
}

// The proposal moved to the weighted mean and covariance of a pilot sample:
// a posterior skewed or longer-tailed than the curvature at the fitted set
// says is then covered. Missing when the pilot is too thin to tell.
std::optional<LogProposal> Adapted(const Target& target, const std::vector<Proposal>& pilot,
                                   const std::vector<double>& weights) {
    const int n = static_cast<int>(target.fitted.size());
    if (weights.empty() || EffectiveSize(weights) < kPilotEffectiveSize) return std::nullopt;
    // Each draw's logarithms taken once, not once per covariance entry.
    std::vector<std::array<double, kMaxFitParameters>> logs(pilot.size());
    for (std::size_t i = 0; i < pilot.size(); ++i)
        for (int a = 0; a < n; ++a) logs[i][a] = std::log(pilot[i].p[target.fitted[a]]);
    double sum = 0;
    LogProposal out;
    out.center.assign(n, 0.0);
    FitMatrix covariance{};
    for (std::size_t i = 0; i < pilot.size(); ++i) {
        sum += weights[i];
        for (int a = 0; a < n; ++a) out.center[a] += weights[i] * logs[i][a];
    }
    for (double& c : out.center) c /= sum;
    for (std::size_t i = 0; i < pilot.size(); ++i)
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b)
                covariance[a][b] += weights[i] * (logs[i][a] - out.center[a]) * (logs[i][b] - out.center[b]) / sum;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) covariance[a][b] *= kWidening * kWidening;
    const auto factor = Cholesky(covariance, n);
    if (!factor) return std::nullopt;
    out.factor = *factor;
    return out;
}
}  // namespace

PosteriorSettings PosteriorSettingsFor(int modelType) {
    PosteriorSettings settings;
    if (modelType == 3) settings.draws = 800;
    return settings;
}

std::optional<Posterior> SamplePosterior(PredictionInput& in, const History& h, const AnalysisSetup& s,
                                         const ParameterSet& bayes, const FitRange& bayesRange,
                                         const PosteriorSettings& settings) {
    if (!bayesRange.Usable() || !bayesRange.covariance || h.measuredCount < 1 || settings.draws < 1)
        return std::nullopt;
    Target target{in, s, BayesProblemOf(h, s), FitVectorOf(bayes, s.phenytoin), FitVectorOf(s.initial, s.phenytoin),
                  {}};
    const auto held = HeldParameters(in, h);
    for (int j = 0; j < static_cast<int>(target.mode.size()); ++j)
        if (!held[j]) target.fitted.push_back(j);
    const int n = static_cast<int>(target.fitted.size());
    // The fit's covariance moves to the logarithms to first order.
    LogProposal first;
    FitMatrix logCovariance{};
    for (int a = 0; a < n; ++a) {
        const int j = target.fitted[a];
        first.center.push_back(std::log(target.mode[j]));
        for (int b = 0; b < n; ++b) {
            const int k = target.fitted[b];
            logCovariance[a][b] =
                (*bayesRange.covariance)[j][k] / (target.mode[j] * target.mode[k]) * kWidening * kWidening;
        }
    }
    const auto factor = Cholesky(logCovariance, n);
    if (n == 0 || !factor) return std::nullopt;
    first.factor = *factor;

    Random random(settings.seed);
    const std::vector<Proposal> pilot = DrawWeighted(target, first, std::max(1, settings.draws / kPilotShare), random);
    const auto adapted = Adapted(target, pilot, WeightsOf(pilot));
    const std::vector<Proposal> proposals = DrawWeighted(target, adapted ? *adapted : first, settings.draws, random);
    const std::vector<double> weights = WeightsOf(proposals);
    if (weights.empty()) return std::nullopt;
    Posterior out;
    out.fitted = target.fitted;
    out.rejected = static_cast<int>(std::count(weights.begin(), weights.end(), 0.0));
    out.effectiveSampleSize = EffectiveSize(weights);
    out.poor = out.effectiveSampleSize < kPoorSampleShare * settings.draws;
    // Systematic resampling: one uniform offset, evenly spaced pointers.
    double sum = 0;
    for (double w : weights) sum += w;
    const double offset = random.Uniform();
    double cumulative = 0;
    std::size_t i = 0;
    for (int k = 0; k < settings.draws; ++k) {
        const double pointer = (k + offset) / settings.draws * sum;
        while (i + 1 < proposals.size() && cumulative + weights[i] < pointer) cumulative += weights[i++];
        out.draws.push_back(proposals[i].p);
    }
    return out;
}

std::optional<Posterior> SamplePosterior(const CaseRecord& r, const PosteriorSettings& settings) {
    PredictionInput in = PredictionInputOf(r);
    return SamplePosterior(in, r.history, AnalysisSetupOf(r), r.bayes, r.bayesRange, settings);
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    const double position = q * (values.size() - 1);
    const std::size_t below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (position - below) * (values[above] - values[below]);
}

std::vector<double> ParameterDraws(const Posterior& posterior, int j) {
    std::vector<double> values;
    for (const FitVector& p : posterior.draws) values.push_back(p[j]);
    return values;
}
