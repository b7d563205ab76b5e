#include <gtest/gtest.h>

#include <cmath>

#include "calc_runner.h"

using nlohmann::json;

namespace {
json Adult(const char* drug) {
    json in = json::parse(R"({
      "today": "2026-12-08",
      "patient": { "age_years": 40.0, "sex": "M", "weight_kg": 70.0, "height_cm": 170.0, "scr_mg_dl": 1.0,
                   "albumin_g_dl": 4.4 }
    })");
    in["drug"] = drug;
    return in;
}

json Output(const json& in) {
    const CalcRun run = RunCalcProgram(in);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.exitCode == 0 ? run.json() : json::object();
}

json UserDrug() {
    return json::parse(R"({ "name": "Drug X", "clearance": 50, "clearance_unit": "mL/min", "volume": 0.5,
                            "volume_unit": "L/kg", "cf_percent": 100, "therapeutic_min": 10,
                            "therapeutic_max": 20, "im_ka": 1.5, "im_salt": 1, "im_f_percent": 80 })");
}
}  // namespace

TEST(KinevoCalcForecast, GentamicinDesignForecastAgain) {
    json in = Adult("GM");
    in["design"] = {{"desired_post", 8}, {"post_time", 1}, {"desired_trough", 1}, {"infusion_time", 0.5}};
    const json design = Output(in)["design"];
    in.erase("design");
    in["forecast"] = {{"dose", design["dose"]},
                      {"interval", design["interval"]},
                      {"infusion_time", 0.5},
                      {"post_time", 1},
                      {"mic", 2}};
    const json out = Output(in);
    const json f = out["forecast"];
    EXPECT_NEAR(f["post"].get<double>(), 8, 1e-9);
    EXPECT_NEAR(f["trough"].get<double>(), 1, 1e-9);
    // The average by hand from the population set.
    const double cl = out["population"]["Cl"].get<double>();
    EXPECT_NEAR(f["average"].get<double>(), design["dose"].get<double>() / (design["interval"].get<double>() * cl),
                1e-9);
    EXPECT_NEAR(f["post_mic"].get<double>(), 4, 1e-9);
    EXPECT_TRUE(f["uneven"]["peak"].is_null());
}

TEST(KinevoCalcForecast, VancomycinTwoCompartment) {
    json in = Adult("VM");
    in["forecast"] = {{"dose", 1000}, {"interval", 12}, {"infusion_time", 1}, {"post_time", 1}, {"mic", 10}};
    const json f = Output(in)["forecast"];
    EXPECT_TRUE(f["average"].is_null());
    EXPECT_EQ(f["time_above_mic_label"], "hr/ 24 hr");
    EXPECT_GT(f["time_above_mic"].get<double>(), 0);
    EXPECT_LE(f["time_above_mic"].get<double>(), 24);
    EXPECT_GT(f["peak"].get<double>(), f["post"].get<double>());
}

TEST(KinevoCalcForecast, VancomycinAuc24DesignForecastAgain) {
    json in = Adult("VM");
    in["design"] = {{"auc24_target", 500}, {"auc24_interval", 12}, {"infusion_time", 1}, {"trough_limit", 20}};
    const json a = Output(in)["design"]["auc24"];
    ASSERT_FALSE(a["dose"].is_null()) << a["message"];
    EXPECT_EQ(a["interval"], 12);
    in.erase("design");
    in["forecast"] = {{"dose", a["dose"]}, {"interval", 12}, {"infusion_time", 1}, {"post_time", 0}};
    const json f = Output(in)["forecast"];
    EXPECT_NEAR(f["auc24"].get<double>(), 500, 1e-9);
    EXPECT_NEAR(f["trough"].get<double>(), a["trough"].get<double>(), 1e-9);
    EXPECT_EQ(a["trough_above_limit"], f["trough"].get<double>() > 20);
}

TEST(KinevoCalcForecast, PhenytoinDailyDoseGivesItsAverageBack) {
    json in = Adult("PH");
    in["phenytoin"] = {{"desired_average", 15}};
    const json first = Output(in)["phenytoin"];
    ASSERT_TRUE(first["daily_dose"].is_number());
    EXPECT_EQ(first["interval"], 24);
    in["phenytoin"] = {{"regimens", {{{"dose", first["daily_dose"]}, {"interval", 24}}}}};
    const json again = Output(in)["phenytoin"];
    EXPECT_NEAR(again["observed_average"].get<double>(), 15, 1e-9);
    EXPECT_EQ(again["message"], "");
    // A rate at Vmax gives the page's message and no levels.
    in["phenytoin"] = {{"regimens", {{{"dose", 5000}, {"interval", 24}}}}};
    const json over = Output(in)["phenytoin"];
    EXPECT_EQ(over["message"], "Daily Dosage is greater than Vmax.");
    EXPECT_TRUE(over["observed_average"].is_null());
}

TEST(KinevoCalcForecast, PhenytoinInjectionIsTakenWholeAsOnThePages) {
    json in = Adult("PH");
    in["route_product"] = "Intermittent IV - Injection";
    in["parameters"] = {{"F", 0.5}};
    in["phenytoin"] = {{"desired_average", 15}};
    const json out = Output(in);
    // R = Vm Css / ((Km + Css) S F) with F = 1, whatever F the set holds.
    const double vm = out["population"]["Vm"].get<double>(), km = out["population"]["Km"].get<double>();
    const double salt = out["model"]["salt"].get<double>();
    EXPECT_NEAR(out["phenytoin"]["daily_dose"].get<double>(), vm * 15 / ((km + 15) * salt), 1e-9);
}

TEST(KinevoCalcForecast, UserDrugImOnly) {
    json in = Adult("ZZ");
    in["user_drug"] = UserDrug();
    in["forecast"] = {{"dose", 300}, {"interval", 12}};
    const json out = Output(in);
    EXPECT_EQ(out["model"]["route_product"], "IM - ");
    EXPECT_DOUBLE_EQ(out["population"]["Cl"].get<double>(), 3);
    EXPECT_DOUBLE_EQ(out["population"]["Vd"].get<double>(), 35);
    EXPECT_DOUBLE_EQ(out["population"]["F"].get<double>(), 0.8);
    EXPECT_NEAR(out["forecast"]["average"].get<double>(), 0.8 * 300 / (3 * 12.0), 1e-12);
    in["route_product"] = "Intermittent IV - ";
    EXPECT_NE(Refusal(in).find("route_product"), std::string::npos);
}

TEST(KinevoCalcForecast, LithiumDesignInMilligrams) {
    json in = Adult("LI");
    in["design"] = {{"desired_average", 0.8}};
    const json out = Output(in);
    const double cl = out["population"]["Cl"].get<double>(), F = out["population"]["F"].get<double>();
    const double salt = out["model"]["salt"].get<double>();
    EXPECT_NEAR(out["design"]["daily"].get<double>(), 24 * 0.8 * cl / (salt * F) * 36.94581280788178, 1e-9);
    // The AUC24 of 300 mg every 12 h in mEq.h/L, as its levels are: the
    // area of one interval is the mEq absorbed over the clearance.
    in.erase("design");
    in["forecast"] = {{"dose", 300}, {"interval", 12}};
    const json f = Output(in)["forecast"];
    EXPECT_NEAR(f["auc24"].get<double>(), 24 * F * salt * 300 * 0.027066666666666666 / (12 * cl), 1e-9);
}

TEST(KinevoCalcForecast, BadInputIsRefusedWithThePagesMessage) {
    json in = Adult("GM");
    in["forecast"] = {{"dose", -1}, {"interval", 8}, {"infusion_time", 0.5}, {"post_time", 1}};
    EXPECT_EQ(Refusal(in), "forecast.dose: Dose cannot be negative.\n");
    in["forecast"] = {{"dose", 120}, {"interval", 8}, {"infusion_time", 0.5}, {"post_time", 9}};
    EXPECT_EQ(Refusal(in), "forecast.post_time: Time of post cannot be more than interval.\n");
    in["forecast"] = {{"rate", 10}};
    EXPECT_NE(Refusal(in).find("forecast.rate"), std::string::npos);
    in["forecast"] = json::object();
    in["design"] = {{"desired_trough", -1}};
    EXPECT_EQ(Refusal(in), "design.desired_trough: Please input a correct Value of trough.\n");
    in.erase("design");
    in["phenytoin"] = json::object();
    EXPECT_NE(Refusal(in).find("phenytoin"), std::string::npos);

    json oral = Adult("TH");
    oral["forecast"] = {{"uneven", {{{"dose", 200}, {"hour", 24}}}}, {"level_hour", 12}};
    EXPECT_EQ(Refusal(oral), "forecast.uneven[0].hour: Hours have to be from 0 to 23\n");

    json user = Adult("ZZ");
    EXPECT_NE(Refusal(user).find("user_drug"), std::string::npos);
    user["user_drug"] = UserDrug();
    user["user_drug"]["im_salt"] = 0;
    EXPECT_EQ(Refusal(user), "user_drug.im_salt: Please input a correct Value of salt.\n");
    user["user_drug"].erase("im_salt");
    EXPECT_EQ(Refusal(user), "user_drug: Please specify all the values for a dosage form.\n");
    json gm = Adult("GM");
    gm["user_drug"] = UserDrug();
    EXPECT_NE(Refusal(gm).find("user_drug"), std::string::npos);
}
