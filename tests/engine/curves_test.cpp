#include <gtest/gtest.h>

#include "engine/curves.h"
#include "history_fixtures.h"

namespace {
DoseEvent Infusion(double time) { return EventAt(time, 1000, kEventIV, 1); }

// One infusion at 0 and its 24 h interval, for the phenytoin model on a 24 h grid.
History OneInfusion() {
    History h;
    h.events = {Infusion(0)};
    h.lastDoseInterval = 24;
    return h;
}

PredictionInput PhenytoinInput(const History& h) {
    PredictionInput in;
    in.modelType = 3;
    in.events = h.events;
    in.gridSpan = 24;
    return in;
}
}  // namespace

TEST(CurveAxes, TimeSpanRoundedUpToTheTable) {
    History h;
    h.events = {Infusion(0), Infusion(50)};
    h.lastDoseInterval = 12;
    LevelPoint level;
    level.time = 48;
    h.levels = {level};
    EXPECT_DOUBLE_EQ(SpanNeeded(h), 62);
    const TimeAxis axis = TimeAxisFor(62);
    EXPECT_EQ(axis.span, 120);
    EXPECT_EQ(axis.tick, 24);
    EXPECT_EQ(axis.labelStep, 1);
    EXPECT_EQ(axis.unit, "Days");
    EXPECT_EQ(TimeAxisFor(0).span, 5);
    EXPECT_EQ(TimeAxisFor(60).unit, "Hours");
    EXPECT_EQ(TimeAxisFor(721).span, 840);
    EXPECT_EQ(TimeAxisFor(721).unit, "Weeks");
    EXPECT_EQ(TimeAxisFor(9000).span, 4200);
    EXPECT_EQ(TimeAxisFor(9000).labelStep, 5);
}

TEST(CurveAxes, ConcentrationTopRoundsToFives) {
    EXPECT_EQ(ConcAxisFor(90, 50, false).top, 90);
    EXPECT_EQ(ConcAxisFor(90, 95, false).top, 95);   // 97, remainder 2 cut
    EXPECT_EQ(ConcAxisFor(90, 98, false).top, 100);  // 100
    EXPECT_EQ(ConcAxisFor(90, 96, false).top, 100);  // 98, remainder 3 filled
    // Cutting must not leave the highest value above the axis.
    EXPECT_EQ(ConcAxisFor(90, 95.4, false).top, 100);
    const ConcAxis small = ConcAxisFor(1.5, 1.7, true);
    EXPECT_EQ(small.top, 3.5);  // 3.7 to a multiple of 0.5
    EXPECT_DOUBLE_EQ(small.tick, 0.7);
    EXPECT_TRUE(small.oneDecimal);
    EXPECT_FALSE(ConcAxisFor(20, 10, false).oneDecimal);
    EXPECT_TRUE(ConcAxisFor(20, 10, true).oneDecimal);  // lithium
}

TEST(Curves, SampledOverTheSpanAndSkippedForNegativeSets) {
    History h;
    h.events = {Infusion(0), Infusion(12)};
    h.lastDoseInterval = 12;
    PredictionInput in;
    in.events = h.events;
    const CurveSets sets{Params(1, 50, 5, 1), Params(1, 40, 4, 1), Params(1, -40, 4, 1)};
    int done = 0;
    const AnalysisCurves c = ComputeCurves(in, h, sets, 40, false, [&] { ++done; });
    EXPECT_EQ(done, 3);
    ASSERT_EQ(c.times.size(), 281u);
    EXPECT_EQ(c.times.front(), 0);
    EXPECT_DOUBLE_EQ(c.times.back(), 30);
    EXPECT_DOUBLE_EQ(c.times[28], 3);
    ASSERT_EQ(c.population.size(), 281u);
    EXPECT_TRUE(c.bayes.empty());
    EXPECT_EQ(c.leastSquares[28], PredictConcentration(in, sets.leastSquares, 3));
    EXPECT_EQ(c.conc.top, 40);
}

TEST(Curves, PhenytoinCurvesFromOnePassEqualPointByPoint) {
    const History h = OneInfusion();
    PredictionInput in = PhenytoinInput(h);
    const CurveSets sets{Params(1, 45, 4, 1, 500), Params(1, 40, 5, 1, 450), Params(1, 1, 1, 1, 1)};
    const AnalysisCurves c = ComputeCurves(in, h, sets, 30, false);
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        EXPECT_EQ(c.population[i], PredictConcentration(in, sets.population, c.times[i])) << i;
        EXPECT_EQ(c.leastSquares[i], PredictConcentration(in, sets.leastSquares, c.times[i])) << i;
    }
    EXPECT_EQ(c.bayes, c.leastSquares);  // phenytoin draws the least-squares curve twice
}

// Past the history's grid the phenytoin curve goes on falling as
// Michaelis-Menten elimination says, instead of staying at the last value.
TEST(Curves, PhenytoinCurveFallsToTheEndOfTheAxis) {
    const History h = OneInfusion();
    PredictionInput in = PhenytoinInput(h);
    const ParameterSet p = Params(1, 45, 4, 1, 500);
    const AnalysisCurves c = ComputeCurves(in, h, {p, p, p}, 30, false);
    ASSERT_NEAR(c.times[224], 24, 1e-9);
    // dC/dt = -(Vm / 24) C / (Km + C) / Vd from the curve at 24 h, in small Euler steps.
    double x = *c.population[224];
    const int steps = 60000;
    const double dt = (c.times.back() - c.times[224]) / steps;
    for (int i = 0; i < steps; ++i) x -= 500.0 / 24 * x / (4 + x) / 45 * dt;
    EXPECT_LT(x, 0.9 * *c.population[224]);
    EXPECT_NEAR(*c.population.back(), x, 1e-3 * x);
}
