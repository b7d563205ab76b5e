// Unit conversions against hand arithmetic.
#include <gtest/gtest.h>

#include "fhir/fhir_codes.h"

TEST(FhirCodes, MeasurementsConvertToTheCaseUnitsOrAreRefused) {
    EXPECT_DOUBLE_EQ(*MeasureInCaseUnit(Measure::Weight, 154, "[lb_av]"), 154 * 0.45359237);
    EXPECT_DOUBLE_EQ(*MeasureInCaseUnit(Measure::Height, 70, "[in_i]"), 177.8);
    EXPECT_DOUBLE_EQ(*MeasureInCaseUnit(Measure::Height, 1.8, "m"), 180);
    // 88.4 umol/L of creatinine (113.12 g/mol) is 0.99998 mg/dL.
    EXPECT_NEAR(*MeasureInCaseUnit(Measure::Creatinine, 88.4, "umol/L"), 0.9999808, 1e-9);
    EXPECT_DOUBLE_EQ(*MeasureInCaseUnit(Measure::Albumin, 35, "g/L"), 3.5);
    EXPECT_FALSE(MeasureInCaseUnit(Measure::Creatinine, 1, "mmol/L"));
    EXPECT_FALSE(MeasureInCaseUnit(Measure::Weight, 70, "kg/m2"));
}

TEST(FhirCodes, LevelsAndDosesConvertToTheDrugUnits) {
    const FhirDrug& vm = *DrugOfLoinc("4092-3");
    EXPECT_STREQ(vm.code, "VM");
    EXPECT_EQ(*LevelInDrugUnit(vm, 15, "ug/mL"), 15);
    // 10 umol/L of vancomycin at 1449.3 g/mol is 14.493 mg/L.
    EXPECT_NEAR(*LevelInDrugUnit(vm, 10, "umol/L"), 14.493, 1e-12);
    EXPECT_FALSE(LevelInDrugUnit(vm, 10, "%"));
    const FhirDrug& dg = *DrugOfRxNorm("3407");
    EXPECT_EQ(*LevelInDrugUnit(dg, 0.8, "ng/mL"), 0.8);
    EXPECT_EQ(*DoseInDrugUnit(dg, 0.25, "mg"), 250);
    const FhirDrug& li = *DrugOfCode("li");
    EXPECT_EQ(*LevelInDrugUnit(li, 0.7, "mmol/L"), 0.7);
    EXPECT_FALSE(LevelInDrugUnit(li, 5, "mg/L"));
    EXPECT_EQ(*DoseInDrugUnit(vm, 1.25, "g"), 1250);
    EXPECT_FALSE(DoseInDrugUnit(vm, 10, "mL"));
    EXPECT_TRUE(TakesRoute(vm, "IV"));
    EXPECT_FALSE(TakesRoute(vm, "O"));
}

TEST(FhirCodes, DrugsAreKnownByTheirCodesOrTheNameTheirTextBeginsWith) {
    EXPECT_STREQ(DrugOfLoinc("3321-7")->code, "AK");  // amikacin trough
    EXPECT_STREQ(DrugOfLoinc("35668-3")->code, "GM");
    EXPECT_STREQ(DrugOfLoinc("3982-6")->code, "PC");  // procainamide alone
    EXPECT_FALSE(DrugOfLoinc("3983-4"));              // procainamide with NAPA
    EXPECT_STREQ(DrugOfRxNorm("2551")->code, "CX");
    EXPECT_FALSE(DrugOfRxNorm(""));
    EXPECT_STREQ(DrugOfText("Amikacin 500 mg in 100 mL")->code, "AK");
    EXPECT_STREQ(DrugOfText("OFLOXACIN")->code, "OX");
    EXPECT_STREQ(DrugOfText("lithium carbonate 300 mg capsule")->code, "LI");
    EXPECT_FALSE(DrugOfText("lithium citrate 5 mL"));  // the doses are mg of the carbonate
    EXPECT_FALSE(DrugOfText("fosphenytoin 750 mg PE"));
    EXPECT_FALSE(DrugOfText("gentamicin/betamethasone"));
    EXPECT_FALSE(DrugOfText("Theophylline 125 MG / guaifenesin 100 MG Oral Capsule"));
    EXPECT_STREQ(DrugOfText("Phenytoin 125 mg/5 mL oral suspension")->code, "PH");
    // 10 umol/L of amikacin (585.6 g/mol) is 5.856 mg/L; gentamicin is a
    // mixture with no one molar mass.
    EXPECT_NEAR(*LevelInDrugUnit(*DrugOfCode("ak"), 10, "umol/L"), 5.856, 1e-12);
    EXPECT_FALSE(LevelInDrugUnit(*DrugOfCode("GM"), 10, "umol/L"));
    EXPECT_EQ(*PhenytoinRouteOfForm("385049006"), "C");
    EXPECT_EQ(*PhenytoinRouteOfForm("66076007"), "T");
    EXPECT_EQ(*PhenytoinRouteOfForm("385024007"), "S");
    EXPECT_FALSE(PhenytoinRouteOfForm("385055001"));  // a tablet may be phenytoin sodium
}
