#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "engine/posterior.h"
#include "history_fixtures.h"

namespace {
constexpr double kDose = 120, kInfusion = 0.5, kTau = 8;
constexpr int kDoses = 4;

// One-compartment infusions summed by hand.
double Level(double vd, double cl, double t) {
    const double k = cl / vd, rate = kDose / kInfusion;
    double c = 0;
    for (int i = 0; i < kDoses && kTau * i <= t; ++i) {
        const double tau = t - kTau * i;
        c += tau < kInfusion ? rate / cl * (1 - std::exp(-k * tau))
                             : rate / cl * (1 - std::exp(-k * kInfusion)) * std::exp(-k * (tau - kInfusion));
    }
    return c;
}

// The regimen's steady-state trough, by the geometric series.
double SteadyTrough(double vd, double cl) {
    const double k = cl / vd;
    return kDose / kInfusion / cl * (1 - std::exp(-k * kInfusion)) * std::exp(-k * (kTau - kInfusion)) /
           (1 - std::exp(-k * kTau));
}

struct OneCompartmentCase {
    std::vector<double> times, observed;
    double fixedError, proportionalError;
};

History HistoryOf(const std::vector<DoseEvent>& events, const std::vector<double>& times,
                  const std::vector<double>& observed, double interval) {
    History h;
    h.events = events;
    for (std::size_t i = 0; i < times.size(); ++i) {
        LevelPoint l;
        l.time = times[i];
        l.observed = observed[i];
        h.levels.push_back(l);
    }
    h.measuredCount = static_cast<int>(times.size());
    h.lastLevelTime = times.back();
    h.lastDoseInterval = interval;
    return h;
}

AnalysisSetup SetupOf(double vd, double cl, double fixedError, double proportionalError) {
    AnalysisSetup s;
    s.initial = Params(1, vd, cl, 1);
    s.relativeSd = {0.05, 0.3, 0.4, 0.5, 0.3};
    s.fixedError = fixedError;
    s.proportionalError = proportionalError;
    s.timeWeight = 1.01;
    return s;
}

// exp(-chi-square / 2) of the Bayesian fit for a one-compartment case, written
// out: weighted level residuals and the priors on Vd and Cl.
double LogDensity(const OneCompartmentCase& c, const AnalysisSetup& s, double vd, double cl) {
    double chi = 0;
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        const double level = Level(vd, cl, c.times[i]);
        const double w = std::pow(s.timeWeight, c.times.back() - c.times[i]);
        const double sigma = std::max(w * (c.fixedError + c.proportionalError * level), 0.01 * level);
        chi += std::pow((c.observed[i] - level) / sigma, 2);
    }
    chi += std::pow((s.initial.Vd - vd) / (vd * s.relativeSd[1]), 2);
    chi += std::pow((s.initial.Cl - cl) / (cl * s.relativeSd[2]), 2);
    return -chi / 2;
}

// The share of the weighted points at or below x.
double WeightedCdf(const std::vector<std::pair<double, double>>& points, double total, double x) {
    double below = 0;
    for (const auto& [value, weight] : points)
        if (value <= x) below += weight;
    return below / total;
}

// How far a quantile's probability may stray: four Monte Carlo standard errors
// of each sample, plus the grid's own error.
double Tolerance(double q, double sampleSize, double referenceSize) {
    return 4 * std::sqrt(q * (1 - q)) * (1 / std::sqrt(sampleSize) + 1 / std::sqrt(referenceSize)) + 0.002;
}

constexpr double kQuantiles[] = {0.025, 0.5, 0.975};

// One row of the comparison, printed so a run shows the agreement itself.
void PrintRow(const std::string& what, double q, double sampled, double referenceShare) {
    std::printf("posterior check  %-28s q %.3f  sampled %9.4f  reference share below it %.4f\n", what.c_str(), q,
                sampled, referenceShare);
}
}  // namespace

TEST(Posterior, OneCompartmentQuantilesMatchGridIntegration) {
    // Two levels near the regimen's peak and trough, and one trough alone.
    const OneCompartmentCase cases[] = {{{1, 7.5, 25, 31.5}, {7.2, 1.9, 8.1, 2.6}, 0.25, 0.1},
                                        {{31.5}, {2.9}, 0.5, 0.15}};
    std::vector<DoseEvent> events;
    for (int i = 0; i < kDoses; ++i) events.push_back(EventAt(kTau * i, kDose, kEventIV, kInfusion));
    for (const OneCompartmentCase& c : cases) {
        SCOPED_TRACE(c.times.size());
        const History h = HistoryOf(events, c.times, c.observed, kTau);
        const AnalysisSetup s = SetupOf(15, 6, c.fixedError, c.proportionalError);
        PredictionInput in;
        in.events = events;
        const AnalysisFits fits = RunAnalysisFits(in, h, s);
        ASSERT_TRUE(fits.bayesRange.Usable());
        const auto posterior = SamplePosterior(in, h, s, fits.bayes, fits.bayesRange, {});
        ASSERT_TRUE(posterior);
        EXPECT_EQ(posterior->fitted, (std::vector<int>{1, 2}));  // F and CF act on no dose here
        EXPECT_EQ(posterior->draws.size(), 10000u);
        EXPECT_FALSE(posterior->poor);
        EXPECT_GT(posterior->effectiveSampleSize, 2000);

        // The same density on a log grid wide enough that its edges hold nothing;
        // each parameter's share below a value interpolates within its cell.
        const int n = 500;
        const double vdLow = std::log(15) - 3, vdHigh = std::log(15) + 4;
        const double clLow = std::log(6) - 3.5, clHigh = std::log(6) + 2.5;
        std::vector<double> vdMass(n), clMass(n);
        std::vector<std::pair<double, double>> troughPoints;
        double total = 0, edge = 0;
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b) {
                const double vd = std::exp(vdLow + (vdHigh - vdLow) * (a + 0.5) / n);
                const double cl = std::exp(clLow + (clHigh - clLow) * (b + 0.5) / n);
                const double w = std::exp(LogDensity(c, s, vd, cl)) * vd * cl;  // dVd dCl = Vd Cl dlogVd dlogCl
                total += w;
                if (a == 0 || b == 0 || a == n - 1 || b == n - 1) edge += w;
                vdMass[a] += w;
                clMass[b] += w;
                troughPoints.emplace_back(SteadyTrough(vd, cl), w);
            }
        ASSERT_LT(edge / total, 1e-5);
        const auto marginalCdf = [&](const std::vector<double>& mass, double low, double high, double x) {
            const double cell = (std::log(x) - low) / (high - low) * n;
            double below = 0;
            for (int a = 0; a < n && a < cell; ++a) below += mass[a] * std::min(1.0, cell - a);
            return below / total;
        };
        std::vector<double> troughs;
        for (const FitVector& p : posterior->draws) troughs.push_back(SteadyTrough(p[1], p[2]));
        for (double q : kQuantiles) {
            SCOPED_TRACE(q);
            const double tolerance = Tolerance(q, posterior->effectiveSampleSize, 1e9);
            const double vd = Quantile(ParameterDraws(*posterior, 1), q);
            const double cl = Quantile(ParameterDraws(*posterior, 2), q);
            const double trough = Quantile(troughs, q);
            const std::string name = "gentamicin-like, " + std::to_string(c.times.size()) + " levels: ";
            PrintRow(name + "Vd", q, vd, marginalCdf(vdMass, vdLow, vdHigh, vd));
            PrintRow(name + "Cl", q, cl, marginalCdf(clMass, clLow, clHigh, cl));
            PrintRow(name + "trough", q, trough, WeightedCdf(troughPoints, total, trough));
            EXPECT_NEAR(marginalCdf(vdMass, vdLow, vdHigh, vd), q, tolerance);
            EXPECT_NEAR(marginalCdf(clMass, clLow, clHigh, cl), q, tolerance);
            EXPECT_NEAR(WeightedCdf(troughPoints, total, trough), q, tolerance);
        }
        // The same seed, the same draws.
        EXPECT_EQ(SamplePosterior(in, h, s, fits.bayes, fits.bayesRange, {})->draws, posterior->draws);
        // A proposal far narrower than the posterior is told as such.
        FitRange narrow = fits.bayesRange;
        for (auto& row : *narrow.covariance)
            for (double& x : row) x *= 1e-6;
        EXPECT_TRUE(SamplePosterior(in, h, s, fits.bayes, narrow, {})->poor);
    }
}

namespace {
// A random-walk Metropolis chain on the logarithms of the fitted parameters,
// on the fit's own objective within its plausible range, started at the fitted set: the reference for
// models too costly for a grid. Returns every `thin`-th state.
std::vector<FitVector> Chain(PredictionInput& in, const History& h, const AnalysisSetup& s, const FitVector& start,
                             const std::vector<int>& fitted, const std::vector<double>& stepSd, int steps, int thin) {
    const FitProblem problem = BayesProblemOf(h, s);
    const FitVector priors = FitVectorOf(s.initial, s.phenytoin);
    const auto logTarget = [&](const FitVector& p) {
        if (!WithinPriorFactor(p, priors)) return -HUGE_VAL;
        const auto levels = PredictConcentrations(in, SetOfFitVector(p, s.initial, s.phenytoin), problem.times);
        for (const auto& c : levels)
            if (!c || *c < 0) return -HUGE_VAL;
        double logJacobian = 0;
        for (int j : fitted) logJacobian += std::log(p[j]);
        return -ChiSquareAt(problem, p, levels) / 2 + logJacobian;
    };
    std::mt19937_64 engine(7);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> uniform;
    FitVector p = start;
    double current = logTarget(p);
    std::vector<FitVector> kept;
    for (int i = 0; i < steps; ++i) {
        FitVector next = p;
        for (std::size_t a = 0; a < fitted.size(); ++a) next[fitted[a]] *= std::exp(stepSd[a] * normal(engine));
        const double proposed = logTarget(next);
        if (std::log(uniform(engine)) < proposed - current) {
            p = next;
            current = proposed;
        }
        if (i % thin == 0) kept.push_back(p);
    }
    return kept;
}

void ExpectQuantilesMatchChain(const std::string& name, PredictionInput& in, const History& h, const AnalysisSetup& s,
                               int steps, double chainSize) {
    const AnalysisFits fits = RunAnalysisFits(in, h, s);
    ASSERT_TRUE(fits.bayesRange.Usable());
    const auto posterior = SamplePosterior(in, h, s, fits.bayes, fits.bayesRange, PosteriorSettingsFor(in.modelType));
    ASSERT_TRUE(posterior);
    EXPECT_FALSE(posterior->poor);
    const FitVector mode = FitVectorOf(fits.bayes, s.phenytoin);
    std::vector<double> stepSd;
    for (int j : posterior->fitted) stepSd.push_back(1.2 * std::sqrt((*fits.bayesRange.covariance)[j][j]) / mode[j]);
    const auto chain = Chain(in, h, s, mode, posterior->fitted, stepSd, steps, 5);
    std::vector<std::pair<double, double>> points;
    for (int j : posterior->fitted) {
        points.clear();
        for (const FitVector& p : chain) points.emplace_back(p[j], 1.0);
        for (double q : kQuantiles) {
            SCOPED_TRACE(std::to_string(j) + " at " + std::to_string(q));
            const double x = Quantile(ParameterDraws(*posterior, j), q);
            const char* const names[] = {"F", "Vd", s.phenytoin ? "Km" : "Cl", "CF", "Vm"};
            PrintRow(name + " " + names[j], q, x, WeightedCdf(points, chain.size(), x));
            EXPECT_NEAR(WeightedCdf(points, chain.size(), x), q,
                        Tolerance(q, posterior->effectiveSampleSize, chainSize));
        }
    }
}
}  // namespace

TEST(Posterior, TwoCompartmentAndPhenytoinQuantilesMatchLongChain) {
    {
        SCOPED_TRACE("vancomycin");
        std::vector<DoseEvent> events;
        for (int i = 0; i < 6; ++i) events.push_back(EventAt(12.0 * i, 1000, kEventIV, 1));
        const History h = HistoryOf(events, {2, 11.5, 62, 71.5}, {28, 11, 33, 14}, 12);
        AnalysisSetup s = SetupOf(50, 4, 1, 0.1);
        s.relativeSd[1] = 0.25;
        PredictionInput in;
        in.modelType = 2;
        in.events = events;
        in.vc = 15;
        in.k21 = 0.46;
        ExpectQuantilesMatchChain("vancomycin", in, h, s, 100000, 100000 / 30.0);
    }
    {
        SCOPED_TRACE("phenytoin");
        const std::vector<DoseEvent> events = {EventAt(0, 1000, kEventIV, 1)};
        const History h = HistoryOf(events, {6, 20}, {18, 14}, 24);
        AnalysisSetup s = SetupOf(45, 4, 0.25, 0.1);
        s.phenytoin = true;
        s.initial.Vm = 500;
        s.relativeSd = {0.05, 0.2, 0.5, 0.5, 0.3};
        PredictionInput in;
        in.modelType = 3;
        in.events = events;
        in.gridSpan = 44;
        ExpectQuantilesMatchChain("phenytoin", in, h, s, 40000, 40000 / 30.0);
    }
}
