// Serum creatinine typed and shown in umol/L, held in mg/dL.
#include <gtest/gtest.h>

#include <cstdio>

#include "records/creatinine_unit.h"

namespace {
struct Micromoles : ::testing::Test {
    void SetUp() override { ShownCreatinineUnit() = CreatinineUnit::UmolPerL; }
    void TearDown() override { ShownCreatinineUnit() = CreatinineUnit::MgPerDl; }
};
}  // namespace

TEST_F(Micromoles, EveryTenthOfTheRangeReadsBackAsTyped) {
    // 1 mg/dL of creatinine (113.12 g/mol) is 10 mg/L / 113.12 g/mol = 88.4017 umol/L.
    EXPECT_DOUBLE_EQ(StoredScr(88.4), 1.0);
    EXPECT_DOUBLE_EQ(StoredScr(97.0), 1.097);  // 97 / 88.4017 = 1.09726
    EXPECT_EQ(ScrText(1.0, "%.2f"), "88.4");
    char typed[16];
    for (int tenths = 80; tenths <= 13260; ++tenths) {
        std::snprintf(typed, sizeof typed, "%.1f", tenths / 10.0);
        const double stored = StoredScr(tenths / 10.0);
        ASSERT_EQ(ScrText(stored, "%.2f"), typed);
        ASSERT_FALSE(ShownScrProblem(tenths / 10.0));
        ShownCreatinineUnit() = CreatinineUnit::MgPerDl;  // what a workstation in mg/dL makes of it
        ASSERT_FALSE(ShownScrProblem(stored)) << typed;
        ShownCreatinineUnit() = CreatinineUnit::UmolPerL;
    }
    EXPECT_EQ(ShownScrProblem(7.9).value_or(""),
              "Please input a correct Value of SCr. Acceptable range is 8 to 1326 umol/L");
    EXPECT_TRUE(ShownScrProblem(1326.1));
    EXPECT_STREQ(CreatinineUnitText(), "umol/L");
}

TEST(CreatinineUnit, MilligramsAreShownAsHeldAndTheLineChoosesTheUnit) {
    EXPECT_DOUBLE_EQ(StoredScr(1.23), 1.23);
    EXPECT_EQ(ScrText(1.23, "%.2f"), "1.23");
    EXPECT_EQ(ShownScrProblem(0.08).value_or(""),
              "Please input a correct Value of SCr. Acceptable range is 0.09 to 15 mg/dL");
    EXPECT_EQ(CreatinineUnitOfLine("Creatinine: umol/L"), CreatinineUnit::UmolPerL);
    EXPECT_EQ(CreatinineUnitOfLine("  creatinine:UMOL/l "), CreatinineUnit::UmolPerL);
    EXPECT_EQ(CreatinineUnitOfLine("Creatinine: mg/dL"), CreatinineUnit::MgPerDl);
    EXPECT_EQ(CreatinineUnitOfLine("Creatinine: mmol/L"), std::nullopt);
    EXPECT_TRUE(IsCreatinineLine("Creatinine: mmol/L"));
    EXPECT_FALSE(IsCreatinineLine("St. Mary's Hospital Pharmacy"));
}
