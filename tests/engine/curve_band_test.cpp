#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/curve_band.h"
#include "history_fixtures.h"
#include "records/case_record.h"

namespace {
constexpr double kBolus = 100, kEvery = 8;
constexpr int kBoluses = 4;

// Intravenous boluses summed by hand: each decays as D/Vd e^(-k t).
double BolusLevel(double vd, double cl, double t) {
    double c = 0;
    for (int i = 0; i < kBoluses && kEvery * i <= t; ++i) c += kBolus / vd * std::exp(-cl / vd * (t - kEvery * i));
    return c;
}

// The q quantile of `values` between order statistics, written out.
double OrderQuantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double at = q * (values.size() - 1);
    const std::size_t i = static_cast<std::size_t>(at);
    return i + 1 < values.size() ? values[i] + (at - i) * (values[i + 1] - values[i]) : values[i];
}
}  // namespace

TEST(CurveBand, QuantilesOfTheDrawsEncloseTheBayesianCurve) {
    std::vector<DoseEvent> events;
    for (int i = 0; i < kBoluses; ++i) events.push_back(EventAt(kEvery * i, kBolus, kEventIV));
    History h;
    h.events = events;
    for (const auto& [time, level] : {std::pair{1.0, 6.1}, std::pair{7.5, 1.4}, std::pair{25.0, 7.0}}) {
        LevelPoint p;
        p.time = time;
        p.observed = level;
        h.levels.push_back(p);
    }
    h.measuredCount = 3;
    h.lastLevelTime = 25;
    h.lastDoseInterval = kEvery;
    AnalysisSetup s;
    s.initial = Params(1, 15, 6);
    s.relativeSd = {0.05, 0.3, 0.4, 0.5, 0.3};
    s.fixedError = 0.25;
    s.proportionalError = 0.1;
    s.timeWeight = 1.005;
    PredictionInput in;
    in.events = events;
    const AnalysisFits fits = RunAnalysisFits(in, h, s);
    ASSERT_TRUE(fits.bayesRange.Usable());
    const auto posterior = SamplePosterior(in, h, s, fits.bayes, fits.bayesRange, {2000, 30});
    ASSERT_TRUE(posterior);
    std::vector<ParameterSet> sets;
    for (const FitVector& p : posterior->draws) sets.push_back(SetOfFitVector(p, s.initial, false));
    std::vector<double> times;
    for (int i = 0; i <= 64; ++i) times.push_back(i * 0.5);
    const CurveBand band = BandOfDraws(in, sets, times);
    ASSERT_EQ(band.low.size(), times.size());
    ASSERT_EQ(band.high.size(), times.size());
    for (std::size_t t = 0; t < times.size(); ++t) {
        SCOPED_TRACE(times[t]);
        ASSERT_TRUE(band.low[t] && band.high[t]);
        std::vector<double> levels;
        for (const FitVector& p : posterior->draws) levels.push_back(BolusLevel(p[1], p[2], times[t]));
        const double low = OrderQuantile(levels, 0.025), high = OrderQuantile(levels, 0.975);
        EXPECT_NEAR(*band.low[t], low, 1e-9 * std::max(1.0, low));
        EXPECT_NEAR(*band.high[t], high, 1e-9 * std::max(1.0, high));
        const double curve = BolusLevel(fits.bayes.Vd, fits.bayes.Cl, times[t]);
        EXPECT_LT(*band.low[t], curve);
        EXPECT_GT(*band.high[t], curve);
    }
    // A band of a sensible width: at the last level it spans the level's own error or more.
    EXPECT_GT(*band.high[50] - *band.low[50], 0.2);
}

TEST(CurveBand, NoBandWithoutAPosterior) {
    CaseRecord r;
    r.Drug_ID = "gm";
    r.bayes = Params(1, 15, 6);
    r.bayesRange.covariance = FitMatrix{};
    const auto band = [&r] {
        AnalysisCurves curves;
        curves.times = {0, 1, 2};
        const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        AddCurveBand(r, posterior ? &*posterior : nullptr, curves);
        return curves.bayesBand;
    };
    EXPECT_TRUE(band().Empty());  // no measured level
    r.history.measuredCount = 1;
    r.history.levels = {LevelPoint{1, 5}};
    r.bayesRange.flag = "did not converge";
    EXPECT_TRUE(band().Empty());
}
