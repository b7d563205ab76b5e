#include <gtest/gtest.h>

#include <cmath>

#include "engine/analysis_fits.h"
#include "history_fixtures.h"
#include "records/case_record.h"

namespace {
constexpr double kTrueVd = 18, kTrueCl = 4.5;

DoseEvent Infusion(double time) { return EventAt(time, 120, kEventIV, 0.5); }

// Infusions of 120 mg over 30 minutes every 8 h, summed by hand.
double TrueLevel(double t, int doses) {
    const double k = kTrueCl / kTrueVd;
    double c = 0;
    for (int i = 0; i < doses && 8.0 * i <= t; ++i) {
        const double tau = t - 8.0 * i;
        c += tau < 0.5 ? 240 / kTrueCl * (1 - std::exp(-k * tau))
                       : 240 / kTrueCl * (1 - std::exp(-k * 0.5)) * std::exp(-k * (tau - 0.5));
    }
    return c;
}

History Gentamicin(const std::vector<double>& levelTimes) {
    History h;
    for (int i = 0; i < 6; ++i) h.events.push_back(Infusion(8.0 * i));
    for (double t : levelTimes) {
        LevelPoint l;
        l.time = t;
        l.observed = TrueLevel(t, 6);
        h.levels.push_back(l);
    }
    h.measuredCount = static_cast<int>(levelTimes.size());
    h.lastLevelTime = levelTimes.empty() ? 0 : levelTimes.back();
    h.lastDoseInterval = 8;
    return h;
}

AnalysisSetup GentamicinSetup() {
    AnalysisSetup s;
    s.initial.F = 0.95;
    s.initial.Vd = 15;
    s.initial.Cl = 6;
    s.initial.CF = 0.9;
    s.relativeSd = {0.05, 0.3, 0.5, 0.5, 0};
    s.fixedError = 0.25;
    s.proportionalError = 0.1;
    s.timeWeight = 1.005;
    return s;
}

AnalysisFits FitGentamicin(const History& h, const AnalysisSetup& s) {
    PredictionInput in;
    in.events = h.events;
    return RunAnalysisFits(in, h, s);
}
}  // namespace

TEST(AnalysisFits, LeastSquaresRecoversTheParametersBehindTheLevels) {
    const History h = Gentamicin({1, 7.5, 33, 39.5});
    const AnalysisFits fits = FitGentamicin(h, GentamicinSetup());
    ASSERT_TRUE(fits.fitted);
    EXPECT_TRUE(fits.messages.empty());
    EXPECT_NEAR(fits.leastSquares.Vd, kTrueVd, 0.01 * kTrueVd);
    EXPECT_NEAR(fits.leastSquares.Cl, kTrueCl, 0.01 * kTrueCl);
    // The Bayesian fit sits between the levels and the population set.
    EXPECT_GT(fits.bayes.Cl, kTrueCl - 0.01);
    EXPECT_LT(fits.bayes.Cl, 6);
    EXPECT_NE(fits.bayes, fits.leastSquares);
    // Ranges one standard deviation either side of the stored value.
    ASSERT_TRUE(fits.leastSquaresRange.covariance.has_value());
    const double sdVd = std::sqrt((*fits.leastSquaresRange.covariance)[1][1]);
    EXPECT_DOUBLE_EQ(*fits.leastSquaresRange.lower[1], fits.leastSquares.Vd - sdVd);
    EXPECT_DOUBLE_EQ(*fits.leastSquaresRange.upper[1], fits.leastSquares.Vd + sdVd);
    EXPECT_GT(sdVd, 0);
}

TEST(AnalysisFits, AllIntravenousKeepsFAllInpatientKeepsCF) {
    const AnalysisFits fits = FitGentamicin(Gentamicin({1, 7.5, 33, 39.5}), GentamicinSetup());
    EXPECT_EQ(fits.leastSquares.F, 0.95);
    EXPECT_EQ(fits.bayes.F, 0.95);
    EXPECT_EQ(fits.leastSquares.CF, 0.9);
    EXPECT_EQ(fits.bayes.CF, 0.9);
    // Kept, not estimated: no spread of their own, none lent to predictions.
    for (const FitRange* range : {&fits.leastSquaresRange, &fits.bayesRange}) {
        ASSERT_TRUE(range->covariance);
        for (const int held : {0, 3}) {
            EXPECT_FALSE(range->lower[held]);
            for (int k = 0; k < kMaxFitParameters; ++k) {
                EXPECT_EQ((*range->covariance)[held][k], 0);
                EXPECT_EQ((*range->covariance)[k][held], 0);
            }
        }
        EXPECT_TRUE(range->lower[1] && range->lower[2]);
    }

    // An IM dose takes no F, and an outpatient dose after an inpatient one
    // is taken whole: F and CF still enter no prediction, so they are kept
    // and lend no spread (F's once widened IV ranges by about 8 %).
    History im = Gentamicin({1, 7.5, 33, 39.5});
    im.events[1].route = kEventIM;
    im.events[1].ka = 1.9;
    im.events[2].outpatient = 1;
    const AnalysisFits kept = FitGentamicin(im, GentamicinSetup());
    EXPECT_EQ(kept.leastSquares.F, 0.95);
    EXPECT_EQ(kept.leastSquares.CF, 0.9);
    for (const int held : {0, 3}) {
        EXPECT_FALSE(kept.leastSquaresRange.lower[held]);
        EXPECT_EQ((*kept.leastSquaresRange.covariance)[held][held], 0);
    }

    // An oral dose takes F, a first outpatient dose takes CF: both estimated.
    History outpatient = Gentamicin({1, 7.5, 33, 39.5});
    outpatient.events[0].outpatient = 1;
    outpatient.events[1].route = kEventOral;
    outpatient.events[1].ka = 1.9;
    const AnalysisFits moved = FitGentamicin(outpatient, GentamicinSetup());
    EXPECT_NE(moved.leastSquares.F, 0.95);
    EXPECT_NE(moved.leastSquares.CF, 0.9);
    EXPECT_TRUE(moved.leastSquaresRange.lower[0] && moved.leastSquaresRange.lower[3]);
}

TEST(AnalysisFits, FlaggedSetsAndFAboveFullDose) {
    // An oral history whose levels ask for more drug than the doses give.
    const auto fitWith = [](double factor) {
        History h = Gentamicin({1, 7.5, 33, 39.5});
        for (DoseEvent& e : h.events) {
            e.route = kEventOral;
            e.ka = 2;
            e.outpatient = 0;
        }
        for (LevelPoint& l : h.levels) l.observed *= factor;
        AnalysisSetup s = GentamicinSetup();
        s.relativeSd[0] = 1;  // a loose F prior, so the levels decide F
        return FitGentamicin(h, s);
    };
    // F a little above 100 %: usable, with what it suggests said.
    const AnalysisFits near = fitWith(1.05);
    ASSERT_GT(near.leastSquares.F, 1);
    ASSERT_LE(near.leastSquares.F, 1.25);
    EXPECT_TRUE(near.leastSquaresRange.Usable());
    EXPECT_NE(near.leastSquaresRange.caution.find("doses missing from the history"), std::string::npos);
    EXPECT_EQ(near.leastSquaresRange.caution.rfind("Least-squares fit: fitted F is ", 0), 0u);
    EXPECT_FALSE(near.messages.empty());
    // F far above 100 %: flagged.
    const AnalysisFits far = fitWith(1.6);
    ASSERT_GT(far.leastSquares.F, 1.25);
    EXPECT_EQ(far.leastSquaresRange.flag, "F above 100 %");
    EXPECT_TRUE(far.leastSquaresRange.caution.empty());
    EXPECT_NE(far.messages.front().find("not usable"), std::string::npos);
    // A fit that gives up is flagged as not converged.
    AnalysisSetup stuck = GentamicinSetup();
    History h = Gentamicin({1, 7.5, 33, 39.5});
    for (LevelPoint& l : h.levels) l.observed *= 1e6;
    const AnalysisFits runaway = FitGentamicin(h, stuck);
    EXPECT_FALSE(runaway.leastSquaresRange.Usable());
}

TEST(AnalysisFits, OneLevelGivesOneFitInBothSets) {
    const AnalysisFits fits = FitGentamicin(Gentamicin({39.5}), GentamicinSetup());
    EXPECT_EQ(fits.leastSquares, fits.bayes);
    EXPECT_EQ(fits.leastSquaresRange.lower, fits.bayesRange.lower);
    // Made with the Bayesian error model: not the least-squares one of two levels.
    const AnalysisFits two = FitGentamicin(Gentamicin({33, 39.5}), GentamicinSetup());
    EXPECT_NE(two.leastSquares, two.bayes);
}

TEST(AnalysisFits, PhenytoinIsFittedOnce) {
    History h;
    DoseEvent e;
    e.route = kEventIV;
    e.amount = 1000;
    e.infusionTime = 1;
    e.rate = 1000;
    h.events = {e};
    for (double t : {6.0, 20.0}) {
        LevelPoint l;
        l.time = t;
        l.observed = t < 10 ? 18 : 14;
        h.levels.push_back(l);
    }
    h.measuredCount = 2;
    h.lastLevelTime = 20;
    h.lastDoseInterval = 24;
    PredictionInput in;
    in.modelType = 3;
    in.events = h.events;
    in.gridSpan = 44;
    AnalysisSetup s = GentamicinSetup();
    s.phenytoin = true;
    s.initial.F = 1;
    s.initial.Vd = 45;
    s.initial.Cl = s.initial.Km = 4;
    s.initial.Vm = 500;
    s.relativeSd = {0.05, 0.2, 0.5, 0.5, 0.3};
    const AnalysisFits fits = RunAnalysisFits(in, h, s);
    ASSERT_TRUE(fits.fitted);
    EXPECT_EQ(fits.leastSquares, fits.bayes);
    EXPECT_EQ(fits.leastSquares.Km, fits.leastSquares.Cl);
    EXPECT_GT(fits.leastSquares.Vm, 0);
    EXPECT_NE(fits.leastSquares.Vm, 500);

    // Integrating once per level instead of once per set changes nothing.
    PredictionInput slow = in;
    slow.passPerTime = true;
    const AnalysisFits again = RunAnalysisFits(slow, h, s);
    EXPECT_EQ(again.leastSquares, fits.leastSquares);
    EXPECT_EQ(again.leastSquaresRange.covariance, fits.leastSquaresRange.covariance);
}

TEST(AnalysisFits, MissingPopulationValueGivesNoFitAndNoNaN) {
    AnalysisSetup s = GentamicinSetup();
    s.initial.Cl = 0;  // the model could not give a clearance
    const AnalysisFits fits = FitGentamicin(Gentamicin({1, 7.5}), s);
    EXPECT_FALSE(fits.fitted);
    EXPECT_EQ(fits.messages, std::vector<std::string>{"Cannot Fit Data"});
    EXPECT_EQ(fits.leastSquares, ParameterSet{});
    EXPECT_EQ(fits.bayesRange.covariance, std::nullopt);
}

TEST(AnalysisFits, RecordWrapperStoresSetsAndFillsTheLevelTable) {
    CaseRecord r;
    r.ModelType = 1;
    r.history = Gentamicin({1, 39.5});
    LevelPoint prediction;
    prediction.time = 48;
    prediction.observed = -1;
    r.history.levels.push_back(prediction);
    const AnalysisSetup s = GentamicinSetup();
    r.population = s.initial;
    r.Init_f_sd = 0.05;
    r.init_vd_sd = 0.3;
    r.init_cl_sd = 0.5;
    r.init_cf_sd = 0.5;
    r.Fixed_err = 0.25;
    r.Var_err = 0.1;
    r.Time_wt = 1.005;
    const AnalysisFits fits = RunAnalysisFits(r);
    EXPECT_EQ(r.leastSquares, fits.leastSquares);
    EXPECT_EQ(r.bayesRange.upper, fits.bayesRange.upper);
    FillLevelPredictions(r);
    for (const LevelPoint& l : r.history.levels) {
        EXPECT_TRUE(l.population && l.leastSquares && l.bayes);
    }
    EXPECT_NEAR(*r.history.levels[2].leastSquares, TrueLevel(48, 6), 0.05 * TrueLevel(48, 6));
}

TEST(AnalysisFits, PhenytoinSpanBeyondTheGridStaysFinite) {
    History h;
    h.events = {EventAt(0, 1000, kEventIV, 1)};
    for (double t : {10.0, 50000.0}) {
        LevelPoint l;
        l.time = t;
        l.observed = 12;
        h.levels.push_back(l);
    }
    h.measuredCount = 2;
    h.lastLevelTime = 50000;
    PredictionInput in;
    in.modelType = 3;
    in.events = h.events;
    in.gridSpan = 50024;  // steps longer than an hour over the whole span
    AnalysisSetup s = GentamicinSetup();
    s.phenytoin = true;
    s.initial.Km = s.initial.Cl = 4;
    s.initial.Vm = 500;
    s.relativeSd = {0.05, 0.2, 0.5, 0.5, 0.3};
    const AnalysisFits fits = RunAnalysisFits(in, h, s);
    for (double x : {fits.leastSquares.F, fits.leastSquares.Vd, fits.leastSquares.Km, fits.leastSquares.Vm})
        EXPECT_TRUE(std::isfinite(x));
    for (const auto& bound : fits.leastSquaresRange.upper) EXPECT_TRUE(!bound || std::isfinite(*bound));
}
