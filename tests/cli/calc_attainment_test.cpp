#include <gtest/gtest.h>

#include "calc_runner.h"

using nlohmann::json;

namespace {
// Vancomycin 1000 mg q12h over 1 h, a peak and a trough measured, the
// posterior asked for.
json Vancomycin() {
    return json::parse(R"({"today": "2026-12-08",
      "patient": {"birthday": "1958-04-02", "sex": "F", "weight_kg": 62, "height_cm": 160, "scr_mg_dl": 0.9},
      "drug": "VM", "posterior": true,
      "design": {"desired_post": 30, "post_time": 1, "desired_trough": 15, "infusion_time": 1.5},
      "history": {"doses": [{"date": "2026-12-05", "time": "08:00", "dose": 1000, "route": "IV",
                             "infusion_time": 1, "interval": 12, "doses": 6, "status": "I"}],
                  "levels": [{"date": "2026-12-07", "time": "11:00", "level": 32.0},
                             {"date": "2026-12-07", "time": "19:30", "level": 14.2}]}})");
}
}  // namespace

TEST(KinevoCalcAttainment, SharesOfTheRegimensGivenAndThePracticalRegimen) {
    json in = Vancomycin();
    const double cl50 = OutputOf(in)["posterior"]["quantiles"]["Cl"]["50"].get<double>();
    // AUC24 = 24 D / (tau Cl) for vancomycin: with D = 400 tau Cl50 / 24,
    // AUC24 lies in 400-600 for Cl between Cl50 / 1.5 and Cl50, below the
    // 2.5 % quantile: a little under half of the draws.
    in["results"] = {{"dose", 400 * 12 * cl50 / 24}, {"interval", 12}, {"infusion_time", 1}, {"post_time", 1}};
    const json out = OutputOf(in);
    ASSERT_LT(cl50 / 1.5, out["posterior"]["quantiles"]["Cl"]["2.5"].get<double>());
    const json& attainment = out["posterior"]["attainment"];
    const double auc = attainment["results"]["exposure"]["auc24"].get<double>();
    EXPECT_GT(auc, 0.46);
    EXPECT_LE(auc, 0.505);
    // Only the trough is asked of the results page's levels, with the range.
    EXPECT_EQ(attainment["results"]["levels"]["all"], attainment["results"]["levels"]["trough"]);
    EXPECT_TRUE(attainment["results"]["levels"]["peak"].is_null());
    EXPECT_NE(attainment["results"]["levels"]["text"].get<std::string>().find(" % chance trough 15-50"),
              std::string::npos);

    // The designed regimen is judged by its desired post too.
    EXPECT_TRUE(attainment["design"]["levels"]["post"].is_number());

    // The practical regimen, forecast in full on the results page, reaches
    // the share it was chosen by; it is a usual vial dose and interval.
    const json& practical = attainment["practical"];
    const double dose = practical["dose"].get<double>(), interval = practical["interval"].get<double>();
    EXPECT_EQ(std::fmod(dose, 250), 0);
    EXPECT_NE(practical["text"].get<std::string>().find("the best of the usual doses"), std::string::npos);
    in["results"] = {{"dose", dose}, {"interval", interval}, {"infusion_time", 1.5}, {"post_time", 1}};
    EXPECT_NEAR(OutputOf(in)["posterior"]["attainment"]["results"]["exposure"]["all"].get<double>(),
                practical["share"].get<double>(), 1e-4);

    // No posterior asked: no attainment.
    in["posterior"] = false;
    EXPECT_FALSE(OutputOf(in).contains("posterior"));
}
