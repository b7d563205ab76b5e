#include <gtest/gtest.h>

#include "records/drug_catalogue.h"
#include "records/text_format.h"

TEST(DrugCatalogue, SixteenCodesWithUnitsAndModelKinds) {
    ASSERT_EQ(DrugCatalogue().size(), 16u);
    EXPECT_EQ(FindDrug("dg")->doseUnit, std::string("mcg"));
    EXPECT_EQ(FindDrug("DG")->concUnit, std::string("mcg/L"));
    EXPECT_EQ(FindDrug("LI")->concUnit, std::string("mEq/L"));
    EXPECT_EQ(FindDrug("VM")->modelType, 2);
    EXPECT_EQ(FindDrug("PH")->modelType, 3);
    EXPECT_EQ(FindDrug("OX")->name, std::string("Levofloxacin/Ofloxacin"));
    EXPECT_FALSE(FindDrug("XX"));
}

TEST(DrugNameOf, CodesAndNamesBothWays) {
    EXPECT_EQ(DrugNameOf("gm"), "Gentamicin");
    EXPECT_EQ(DrugNameOf("Zz"), "User's Choice One-Comp Drug");
    EXPECT_EQ(DrugNameOf("QQ"), "None");
    EXPECT_EQ(DrugNameOf("Phenytoin"), "PH");
    EXPECT_EQ(DrugNameOf("User's Choice Anything"), "ZZ");
    EXPECT_EQ(DrugNameOf("Aspirin"), "No");
}

TEST(RouteProducts, ListsAndDefaults) {
    EXPECT_EQ(RouteProductsOf("nm"), (std::vector<std::string>{"Intermittent IV - Injection", "IM - Injection"}));
    EXPECT_EQ(RouteProductsOf("TH").size(), 15u);
    EXPECT_EQ(RouteProductsOf("PH").size(), 6u);
    EXPECT_EQ(DefaultRouteProduct("DG"), "Oral - Tablets");
    EXPECT_EQ(DefaultRouteProduct("TH"), "Oral - Tablets (Theo - dur 200,300 mg)");
    EXPECT_EQ(DefaultRouteProduct("QD"), "Oral - Immediate - Release Tablets (Sulfate)");
    EXPECT_EQ(DefaultRouteProduct("PC"), "Oral - Fast - Release Capsules");
    EXPECT_EQ(DefaultRouteProduct("CX"), "Intermittent IV - Injection");
    EXPECT_EQ(DefaultRouteProduct("LI"), "Oral - Capsules");
    EXPECT_EQ(DefaultRouteProduct("ZZ"), "");
    EXPECT_EQ(RouteProductsOfUserDrug(true, false, true, "Tablet"),
              (std::vector<std::string>{"Intermittent IV - ", "Continuous IV - ", "Oral - Tablet"}));
}

TEST(RouteCodes, PrefixesAndFormNames) {
    EXPECT_EQ(RouteCodeOf("Continuous IV - Injection"), 'C');
    EXPECT_EQ(RouteCodeOf("Intermittent IV - Injection (Fosphenytoin)"), 'D');
    EXPECT_EQ(RouteCodeOf("IM - Injection(Gluconate)"), 'I');
    EXPECT_EQ(RouteCodeOf("Oral - Syrup"), 'O');
    EXPECT_EQ(RouteCodeOf("Intermittent"), 'X');
    EXPECT_EQ(RouteCodeOf(""), 'X');
    EXPECT_EQ(FormNameOf("Intermittent IV - Injection (Fosphenytoin)"), "Injection (Fosphenytoin)");
    EXPECT_EQ(FormNameOf("Oral - Dura - Tabs Tablets (Quinaglute)"), "Dura - Tabs Tablets (Quinaglute)");
    EXPECT_EQ(FormNameOf("Intermittent IV - "), "");
}

// AUC24 is labelled in the unit of the levels it is the area under: a user's
// drug measured in mcg/L must not read mg.
TEST(AreaUnit, TheLevelsUnitTimesHours) {
    EXPECT_EQ(AreaUnit("mg/L"), "mg\u00b7h/L");
    EXPECT_EQ(AreaUnit("mcg/L"), "mcg\u00b7h/L");
    EXPECT_EQ(AreaUnit("mEq/L"), "mEq\u00b7h/L");
}
