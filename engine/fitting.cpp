#include "engine/fitting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/fit_matrix.h"

namespace {
constexpr int kIterationLimit = 1000;
// The damping stays where (1 + lambda) still means something: below the
// floor it would underflow to 0 after enough accepted steps (and 0 x 10 never
// grows again); above the cap the step is far below the convergence test.
constexpr double kMinDamping = 1e-7;
constexpr double kMaxDamping = 1e10;
// Trial steps worked out together with a model that sets points side by
// side: the first and, should it be rejected, the next with ten times the
// damping, each with the derivative points around it.
constexpr int kTrialsAhead = 2;

// Residuals of the level points followed by the prior points; `valid` is
// false when a prediction is missing or a residual is not finite.
struct Residuals {
    std::vector<double> r;
    bool valid = true;
    double ChiSquare() const {
        if (!valid) return HUGE_VAL;
        double sum = 0;
        for (double x : r) sum += x * x;
        return std::isfinite(sum) ? sum : HUGE_VAL;
    }
};

class Search {
public:
    Search(const FitProblem& problem, const LevelModel& model, const LevelModelSets& models)
        : problem_(problem), model_(model), models_(models) {
        np_ = static_cast<int>(problem.priorMeans.size());
        for (double c : problem.observed) highest_ = std::max(highest_, c);
    }

    Residuals Evaluate(const FitVector& p) const {
        if (const Residuals* known = Known(p)) return *known;
        return ResidualsOf(p, model_(p));
    }

    std::vector<Residuals> EvaluateAll(const std::vector<FitVector>& ps) const {
        std::vector<Residuals> out;
        if (std::all_of(ps.begin(), ps.end(), [&](const FitVector& p) { return Known(p); })) {
            for (const FitVector& p : ps) out.push_back(*Known(p));
        } else if (models_) {
            const auto predictions = models_(ps);
            for (std::size_t k = 0; k < ps.size(); ++k) out.push_back(ResidualsOf(ps[k], predictions[k]));
        } else {
            for (const FitVector& p : ps) out.push_back(Evaluate(p));
        }
        return out;
    }

    // Works out `ps` side by side and keeps them for the evaluations that
    // ask for them next, in place of whatever was kept before.
    void Prepare(const std::vector<FitVector>& ps) {
        known_.clear();
        const std::vector<Residuals> evaluated = EvaluateAll(ps);
        for (std::size_t k = 0; k < ps.size(); ++k) known_.emplace_back(ps[k], evaluated[k]);
    }
    bool SideBySide() const { return static_cast<bool>(models_); }
    bool Knows(const FitVector& p) const { return Known(p) != nullptr; }

    int Parameters() const { return np_; }

    Residuals ResidualsOf(const FitVector& p, const std::vector<std::optional<double>>& predictions) const {
        Residuals out;
        for (std::size_t i = 0; i < problem_.times.size(); ++i) {
            const auto c = i < predictions.size() ? predictions[i] : std::nullopt;
            const double r = c ? LevelResidual(i, *c) : HUGE_VAL;
            out.valid = out.valid && std::isfinite(r);
            out.r.push_back(r);
        }
        for (int j = 0; j < np_; ++j) out.r.push_back(PriorResidual(j, p[j]));
        return out;
    }

private:
    double LevelResidual(std::size_t i, double c) const {
        const double floor = 0.001 * highest_;
        if (c < floor) c += floor;
        c = std::max(c, floor);
        const double w = std::pow(problem_.timeWeight, problem_.lastLevelTime - problem_.times[i]);
        const double spread = problem_.fixedError + problem_.proportionalError * c;
        // A weight that overflows must not meet a zero spread (inf x 0).
        const double weighted = spread > 0 ? w * spread : 0;
        const double sigma = std::max(weighted, 0.01 * c);
        return sigma > 0 ? (problem_.observed[i] - c) / sigma : HUGE_VAL;
    }

    // A parameter below a tenth of its prior mean is judged as a value that
    // grows steeply the further it falls, which pushes it back.
    double PriorResidual(int j, double p) const {
        const double m = problem_.priorMeans[j];
        const double sd = problem_.relativeSd[j];
        if (p < 0.1 * m) {
            const double gap = 0.1 - p / m;
            p = m / (1000000 * gap * gap);
        }
        if (problem_.logPriors && j > 0) return (std::log(m) - std::log(p)) / std::max(sd, 0.001);
        return (m - p) / std::max(p * sd, 0.01 * p);
    }

    // A point prepared before, bit for bit; nullptr otherwise.
    const Residuals* Known(const FitVector& p) const {
        for (const auto& [point, residuals] : known_)
            if (point.size() == p.size() && std::memcmp(point.data(), p.data(), p.size() * sizeof(double)) == 0)
                return &residuals;
        return nullptr;
    }

    const FitProblem& problem_;
    const LevelModel& model_;
    const LevelModelSets& models_;
    int np_ = 0;
    double highest_ = 0;
    std::vector<std::pair<FitVector, Residuals>> known_;
};

struct Curvature {
    FitMatrix alpha{};
    double beta[kMaxFitParameters] = {};
    double chiSquare = 0;
};

// The forward-difference step of a parameter at value x.
double DerivativeStep(double x) {
    const double h = std::fabs(x) * 0.00001;
    return h > 1e-10 ? h : 1e-10;
}

// p, then p with each parameter moved by its step.
std::vector<FitVector> DerivativePoints(const FitVector& p) {
    std::vector<FitVector> points(p.size() + 1, p);
    for (std::size_t j = 0; j < p.size(); ++j) points[j + 1][j] = p[j] + DerivativeStep(p[j]);
    return points;
}

// Forward-difference derivatives of the residuals at p, all steps asked for
// at once. A derivative that cannot be formed (a step into a region without
// predictions) counts as 0.
Curvature CurvatureAt(const Search& s, const FitVector& p) {
    const int np = s.Parameters();
    const std::vector<Residuals> evaluated = s.EvaluateAll(DerivativePoints(p));
    const Residuals& base = evaluated[0];
    Curvature c;
    c.chiSquare = base.ChiSquare();
    std::vector<std::vector<double>> jacobian(np);
    for (int j = 0; j < np; ++j) {
        const double h = DerivativeStep(p[j]);
        const Residuals& moved = evaluated[j + 1];
        for (std::size_t i = 0; i < base.r.size(); ++i) {
            const double d = (base.r[i] - moved.r[i]) / h;
            jacobian[j].push_back(std::isfinite(d) ? d : 0.0);
        }
    }
    for (int j = 0; j < np; ++j) {
        for (int k = 0; k < np; ++k) {
            double sum = 0;
            for (std::size_t i = 0; i < base.r.size(); ++i) sum += jacobian[j][i] * jacobian[k][i];
            c.alpha[j][k] = sum;
        }
        double sum = 0;
        for (std::size_t i = 0; i < base.r.size(); ++i) sum += jacobian[j][i] * base.r[i];
        c.beta[j] = sum;
    }
    return c;
}

// sqrt(alpha_jj), or 1 where the diagonal gives no scale.
double ScaleOf(const Curvature& c, int j) {
    const double d = c.alpha[j][j];
    return d > 0 && std::isfinite(d) ? std::sqrt(d) : 1.0;
}

// The damped step: the scaled curvature with its diagonal times (1 + lambda),
// inverted. Missing when that matrix is singular: an old inverse would only
// repeat a step already rejected. A `held` parameter does not move; the
// others take the best step without it.
std::optional<FitVector> DampedStep(const Curvature& c, int np, double lambda, int held = -1) {
    FitMatrix scaled{};
    for (int j = 0; j < np; ++j)
        for (int k = 0; k < np; ++k)
            scaled[j][k] = j == held || k == held ? 0.0 : c.alpha[j][k] / (ScaleOf(c, j) * ScaleOf(c, k));
    for (int j = 0; j < np; ++j) scaled[j][j] = j == held ? 1.0 : scaled[j][j] * (1 + lambda);
    FitMatrix inverse{};
    if (!InvertMatrix(scaled, np, inverse)) return std::nullopt;
    FitVector delta(np);
    for (int j = 0; j < np; ++j) {
        double sum = 0;
        for (int k = 0; k < np; ++k)
            if (k != held) sum += inverse[j][k] * (c.beta[k] / ScaleOf(c, k));
        delta[j] = sum / ScaleOf(c, j);
    }
    return delta;
}

bool Converged(const FitVector& delta, const FitVector& p) {
    for (std::size_t j = 0; j < p.size(); ++j) {
        const bool small = p[j] != 0 ? std::fabs(delta[j] / p[j]) < 0.001 : delta[j] == 0;
        if (!small) return false;
    }
    return true;
}

FitVector Plus(const FitVector& p, const FitVector& delta) {
    FitVector sum = p;
    for (std::size_t j = 0; j < sum.size(); ++j) sum[j] += delta[j];
    return sum;
}

bool AllFinite(const FitVector& v) {
    return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

// The points the search evaluates next from p, in the order it tries them,
// as far as it gets before it would stop: each trial with its derivative
// points, for `lambda` and then ten times it after a rejection.
std::vector<FitVector> TrialsAhead(const Curvature& c, const FitVector& p, double lambda, int tried) {
    const int np = static_cast<int>(p.size());
    std::vector<FitVector> points;
    for (int k = 0; k < kTrialsAhead; ++k) {
        const auto step = DampedStep(c, np, lambda);
        if (tried + k >= kIterationLimit || !step || !AllFinite(*step) || Converged(*step, p)) break;
        for (FitVector& point : DerivativePoints(Plus(p, *step))) points.push_back(std::move(point));
        lambda = std::min(lambda * 10, kMaxDamping);
    }
    return points;
}

struct EdgeStep {
    FitVector delta;
    Residuals moved;
};

// At the edge of the region where the model predicts: the best of the steps
// that hold one parameter, stay inside and are not too small to count.
std::optional<EdgeStep> StepAlongEdge(const Search& s, const Curvature& c, const FitVector& p, double lambda) {
    std::optional<EdgeStep> best;
    for (int held = 0; held < s.Parameters(); ++held) {
        const auto step = DampedStep(c, s.Parameters(), lambda, held);
        if (!step || !AllFinite(*step) || Converged(*step, p)) continue;
        Residuals moved = s.Evaluate(Plus(p, *step));
        if (moved.valid && (!best || moved.ChiSquare() < best->moved.ChiSquare())) best = EdgeStep{*step, moved};
    }
    return best;
}

std::optional<FitMatrix> CovarianceAt(const Search& s, const FitVector& p) {
    const int np = s.Parameters();
    const Curvature c = CurvatureAt(s, p);
    FitMatrix covariance{};
    if (!InvertMatrix(c.alpha, np, covariance)) return std::nullopt;
    for (int j = 0; j < np; ++j)
        for (int k = 0; k < np; ++k)
            if (!std::isfinite(covariance[j][k])) return std::nullopt;
    return covariance;
}
}  // namespace

double ChiSquareAt(const FitProblem& problem, const FitVector& p,
                   const std::vector<std::optional<double>>& predictions) {
    const LevelModel noModel;
    const LevelModelSets noModels;
    return Search(problem, noModel, noModels).ResidualsOf(p, predictions).ChiSquare();
}

FitOutcome FitParameters(const FitProblem& problem, const LevelModel& model, const FitProgress& progress,
                         const LevelModelSets& models) {
    const auto report = [&](int value) {
        if (progress) progress(value);
    };
    FitOutcome out;
    out.p = problem.priorMeans;
    const bool priorsUsable = std::all_of(problem.priorMeans.begin(), problem.priorMeans.end(),
                                          [](double m) { return m > 0 && std::isfinite(m); });
    Search search(problem, model, models);
    const int np = search.Parameters();
    const bool shapeUsable = np >= 1 && np <= kMaxFitParameters &&
                             problem.relativeSd.size() == problem.priorMeans.size() &&
                             problem.observed.size() == problem.times.size();
    if (!priorsUsable || !shapeUsable) {
        out.cannotFit = true;
        report(60);
        return out;
    }
    FitVector& p = out.p;
    for (double& x : p) x *= 1.1;
    double lambda = 10;
    bool recompute = true;
    Curvature c;
    while (true) {
        report(std::min(4 * out.iterations, 100));
        if (recompute) {
            ++out.iterations;
            c = CurvatureAt(search, p);
            recompute = false;
            if (!std::isfinite(c.chiSquare)) {  // only possible at the start
                out.cannotFit = true;
                p = problem.priorMeans;
                report(60);
                return out;
            }
        }
        const auto step = DampedStep(c, np, lambda);
        if (out.iterations + out.rejectedSteps >= kIterationLimit || !step || !AllFinite(*step)) {
            out.cannotFit = true;
            break;
        }
        FitVector delta = *step;
        if (Converged(delta, p)) break;
        if (search.SideBySide() && !search.Knows(Plus(p, delta)))
            search.Prepare(TrialsAhead(c, p, lambda, out.iterations + out.rejectedSteps));
        Residuals moved = search.Evaluate(Plus(p, delta));
        // The best set may lie at the edge of the region where the model
        // predicts (a two-compartment set whose Vd falls to Vc). A step out of
        // it is halved until it stays inside, up to the edge; there the other
        // parameters move along it. Raising the damping instead stopped the
        // search short of the best set. Each halving counts as a rejected step.
        if (!moved.valid) {
            while (!moved.valid && !Converged(delta, p) && out.iterations + out.rejectedSteps < kIterationLimit) {
                for (double& d : delta) d /= 2;
                ++out.rejectedSteps;
                moved = search.Evaluate(Plus(p, delta));
            }
            if (!moved.valid || Converged(delta, p)) {
                const auto along = StepAlongEdge(search, c, p, lambda);
                if (!along) break;  // nothing moves further inside: the best set at the edge
                delta = along->delta;
                moved = along->moved;
            }
        }
        if (moved.ChiSquare() <= c.chiSquare) {
            p = Plus(p, delta);
            lambda = std::max(lambda * 0.1, kMinDamping);
            recompute = true;
        } else {
            lambda = std::min(lambda * 10, kMaxDamping);
            ++out.rejectedSteps;
        }
    }
    out.covariance = CovarianceAt(search, p);
    report(60);
    return out;
}
