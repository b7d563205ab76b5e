#include <gtest/gtest.h>

#include <cmath>

#include "calc_runner.h"

using nlohmann::json;

namespace {
json Gentamicin() {
    return json::parse(R"({
      "today": "2026-12-08",
      "patient": { "age_years": 40.0, "sex": "M", "weight_kg": 70.0, "height_cm": 170.0, "scr_mg_dl": 1.0 },
      "drug": "GM"
    })");
}
}  // namespace

TEST(KinevoCalc, GentamicinAdultByHand) {
    const CalcRun run = RunCalcProgram(Gentamicin());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    const double ibw = 50 + 2.3 * (170 * 0.39370078740157477 - 60);
    const double crcl = ibw * (140 - 40) / 72.0;  // LBW is below IBW, so DW = IBW
    const double abw = ibw + 0.4 * (70 - ibw);
    EXPECT_NEAR(out["measures"]["ibw_kg"].get<double>(), 65.937, 0.0005);
    EXPECT_NEAR(out["measures"]["crcl_ml_min"].get<double>(), crcl, 1e-9);
    EXPECT_NEAR(out["population"]["Vd"].get<double>(), 0.3 * abw, 1e-9);
    EXPECT_NEAR(out["population"]["Cl"].get<double>(), 0.06 * (0.82 * crcl + 0.11 * ibw), 1e-9);
    EXPECT_NEAR(out["population"]["Cl"].get<double>(), 4.941, 0.0005);
    EXPECT_EQ(out["model"]["route_code"], "D");
    EXPECT_EQ(out["model"]["therapeutic_max"], 10.0);
    EXPECT_TRUE(out["measures"]["free_fraction"].is_null());
    EXPECT_EQ(out["warning"], "");
}

TEST(KinevoCalc, FactorsRouteProductAndParameters) {
    json in = Gentamicin();
    in["factors"] = {1, 5};
    in["route_product"] = "IM - Injection";
    in["parameters"] = {{"Cl", 3.5}};
    const CalcRun run = RunCalcProgram(in);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    EXPECT_EQ(out["factors"],
              json({"Is this a critically ill or ICU patient ?", "Is this a cystic fibrosis patient ?"}));
    EXPECT_EQ(out["model"]["time_wt"], 1.01);
    EXPECT_EQ(out["model"]["ka"], 1.9);
    EXPECT_EQ(out["population"]["Cl"], 3.5);
}

TEST(KinevoCalc, CiprofloxacinHasNoRangeAndChildGetsHighClearanceWarning) {
    json cx = Gentamicin();
    cx["drug"] = "cx";
    const json cxOut = RunCalcProgram(cx).json();
    EXPECT_TRUE(cxOut["model"]["therapeutic_min"].is_null());
    EXPECT_TRUE(cxOut["model"]["therapeutic_max"].is_null());

    // A 10-year-old on gentamicin: Cl / age above 0.1.
    json child = Gentamicin();
    child["patient"] = {{"age_years", 10}, {"sex", "F"}, {"weight_kg", 32}, {"height_cm", 138}, {"scr_mg_dl", 0.5}};
    EXPECT_EQ(RunCalcProgram(child).json()["warning"], "Warning: High Clearance. Please recheck data.");
}

TEST(KinevoCalc, BirthdayGivesTheAge) {
    json in = Gentamicin();
    in["patient"].erase("age_years");
    in["patient"]["birthday"] = "1986-03-15";
    const json out = RunCalcProgram(in).json();
    EXPECT_NEAR(out["measures"]["age_years"].get<double>(), 40 + 268 / 365.0, 1e-9);
}

TEST(KinevoCalc, BadInputExitsTwoWithOneLine) {
    json unknownKey = Gentamicin();
    unknownKey["dose"] = 5;
    ExpectRefused(unknownKey, "dose");
    json badWeight = Gentamicin();
    badWeight["patient"]["weight_kg"] = -3;
    ExpectRefused(badWeight, "Please input a valid Weight.");
    json badDrug = Gentamicin();
    badDrug["drug"] = "XY";
    ExpectRefused(badDrug, "drug");
    json threeFactors = Gentamicin();
    threeFactors["factors"] = {1, 2, 3};
    ExpectRefused(threeFactors, "Select no more than 2 factors.");
    json wrappedFactor = Gentamicin();
    wrappedFactor["factors"] = json::array({4294967297LL});  // 2^32 + 1, which an int sees as 1
    ExpectRefused(wrappedFactor, "question 4294967297 is not in this patient's list");
    json badProduct = Gentamicin();
    badProduct["route_product"] = "Oral - Tablets";
    ExpectRefused(badProduct, "route_product");
    json bothAges = Gentamicin();
    bothAges["patient"]["birthday"] = "1986-03-15";
    ExpectRefused(bothAges, "patient");
    ExpectRefused(json::parse(R"({"patient": 1})"), "patient");
    const CalcRun notJson = RunCalcProgram(std::string("{not json"));
    EXPECT_EQ(notJson.exitCode, 2);
    EXPECT_TRUE(notJson.out.empty());
}
