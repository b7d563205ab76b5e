#include <gtest/gtest.h>

#include "engine/results_predictions.h"
#include "records/case_record.h"

namespace {
constexpr double kZ95 = 1.959963984540054;

CaseRecord Phenytoin() {
    CaseRecord r;
    r.Drug_ID = "ph";
    r.ModelType = 3;
    r.RouteCode = 'O';
    r.PO_Salt = 0.92;
    r.Age = 40, r.SEX = "M", r.Wt = 70, r.Ht = 170, r.CrCl = 100, r.Albumin = 4.4;
    r.population = {1, 50, 4, 1, 4, 500};
    r.bayes = {0.9, 50, 5, 1, 5, 400};
    r.leastSquaresRange.flag = "not plausible";
    return r;
}
}  // namespace

TEST(ResultsPredictions, EachUsableSetBySteadyStateWithTheFittedRange) {
    // Continuous theophylline: average = S F rate / Cl for each set.
    CaseRecord r;
    r.Drug_ID = "th";
    r.ModelType = 1;
    r.RouteCode = 'C';
    r.ParenteralSalt = 0.8;
    r.population = {1, 30, 3, 1, 0, 0};
    r.leastSquares = {1, 30, 4, 1, 0, 0};
    r.leastSquaresRange.flag = "did not converge";
    r.bayes = {1, 30, 2.5, 1, 0, 0};
    FitMatrix covariance{};
    covariance[2][2] = 0.04;  // sd(Cl) 0.2 L/h
    r.bayesRange.covariance = covariance;
    ResultsRegimen regimen;
    regimen.rate = 40;
    const ResultsPredictions p = PredictSteadyState(r, regimen);
    ASSERT_EQ(p.rows.size(), 1u);
    const PredictionRow& average = p.rows[0];
    EXPECT_EQ(average.name, "average");
    EXPECT_NEAR(*average.value[0], 0.8 * 40 / 3.0, 1e-12);
    EXPECT_FALSE(average.value[1]);  // a flagged set gives no level
    EXPECT_NEAR(*average.value[2], 32 / 2.5, 1e-12);
    // The level follows Cl alone: its 95 % points are those at Cl -/+ 1.96 sd.
    ASSERT_TRUE(average.range[1]);
    EXPECT_NEAR(average.range[1]->low, 32 / (2.5 + kZ95 * 0.2), 1e-9);
    EXPECT_NEAR(average.range[1]->high, 32 / (2.5 - kZ95 * 0.2), 1e-9);
    EXPECT_FALSE(average.range[0]);
}

TEST(ResultsPredictions, PhenytoinLevelsAndTheVmaxCheck) {
    const CaseRecord r = Phenytoin();
    ResultsRegimen regimen;
    regimen.dose = 200, regimen.interval = 12;
    const ResultsPredictions p = PredictSteadyState(r, regimen);
    ASSERT_FALSE(p.vmaxReached);
    ASSERT_EQ(p.rows.size(), 3u);
    // Population: R = F S D 24/tau = 368 mg/day, Css = Km R / (Vm - R).
    const double rate = 0.92 * 200 * 2, css = 4 * rate / (500 - rate);
    const double fu = 1 / (1 + 2.0455 * 4.4);
    EXPECT_NEAR(*p.rows[0].value[0], css, 1e-9);
    EXPECT_NEAR(*p.rows[1].value[0], 10 * fu * css, 1e-9);
    EXPECT_NEAR(*p.rows[2].value[0], (2.3 * 500 - 0.9 * rate) * 4 * 50 / ((500 - rate) * (500 - rate)), 1e-9);
    // Bayes takes its own F of the oral product.
    EXPECT_NEAR(*p.rows[0].value[2], 5 * 0.9 * rate / (400 - 0.9 * rate), 1e-9);
    // The check takes the smaller F (0.9) and the larger Vm (500): 0.9 x 0.92 x 620 = 513 mg/day.
    regimen.dose = 310;
    const ResultsPredictions over = PredictSteadyState(r, regimen);
    EXPECT_TRUE(over.vmaxReached);
    EXPECT_TRUE(over.rows.empty());
}

TEST(ResultsPredictions, ProductsTakenWholeAndSingleFits) {
    CaseRecord r = Phenytoin();
    const ParameterSet set{0.7, 50, 4, 1, 4, 500};
    EXPECT_EQ(ResultsF(r, set), 0.7);
    r.RouteCode = 'D';
    EXPECT_EQ(ResultsF(r, set), 1);
    EXPECT_TRUE(SingleFit(r));
    r.Drug_ID = "th", r.ModelType = 1;
    EXPECT_EQ(ResultsF(r, set), 0.7);  // an intermittent infusion keeps the set's F
    r.RouteCode = 'I';
    EXPECT_EQ(ResultsF(r, set), 1);
    r.history.measuredCount = 1;
    EXPECT_TRUE(SingleFit(r));
    r.history.measuredCount = 2;
    EXPECT_FALSE(SingleFit(r));
}
