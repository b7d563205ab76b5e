// Population models checked against hand calculations of the published
// formulas, branch by branch, with the exact age thresholds.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/patient_measures.h"
#include "engine/population_models.h"
#include "records/case_record.h"

namespace {
const double kInch = 0.39370078740157477;

CaseRecord Patient(const char* drug, double age, double wt, double ht, double scr, double crcl = 0,
                   const char* sex = "M") {
    CaseRecord r;
    r.Drug_ID = drug;
    r.Age = age;
    r.Wt = wt;
    r.Ht = ht;
    r.SCr = scr;
    r.CrCl = crcl;
    r.SEX = sex;
    return r;
}

CaseRecord Selected(CaseRecord r, std::initializer_list<int> factors = {}) {
    for (int f : factors) r.FactorFlags[f] = 1;
    SelectDrugModel(r);
    return r;
}

// Adult 40 y male, 70 kg, 170 cm with an entered CrCl of 100 (no SCr).
const double kIbw = 50 + 2.3 * (170 * kInch - 60);  // 65.937; LBW is lower, so DW = IBW
const double kAbw = kIbw + 0.4 * (70 - kIbw);
CaseRecord Adult(const char* drug) { return Patient(drug, 40, 70, 170, 0, 100); }
}  // namespace

TEST(Aminoglycosides, AdultVolumeClearanceAndFactors) {
    const CaseRecord gm = Selected(Adult("gm"));
    EXPECT_NEAR(gm.population.Vd, 0.3 * kAbw, 1e-12);
    EXPECT_NEAR(gm.population.Cl, 0.06 * (0.82 * 100 + 0.11 * kIbw), 1e-12);
    EXPECT_DOUBLE_EQ(gm.init_vd_sd, 0.3);
    EXPECT_DOUBLE_EQ(gm.Time_wt, 1.005);
    EXPECT_DOUBLE_EQ(gm.IM_ka, 1.9);
    EXPECT_DOUBLE_EQ(gm.population.CF, 1.0);
    EXPECT_DOUBLE_EQ(gm.init_cf_sd, 0.5);

    // ICU and haematology ticked: both Vd multipliers apply; cystic fibrosis: intercept 0.24.
    const CaseRecord ticked = Selected(Adult("ak"), {1, 3, 5});
    EXPECT_NEAR(ticked.population.Vd, 0.3 * kAbw * 1.17 * 1.13, 1e-12);
    EXPECT_NEAR(ticked.population.Cl, 0.06 * (0.82 * 100 + 0.24 * kIbw), 1e-12);
    EXPECT_DOUBLE_EQ(ticked.Time_wt, 1.01);
    EXPECT_DOUBLE_EQ(ticked.TherapeuticMax, 30);

    EXPECT_DOUBLE_EQ(Selected(Patient("tm", 66, 70, 170, 0, 60)).init_vd_sd, 0.5);
    EXPECT_DOUBLE_EQ(Selected(Patient("nm", 76, 70, 170, 0, 60)).IM_ka, 2.7);
}

TEST(Aminoglycosides, InfantBranchesAtTheirBoundaries) {
    // Exactly 0.5 years uses the infant volume; clearance (0.17 A + 0.05) W with SCr below 1.2.
    const CaseRecord half = Selected(Patient("gm", 0.5, 7, 65, 0.4));
    EXPECT_NEAR(half.population.Vd, (0.52 - 0.44 * 0.5) * 7, 1e-12);
    EXPECT_NEAR(half.population.Cl, (0.17 * 0.5 + 0.05) * 7, 1e-12);
    // Just above 0.5: adult volume from the adjusted weight (weight itself here).
    const CaseRecord older = Selected(Patient("gm", 0.51, 7, 65, 0.4));
    EXPECT_NEAR(older.population.Vd, 0.3 * 7, 1e-12);
    // Neonate: 0.52 W; PDA wins over ECMO; ECMO clearance 0.042 W; preterm < 28 weeks.
    EXPECT_NEAR(Selected(Patient("gm", 0.05, 2, 45, 0.5)).population.Vd, 0.52 * 2, 1e-12);
    const CaseRecord pdaEcmo = Selected(Patient("gm", 0.05, 2, 45, 0.5), {8, 9});
    EXPECT_NEAR(pdaEcmo.population.Vd, 0.63 * 2, 1e-12);
    EXPECT_NEAR(pdaEcmo.population.Cl, 0.042 * 2, 1e-12);
    EXPECT_NEAR(Selected(Patient("gm", 0.05, 2, 45, 0.5), {6}).population.Cl, (0.29 * 0.05 + 0.03) * 2, 1e-12);
    EXPECT_NEAR(Selected(Patient("gm", 0.05, 2, 45, 0.5), {7}).population.Cl, (0.29 * 0.05 + 0.04) * 2, 1e-12);
    // A high SCr for a neonate: no clearance branch applies.
    EXPECT_DOUBLE_EQ(Selected(Patient("gm", 0.05, 2, 45, 1.5)).population.Cl, 0);
}

TEST(Aminoglycosides, BurnPatientUsesTheAugmentedCap) {
    // A young man with SCr 0.3: Cockcroft-Gault far above 90 x BSA.
    CaseRecord r = Patient("gm", 25, 80, 180, 0.3);
    const CaseRecord plain = Selected(r);
    const double bsa = BodySurfaceArea(plain);
    EXPECT_NEAR(plain.CrCl, 90 * bsa, 1e-9);
    const CaseRecord burn = Selected(r, {2});
    EXPECT_TRUE(burn.AugmentedCrClCap);
    EXPECT_DOUBLE_EQ(burn.CrCl, 265);
    // Unticking the burn question brings the ordinary cap back.
    CaseRecord again = burn;
    again.FactorFlags[2] = 0;
    SelectDrugModel(again);
    EXPECT_FALSE(again.AugmentedCrClCap);
    EXPECT_NEAR(again.CrCl, 90 * bsa, 1e-9);
}

TEST(Vancomycin, AdultAnuricAndInfant) {
    const CaseRecord adult = Selected(Adult("vm"));
    EXPECT_NEAR(adult.Vc, 0.17 * kAbw, 1e-12);
    EXPECT_NEAR(adult.population.Vd, 0.7 * kAbw, 1e-12);
    EXPECT_NEAR(adult.population.Cl, 0.06 * (0.05 * kIbw + 0.79 * 100), 1e-12);
    EXPECT_DOUBLE_EQ(adult.K21, 0.46);
    EXPECT_EQ(adult.ModelType, 2);

    const CaseRecord anuric = Selected(Patient("vm", 40, 70, 170, 0, 5), {1});
    EXPECT_NEAR(anuric.Vc, 0.45 * kAbw, 1e-12);
    EXPECT_NEAR(anuric.population.Vd, 1.0 * kAbw * 1.13, 1e-12);
    EXPECT_DOUBLE_EQ(anuric.Time_wt, 1.01);

    // Infant of 0.3 years, SCr 0.5: q = 1, p = 1.
    const CaseRecord infant = Selected(Patient("vm", 0.3, 6, 62, 0.5));
    EXPECT_NEAR(infant.population.Cl, 6 * (0.3 * 0.046355 + 0.0123 + 0.028 / 0.5) + 0.006, 1e-12);
    EXPECT_DOUBLE_EQ(infant.init_cl_sd, 0.32);
    EXPECT_DOUBLE_EQ(infant.init_vd_sd, 0.16);
    // Preterm neonate with SCr 0.9: q = 0, p = 0.
    const CaseRecord preterm = Selected(Patient("vm", 0.05, 1.2, 40, 0.9), {3, 5});
    EXPECT_NEAR(preterm.population.Cl, 1.2 * (0.028 / 0.9) + 0.006, 1e-12);
    EXPECT_NEAR(preterm.Vc, 0.28 * 1.2, 1e-12);
    EXPECT_DOUBLE_EQ(preterm.K21, 0.64);
    // Only an entered CrCl for an infant: no finite clearance, so none is given.
    const CaseRecord noScr = Selected(Patient("vm", 0.3, 6, 62, 0, 20));
    EXPECT_DOUBLE_EQ(noScr.population.Cl, 0);
}

TEST(Digoxin, AgeBranchesAndTwoFactorsMultiply) {
    const CaseRecord adult = Selected(Adult("dg"));
    EXPECT_NEAR(adult.population.Vd, 3.84 * kIbw + 3.12 * 100, 1e-12);
    EXPECT_NEAR(adult.population.Cl, 0.06 * (0.8 * kIbw + 1.02 * 100), 1e-12);
    // CHF (coefficients 0.33/0.88) and hypothyroid (x 0.7 on both).
    const CaseRecord ticked = Selected(Adult("dg"), {1, 3});
    EXPECT_NEAR(ticked.population.Vd, (3.84 * kIbw + 3.12 * 100) * 0.7, 1e-12);
    EXPECT_NEAR(ticked.population.Cl, 0.06 * (0.33 * kIbw + 0.88 * 100) * 0.7, 1e-12);
    // Spironolactone and amiloride: x 0.7, renal x 1.2, non-renal x 0.15.
    const CaseRecord diuretics = Selected(Adult("dg"), {8, 9});
    EXPECT_NEAR(diuretics.population.Cl, 0.06 * (0.8 * 0.15 * kIbw + 1.02 * 1.2 * 100) * 0.7, 1e-12);

    const CaseRecord child = Selected(Patient("dg", 5, 18, 110, 0, 60));
    EXPECT_NEAR(child.population.Vd, 16 * DosingWeight(child), 1e-12);
    EXPECT_NEAR(child.population.Cl, 0.06 * (0.7 * IdealBodyWeight(child) + 1.4 * 60), 1e-12);
    EXPECT_NEAR(Selected(Patient("dg", 1, 10, 75, 0.3)).population.Vd, (3.78 + 8.44) * 10, 1e-12);
    EXPECT_NEAR(Selected(Patient("dg", 0.3, 6, 62, 0.4)).population.Cl, 0.06 * (3.2388 - 2.8777 * 0.3) * 6, 1e-12);
    const CaseRecord premature = Selected(Patient("dg", 0.05, 2, 45, 0.5), {10});
    EXPECT_NEAR(premature.population.Vd, 7.5 * 2, 1e-12);
    EXPECT_NEAR(premature.population.Cl, 0.12 * 2, 1e-12);
}

TEST(Phenobarbital, AgeBranchesAndPregnancy) {
    const CaseRecord adult = Selected(Patient("pb", 40, 70, 170, 0, 100, "F"), {4});
    EXPECT_NEAR(adult.population.Vd, 0.6 * 70, 1e-12);
    EXPECT_NEAR(adult.population.Cl, 0.004 * 70 * 0.65, 1e-15);
    EXPECT_DOUBLE_EQ(adult.init_cl_sd, 0.4);
    EXPECT_DOUBLE_EQ(adult.init_vd_sd, 0.1);
    EXPECT_NEAR(Selected(Patient("pb", 12, 40, 150, 0, 80)).population.Cl, (0.0077 - 0.0012333 * 2) * 40, 1e-15);
    EXPECT_NEAR(Selected(Patient("pb", 5, 20, 110, 0, 80)).population.Cl, 0.0077 * 20, 1e-15);
    const CaseRecord neonate = Selected(Patient("pb", 0.05, 3, 50, 0.5));
    EXPECT_NEAR(neonate.population.Vd, (0.91 - 3.7 * 0.05) * 3, 1e-12);
    EXPECT_NEAR(neonate.population.Cl, (0.0325 * 0.05 + 0.005) * 3, 1e-15);
    // Cirrhosis and valproate multiply.
    EXPECT_NEAR(Selected(Adult("pb"), {1, 3}).population.Cl, 0.004 * 70 * 0.66 * 1.35, 1e-15);
}

TEST(Quinidine, AdultChildAndTheTaperAboveNine) {
    const CaseRecord adult = Selected(Adult("qd"), {1, 3});
    EXPECT_NEAR(adult.population.Vd, 2.7 * kIbw * 0.681, 1e-12);
    EXPECT_NEAR(adult.population.Cl, (0.2 * kIbw * 0.54 + 0.0566 * 100) * 0.5, 1e-12);
    // Over 60 and over 50 kg: non-renal part 10 L/h.
    EXPECT_NEAR(Selected(Patient("qd", 61, 70, 170, 0, 50)).population.Cl, 10 + 0.0566 * 50, 1e-12);
    const CaseRecord child = Selected(Patient("qd", 8, 25, 128, 0, 80));
    EXPECT_NEAR(child.population.Cl, 0.46 * DosingWeight(child), 1e-12);
    const CaseRecord taper = Selected(Patient("qd", 9.5, 30, 135, 0, 80));
    EXPECT_NEAR(taper.population.Cl, DosingWeight(taper) * (0.46 - 0.57 * 0.5), 1e-12);
    // Past about 9.8 years the taper would be negative: no clearance is given.
    EXPECT_DOUBLE_EQ(Selected(Patient("qd", 11, 35, 145, 0, 80)).population.Cl, 0);
    EXPECT_DOUBLE_EQ(Selected(Patient("qd", 0.5, 7, 65, 0.4)).population.Vd, 0);
}

TEST(Theophylline, AgeBranchesWeightAndFactors) {
    const CaseRecord adult = Selected(Adult("th"));
    EXPECT_NEAR(adult.population.Vd, 0.35 * 70, 1e-12);  // IBW below weight
    EXPECT_NEAR(adult.population.Cl, 0.032 * 70, 1e-12);
    EXPECT_NEAR(Selected(Patient("th", 40, 60, 170, 0, 100)).population.Cl, 0.04 * 60, 1e-12);
    EXPECT_NEAR(Selected(Patient("th", 61, 70, 170, 0, 100)).population.Cl, 0.035 * 70, 1e-12);
    const CaseRecord teen = Selected(Patient("th", 14, 45, 160, 0, 100));
    EXPECT_NEAR(teen.population.Cl, (0.084 - 0.0055 * 4) * DosingWeight(teen), 1e-12);
    EXPECT_NEAR(Selected(Patient("th", 0.5, 7, 65, 0.4)).population.Vd, (0.8 - 0.31 * 0.5) * 7, 1e-12);
    // Cystic fibrosis and hypothyroid: Cl x 1.8 x 0.8, Vd x 1.3 x 1.4.
    const CaseRecord ticked = Selected(Adult("th"), {11, 15});
    EXPECT_NEAR(ticked.population.Cl, 0.032 * 70 * 1.8 * 0.8, 1e-12);
    EXPECT_NEAR(ticked.population.Vd, 0.35 * 70 * 1.3 * 1.4, 1e-12);
}

TEST(Lithium, SeventyYearsAndFactors) {
    EXPECT_NEAR(Selected(Patient("li", 70, 70, 170, 0, 60)).population.Vd, 0.59 * kIbw, 1e-12);
    EXPECT_NEAR(Selected(Patient("li", 69.9, 70, 170, 0, 60)).population.Vd, 0.73 * kIbw, 1e-12);
    EXPECT_DOUBLE_EQ(Selected(Patient("li", 11.9, 35, 145, 0, 80)).population.Vd, 0);
    const CaseRecord ticked = Selected(Adult("li"), {2, 6});
    EXPECT_NEAR(ticked.population.Cl, (0.006 * kIbw + 0.0084 * 100) * 0.67 * 0.71, 1e-12);
    EXPECT_DOUBLE_EQ(ticked.init_cl_sd, 0.43);
    EXPECT_EQ(ticked.ConcUnit, "mEq/L");
}

TEST(FlucytosineAndQuinolones, AdultsAndAgeLimits) {
    const CaseRecord fc = Selected(Adult("fc"));
    EXPECT_NEAR(fc.population.Vd, 0.71 * kIbw, 1e-12);
    EXPECT_NEAR(fc.population.Cl, 0.06 * (0.01 * kIbw + 0.79 * 100), 1e-12);
    EXPECT_DOUBLE_EQ(Selected(Patient("fc", 0.49, 7, 65, 0.4)).population.Cl, 0);

    const CaseRecord cx = Selected(Adult("cx"));
    const double bsa = BodySurfaceArea(cx);
    EXPECT_NEAR(cx.population.Vd, 2 * kAbw, 1e-12);
    EXPECT_NEAR(cx.population.Cl, kIbw * bsa * 0.5780346820809249 * (0.0025085 * 100 / bsa + 0.167), 1e-12);
    EXPECT_FALSE(cx.TherapeuticRangeSet);

    const CaseRecord ox = Selected(Adult("ox"));
    EXPECT_NEAR(ox.population.Vd, 1.36 * kIbw, 1e-12);
    EXPECT_NEAR(ox.population.Cl, 0.06 * (1.21 * 100 + 36), 1e-12);
    EXPECT_DOUBLE_EQ(Selected(Patient("ox", 17.9, 60, 170, 0, 100)).population.Vd, 0);

    // A range left by an earlier drug never shows for a quinolone.
    CaseRecord r = Selected(Adult("gm"));
    r.Drug_ID = "ox";
    SelectDrugModel(r);
    EXPECT_FALSE(r.TherapeuticRangeSet);
    EXPECT_DOUBLE_EQ(r.TherapeuticMax, 0);
}

TEST(Procainamide, AdultChildInfantAndFactors) {
    const CaseRecord adult = Selected(Adult("pc"), {2, 3});
    EXPECT_NEAR(adult.population.Vd, 1.9 * kIbw, 1e-12);
    EXPECT_NEAR(adult.population.Cl, 0.06 * (3.12 * kIbw + 1.62 * 0.54 * 100), 1e-12);
    EXPECT_NEAR(Selected(Adult("pc"), {1, 4}).population.Cl, 0.06 * (3.9 * kIbw + 2.7 * 100) * 0.77 * 0.65, 1e-12);
    const CaseRecord teen = Selected(Patient("pc", 15, 50, 165, 0, 100));
    EXPECT_NEAR(teen.population.Vd, (2.9 - 0.166 * 3) * DosingWeight(teen), 1e-12);
    EXPECT_NEAR(Selected(Patient("pc", 0.5, 7, 65, 0.4)).population.Cl, 0.4 * 7, 1e-12);
    // Child branches in mL/min/kg, converted to L/h; no factors act on them.
    EXPECT_NEAR(Selected(Patient("pc", 4, 16, 100, 0.4), {1}).population.Cl, 0.06 * (7.3 + 1.86 * 3.5) * 16, 1e-12);
    EXPECT_NEAR(Selected(Patient("pc", 10, 32, 138, 0.5)).population.Cl, 0.06 * 19.4 * 32, 1e-12);
    EXPECT_NEAR(Selected(Patient("pc", 10, 32, 138, 0.5)).population.Vd, 2.9 * 32, 1e-12);
}

TEST(Phenytoin, AdultModelWithFreeFraction) {
    CaseRecord in = Adult("ph");
    in.Albumin = 4.4;
    const CaseRecord r = Selected(in);
    const double fu = 1 / (1 + 2.0455 * 4.4);
    EXPECT_NEAR(r.FreeFraction, fu, 1e-12);
    const double v0 = 0.65 * (kIbw + 1.33 * (70 - kIbw));
    EXPECT_NEAR(r.population.Vd, 10 * fu * v0, 1e-12);
    EXPECT_NEAR(r.population.Km, 5.7 / (10 * fu), 1e-12);
    EXPECT_DOUBLE_EQ(r.population.Cl, r.population.Km);
    EXPECT_NEAR(r.population.Vm, std::pow(70 / 70.0, 0.6) * (500 - 1.5 * 22), 1e-12);
    EXPECT_NEAR(r.TherapeuticMin, 10 / (10 * fu), 1e-12);
    EXPECT_NEAR(r.TherapeuticMax, 20 / (10 * fu), 1e-12);
    EXPECT_DOUBLE_EQ(r.PhenytoinAbsRate, 60);
    EXPECT_DOUBLE_EQ(r.init_vm_sd, 0.3);
    EXPECT_EQ(r.ModelType, 3);

    // Slow metaboliser, valproate, neurologic injury, fluconazole all ticked in pairs.
    const CaseRecord slowVpa = Selected(in, {1, 2});
    const double fu2 = fu * 1.5;
    EXPECT_NEAR(slowVpa.population.Km, 5.7 / 2 / (10 * fu2), 1e-12);
    const CaseRecord neuroFluc = Selected(in, {4, 6});
    EXPECT_NEAR(neuroFluc.population.Vm, (500 - 1.5 * 22) * 1.4, 1e-12);
    EXPECT_NEAR(neuroFluc.population.Km, 5.7 / (10 * fu) * 1.75, 1e-12);
}

TEST(Phenytoin, ChildAndInfantBranches) {
    CaseRecord child = Patient("ph", 10, 30, 138, 0, 100);
    child.Albumin = 4;
    const CaseRecord c = Selected(child);
    EXPECT_NEAR(c.population.Km, 6.4 / (10 * c.FreeFraction), 1e-12);
    EXPECT_NEAR(c.population.Vm, std::pow(30 / 70.0, 0.6) * (805 - 25 * 4), 1e-12);
    EXPECT_DOUBLE_EQ(c.PhenytoinAbsRate, 30);
    CaseRecord infant = Patient("ph", 0.3, 6, 62, 0.4);
    infant.Albumin = 3.5;
    const CaseRecord i = Selected(infant);
    EXPECT_NEAR(i.population.Km, (5 + 0.3 * (0.3 - 0.083)) / (10 * i.FreeFraction), 1e-12);
    EXPECT_NEAR(i.population.Vm, 11.5 * 6, 1e-12);
    EXPECT_NEAR(i.population.Vd, 10 * i.FreeFraction * 6, 1e-12);
    CaseRecord newborn = Patient("ph", 0.05, 3, 50, 0.5);
    newborn.Albumin = 3;
    const CaseRecord n = Selected(newborn);
    EXPECT_DOUBLE_EQ(n.FreeFraction, 0.2);
    EXPECT_DOUBLE_EQ(n.population.F, 0.9);
    EXPECT_DOUBLE_EQ(n.Init_f_sd, 0.2);
}
