#include <gtest/gtest.h>

#include <cmath>

#include "engine/patient_measures.h"

namespace {
const double kInch = 0.39370078740157477;
}

TEST(IdealBodyWeight, AdultFormulaBySex) {
    // 40-year-old male, 170 cm: 50 + 2.3 x (66.929 - 60) = 65.937 kg.
    EXPECT_NEAR(IdealBodyWeight(PatientBody{40, "M", 70, 170}), 65.937, 0.001);
    EXPECT_NEAR(IdealBodyWeight(PatientBody{40, "F", 60, 170}), 45.5 + 2.27 * (170 * kInch - 60), 1e-12);
}

TEST(IdealBodyWeight, ChildAndAdolescentBranches) {
    // 17 years, 160 cm: mean of the adult and the tall-child formula.
    const double x = 160 * kInch - 60;
    EXPECT_NEAR(IdealBodyWeight(PatientBody{17, "M", 60, 160}), ((50 + 2.3 * x) + (2.27 * x + 39)) / 2, 1e-12);
    // 17 years, 150 cm: child formula only.
    EXPECT_NEAR(IdealBodyWeight(PatientBody{17, "F", 40, 150}), 2.396 * std::exp(0.01863 * 150), 1e-12);
    // A 10-year-old girl of 160 cm: tall-child female formula.
    EXPECT_NEAR(IdealBodyWeight(PatientBody{10, "F", 40, 160}), 2.27 * x + 42.2, 1e-12);
    // Under one year the child formula gives the weight itself.
    EXPECT_DOUBLE_EQ(IdealBodyWeight(PatientBody{0.5, "M", 7.5, 65}), 7.5);
}

TEST(IdealBodyWeight, ShortAdults) {
    const double child = 2.396 * std::exp(0.01863 * 120);
    EXPECT_NEAR(IdealBodyWeight(PatientBody{30, "F", 40, 120}), 0.9 * child, 1e-12);
    EXPECT_NEAR(IdealBodyWeight(PatientBody{30, "M", 40, 120}), child, 1e-12);
    EXPECT_DOUBLE_EQ(IdealBodyWeight(PatientBody{30, "U", 40, 120}), 0.0);
}

TEST(BodyMeasures, LeanWeightSurfaceAreaDosingAndAdjustedWeight) {
    const PatientBody obese{40, "M", 120, 170};
    const double bmi = 120 / (1.7 * 1.7);
    const double lbw = 9270 * 120 / (6680 + 216 * bmi);
    EXPECT_NEAR(LeanBodyWeight(obese), lbw, 1e-9);
    EXPECT_NEAR(BodySurfaceArea(obese), 0.024265 * std::pow(120, 0.5378) * std::pow(170, 0.3964), 1e-12);
    const double ibw = 50 + 2.3 * (170 * kInch - 60);
    EXPECT_NEAR(DosingWeight(obese), std::max(ibw, lbw), 1e-9);
    EXPECT_NEAR(AdjustedBodyWeight(obese), ibw + 0.4 * (120 - ibw), 1e-9);
    // At or below the ideal weight both are the weight itself.
    const PatientBody lean{40, "M", 60, 170};
    EXPECT_DOUBLE_EQ(DosingWeight(lean), 60);
    EXPECT_DOUBLE_EQ(AdjustedBodyWeight(lean), 60);
}

TEST(EstimateCrCl, CockcroftGaultOnDosingWeight) {
    // 40 y male, 70 kg, 170 cm, SCr 1: DW = max(IBW, LBW) = 65.937; (140-40) x DW / 72.
    const PatientBody man{40, "M", 70, 170};
    EXPECT_NEAR(EstimateCrCl(man, 1.0, 0, false), 91.58, 0.005);
    // An entered clearance stands as entered.
    EXPECT_DOUBLE_EQ(EstimateCrCl(man, 1.0, 140, false), 140);
}

TEST(EstimateCrCl, WomanFactorOnlyWhenLeanWeightDoesNotExceedIdeal) {
    const PatientBody woman{40, "F", 60, 165};
    const double dw = DosingWeight(woman);
    EXPECT_LT(LeanBodyWeight(woman), IdealBodyWeight(woman));
    EXPECT_NEAR(EstimateCrCl(woman, 1.0, 0, false), dw * 100 / 72 * 0.85, 1e-9);
    // Obese short woman: LBW above IBW, no 0.85.
    const PatientBody obese{40, "F", 110, 150};
    ASSERT_GT(LeanBodyWeight(obese), IdealBodyWeight(obese));
    EXPECT_NEAR(EstimateCrCl(obese, 2.0, 0, false), DosingWeight(obese) * 100 / (72 * 2.0), 1e-9);
}

TEST(EstimateCrCl, ChildFormulaAndItsCaps) {
    // 3 years, 14 kg, 95 cm, SCr 0.2: formula far above 58 x BSA, so capped there.
    const PatientBody toddler{3, "M", 14, 95};
    const double bsa = 0.024265 * std::pow(14, 0.5378) * std::pow(95, 0.3964);
    EXPECT_NEAR(EstimateCrCl(toddler, 0.2, 0, false), 58 * bsa, 1e-9);
    // 10 years: capped at 90 x BSA, not 58.
    const PatientBody child{10, "M", 32, 138};
    const double bsa10 = 0.024265 * std::pow(32, 0.5378) * std::pow(138, 0.3964);
    EXPECT_NEAR(EstimateCrCl(child, 0.2, 0, false), 90 * bsa10, 1e-9);
    // Uncapped value: BSA x 0.48 x H / SCr x 0.578...
    EXPECT_NEAR(EstimateCrCl(child, 1.0, 0, false), bsa10 * 0.48 * 138 * 0.5780346820809249, 1e-9);
    // With the augmented cap only values above 265 are cut.
    EXPECT_NEAR(EstimateCrCl(child, 0.2, 0, true), bsa10 * 0.48 * 138 / 0.2 * 0.5780346820809249, 1e-9);
    EXPECT_DOUBLE_EQ(EstimateCrCl(PatientBody{25, "M", 80, 180}, 0.1, 0, true), 265);
    // Under six months there is no estimate.
    EXPECT_DOUBLE_EQ(EstimateCrCl(PatientBody{0.4, "M", 6, 62}, 0.3, 0, false), 0);
}

TEST(FreeFraction, AdultBandsAndFactors) {
    const PatientBody adult{40, "M", 70, 170};
    EXPECT_NEAR(FreeFraction(adult, 4.4, 100, false, false), 1 / (1 + 2.0455 * 4.4), 1e-12);
    EXPECT_NEAR(FreeFraction(adult, 4.4, 5, false, false), 1 / (4.4 + 1), 1e-12);
    EXPECT_NEAR(FreeFraction(adult, 4.4, 20, false, false), 1 / (4.4 * (1 + 0.07 * 10) + 1), 1e-12);
    EXPECT_NEAR(FreeFraction(adult, 4.4, 100, true, true), 2.25 / (1 + 2.0455 * 4.4), 1e-12);
    EXPECT_DOUBLE_EQ(FreeFraction(PatientBody{0.05, "M", 3, 50}, 3, 10, false, false), 0.2);
}
