#include <gtest/gtest.h>

#include "engine/user_drug.h"
#include "records/case_record.h"
#include "records/dosage_form.h"

namespace {
CaseRecord WithDefinition() {
    CaseRecord r;
    r.Drug_ID = "zz";
    r.Wt = 70;
    UserDrugDefinition& u = r.userDrug;
    u.drugName = "Drug X";
    u.clearance = "50";
    u.clearanceUnit = "mL/min";
    u.volume = "0.5";
    u.volumeUnit = "L/kg";
    u.compliance = "85";
    u.therapeuticMin = "10";
    u.therapeuticMax = "20";
    u.timeLag = "0.50";
    u.imKa = "1.5";
    u.imSalt = "1.00";
    u.imF = "90";
    return r;
}
}  // namespace

TEST(UserDrug, ApplyConvertsUnitsAndSetsTheModel) {
    CaseRecord r = WithDefinition();
    ApplyUserDrug(r);
    EXPECT_EQ(r.userDrug.clearance, "3");
    EXPECT_EQ(r.userDrug.clearanceUnit, "L/h");
    EXPECT_EQ(r.userDrug.volume, "35");
    EXPECT_EQ(r.userDrug.volumeUnit, "L");
    EXPECT_DOUBLE_EQ(r.population.Cl, 3);
    EXPECT_DOUBLE_EQ(r.population.Vd, 35);
    EXPECT_DOUBLE_EQ(r.population.CF, 0.85);
    EXPECT_EQ(r.ModelType, 1);
    EXPECT_DOUBLE_EQ(r.Fixed_err, 15 * 0.05);
    EXPECT_DOUBLE_EQ(r.GraphMax, 30);
    EXPECT_DOUBLE_EQ(r.init_vd_sd, 0.3);
    EXPECT_DOUBLE_EQ(r.TimeLag, 0.5);
    // Applying again (a forward button after Save) changes nothing.
    ApplyUserDrug(r);
    EXPECT_DOUBLE_EQ(r.population.Cl, 3);
    EXPECT_DOUBLE_EQ(r.population.Vd, 35);
    EXPECT_DOUBLE_EQ(r.population.CF, 0.85);
    r.userDrug.units = "mcg-mcg/L";
    ApplyUserDrug(r);
    EXPECT_EQ(r.DoseUnit, "mcg");
    EXPECT_EQ(r.ConcUnit, "mcg/L");
}

TEST(UserDrug, GroupsDecideTheRouteProducts) {
    CaseRecord r = WithDefinition();
    EXPECT_TRUE(DefinitionComplete(r.userDrug));
    EXPECT_FALSE(IvGroupComplete(r.userDrug));
    EXPECT_EQ(UserDrugRouteProducts(r.userDrug), std::vector<std::string>{"IM - "});
    r.userDrug.ivSalt = "1.00";
    r.userDrug.oralForm = "Tablet";
    r.userDrug.oralSalt = "1.00";
    r.userDrug.oralF = "80";
    // An oral group with an empty ka is incomplete.
    EXPECT_FALSE(OralGroupComplete(r.userDrug));
    r.userDrug.oralKa = "1.2";
    EXPECT_EQ(UserDrugRouteProducts(r.userDrug),
              (std::vector<std::string>{"Intermittent IV - ", "Continuous IV - ", "IM - ", "Oral - Tablet"}));
    // The dosage form of the chosen product takes its values from the matching group.
    ApplyUserDrug(r);
    ChooseRouteProduct(r, "IM - ");
    EXPECT_DOUBLE_EQ(r.IM_ka, 1.5);
    EXPECT_DOUBLE_EQ(r.population.F, 0.9);
    r.userDrug.imF.clear();
    r.userDrug.ivSalt.clear();
    r.userDrug.oralKa.clear();
    EXPECT_FALSE(DefinitionComplete(r.userDrug));
}

TEST(UserDrug, FieldChecks) {
    EXPECT_FALSE(UserDrugFieldProblem(UserDrugField::IvSalt, ""));
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::IvSalt, "0"), "Please input a correct Value of salt.");
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::OralSalt, "1.5"), "Please input a correct Value of salt.");
    EXPECT_FALSE(UserDrugFieldProblem(UserDrugField::ImSalt, "0.001"));
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::ImKa, "4.1"), "Please input a correct Value of Ka.");
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::OralKa, "abc"), "Please input a correct Value of ka.");
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::ImF, "0.5"), "Please input a correct Value of F.");
    EXPECT_FALSE(UserDrugFieldProblem(UserDrugField::OralF, "100"));
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::OralForm, "Pill"), "Please select a valid dosage form.");
    EXPECT_FALSE(UserDrugFieldProblem(UserDrugField::OralForm, "SR Capsule"));
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::Compliance, "101"), "Please input a correct Value of CF.");
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::Clearance, "-1"), "Please input a correct Value of CL.");
    EXPECT_EQ(*UserDrugFieldProblem(UserDrugField::Volume, "-1"), "Please input a correct Value of VD.");
}

TEST(UserDrug, PaddedSaltAndKaTexts) {
    EXPECT_EQ(PaddedRateText("0.5"), "0.500");
    EXPECT_EQ(PaddedRateText("1"), "1.00");
    EXPECT_EQ(PaddedRateText("2"), "2.00");
}

TEST(UserDrug, FixedErrorIsAPercentOfTheRangeMiddle) {
    // Range 10-20: the middle is 15, 5 % of it 0.75.
    EXPECT_NEAR(FixedErrorPercent(0.75, 10, 20), 5, 1e-12);
    EXPECT_NEAR(FixedErrorOfPercent(5, 10, 20), 0.75, 1e-12);
    EXPECT_NEAR(FixedErrorPercent(FixedErrorOfPercent(12.5, 4, 9), 4, 9), 12.5, 1e-12);
    EXPECT_EQ(FixedErrorPercent(0.75, 0, 0), 0);
}
