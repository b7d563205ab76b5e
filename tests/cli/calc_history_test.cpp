#include <gtest/gtest.h>

#include <cmath>

#include "calc_runner.h"

using nlohmann::json;

namespace {
json GentamicinHistory() {
    return json::parse(R"({
      "today": "2026-12-08",
      "patient": { "age_years": 40.0, "sex": "M", "weight_kg": 70.0, "height_cm": 170.0, "scr_mg_dl": 1.0 },
      "drug": "GM",
      "history": {
        "doses": [ { "date": "2026-12-01", "time": "08:00", "dose": 120, "route": "iv",
                     "infusion_time": 0.5, "interval": 8, "doses": 3, "status": "i" } ],
        "levels": [ { "date": "2026-12-01", "time": "09:00", "level": 6.2 },
                    { "date": "2026-12-01", "time": "15:30", "level": 1.6 },
                    { "date": "2026-12-02", "time": "08:00", "level": -1 } ]
      },
      "curves": true
    })");
}

json Phenytoin() {
    return json::parse(R"({
      "today": "2026-12-08",
      "patient": { "age_years": 40.0, "sex": "M", "weight_kg": 70.0, "height_cm": 170.0, "scr_mg_dl": 1.0,
                   "albumin_g_dl": 4.4 },
      "drug": "PH",
      "history": {
        "doses": [ { "date": "2026-12-01", "time": "08:00", "dose": 300, "route": "C",
                     "interval": 24, "doses": 5, "status": "O" } ],
        "levels": [ { "date": "2026-12-03", "time": "07:00", "level": 6.5 },
                    { "date": "2026-12-05", "time": "07:00", "level": 8.0 } ]
      },
      "curves": true
    })");
}
}  // namespace

TEST(KinevoCalcHistory, GentamicinHistoryFitsAndCurves) {
    const CalcRun run = RunCalcProgram(GentamicinHistory());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    const json& h = out["history"];
    EXPECT_EQ(h["time_zero"], "2026-12-01 08:00");
    ASSERT_EQ(h["events"].size(), 3u);
    EXPECT_EQ(h["events"][2]["time"], 16.0);
    EXPECT_EQ(h["events"][0]["rate"], 240.0);
    EXPECT_EQ(h["events"][0]["route"], 2);
    ASSERT_EQ(h["levels"].size(), 3u);
    EXPECT_EQ(h["levels"][1]["time"], 7.5);
    EXPECT_EQ(h["levels"][2]["observed"], -1.0);

    // The population prediction one hour after the first infusion, by hand.
    const double vd = out["population"]["Vd"], cl = out["population"]["Cl"];
    const double k = cl / vd;
    const double byHand = 240 / cl * (1 - std::exp(-k * 0.5)) * std::exp(-k * 0.5);
    EXPECT_NEAR(h["levels"][0]["population"].get<double>(), byHand, 1e-9);

    // Two levels: the least-squares fit follows them closely.
    const json& ls = out["fits"]["least_squares"];
    EXPECT_NEAR(h["levels"][0]["least_squares"].get<double>(), 6.2, 0.1);
    EXPECT_NEAR(h["levels"][1]["least_squares"].get<double>(), 1.6, 0.05);
    EXPECT_EQ(ls["F"], 1.0);  // all intravenous
    EXPECT_LT(ls["lower"]["Vd"].get<double>(), ls["Vd"].get<double>());
    EXPECT_TRUE(ls["Km"].is_null());
    EXPECT_NE(out["fits"]["bayes"]["Cl"], ls["Cl"]);
    EXPECT_EQ(out["fits"]["messages"], json::array());

    const json& c = out["curves"];
    EXPECT_EQ(c["span_hours"], 30.0);  // 16 + 8 = 24 h needed
    EXPECT_EQ(c["unit"], "Hours");
    EXPECT_EQ(c["conc_top"], 15.0);
    ASSERT_EQ(c["times"].size(), 281u);
    ASSERT_EQ(c["bayes"].size(), 281u);
    EXPECT_EQ(c["population"][0], 0.0);
}

TEST(KinevoCalcHistory, PhenytoinOneFitAndOneFittedCurve) {
    const CalcRun run = RunCalcProgram(Phenytoin());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    EXPECT_EQ(out["history"]["events"].size(), 25u);  // five portions a day
    EXPECT_EQ(out["history"]["events"][4]["time"], 4.0);
    const json& fits = out["fits"];
    EXPECT_EQ(fits["least_squares"], fits["bayes"]);
    EXPECT_TRUE(fits["least_squares"]["Vm"].is_number());
    EXPECT_EQ(fits["least_squares"]["Km"], fits["least_squares"]["Cl"]);
    EXPECT_EQ(out["curves"]["bayes"], out["curves"]["least_squares"]);
    EXPECT_EQ(out["curves"]["span_hours"], 240.0);  // last portion at 100 h, + 24 h
}

TEST(KinevoCalcHistory, RefusedHistoriesGiveThePagesMessage) {
    json in = GentamicinHistory();
    in["history"]["levels"][0]["time"] = "08:15";
    ExpectRefused(in, "history: A Level Is Taken During Infusion Of The Dose. Please Check Data Entry.");

    in = GentamicinHistory();
    in["history"]["doses"][0]["route"] = "po";
    ExpectRefused(in, "history.doses[0].route: Please input valid route.(IM or IV)");

    in = GentamicinHistory();
    in["history"]["doses"][0]["doses"] = 1001;
    in["history"]["doses"][0]["interval"] = 0.001;
    ExpectRefused(in, "Data Entry Not Complete. Or  Too Many Doses Entered.");

    in = GentamicinHistory();
    in["history"]["doses"][0]["infusion_time"] = 0;
    ExpectRefused(in, "history:  Error in Dose Entry # 1");

    in = GentamicinHistory();
    in["history"]["doses"][0]["status"] = "x";
    ExpectRefused(in, "Please input I or O. ");

    in = GentamicinHistory();
    in["history"]["levels"][1]["time"] = "24:00";
    ExpectRefused(in, "Please Input Valid Hour Value 0 to 23.");
}

TEST(KinevoCalcHistory, InputMistakesAreNamed) {
    json in = GentamicinHistory();
    in["history"]["doses"][0]["dose_mg"] = 120;
    ExpectRefused(in, "history.doses[0].dose_mg: unknown key");

    in = GentamicinHistory();
    in["history"]["levels"].push_back({{"date", "2026-12-02"}, {"time", "09:00"}, {"level", 2.0}});
    ExpectRefused(in, "history.levels[3]");

    in = GentamicinHistory();
    in.erase("history");
    ExpectRefused(in, "curves: needs a history");

    // Nothing to count time from: no dose row and no measured level.
    in.erase("curves");
    for (const char* history : {R"({})", R"({"doses": [], "levels": []})",
                                R"({"levels": [{"date": "2026-12-02", "time": "08:00", "level": -1}]})"}) {
        in["history"] = json::parse(history);
        ExpectRefused(in, "history: needs a dose row or a measured level");
    }
}

TEST(KinevoCalcHistory, FitRouteProductsDecideEachDoseAndAreShown) {
    json in = json::parse(R"json({
      "today": "2026-12-08",
      "patient": { "age_years": 40.0, "sex": "M", "weight_kg": 70.0, "height_cm": 170.0, "scr_mg_dl": 1.0 },
      "drug": "TH",
      "history": {
        "route_products": [ "Intermittent IV - Injection", "Oral - Tablets (Aminophylline)" ],
        "doses": [ { "date": "2026-12-01", "time": "08:00", "dose": 300, "route": "IV",
                     "infusion_time": 0.5, "interval": 12, "doses": 1, "status": "I" },
                   { "date": "2026-12-02", "time": "08:00", "dose": 300, "route": "O",
                     "interval": 12, "doses": 1, "status": "I" } ],
        "levels": [ { "date": "2026-12-02", "time": "07:00", "level": 8.0 } ]
      }
    })json");
    CalcRun run = RunCalcProgram(in);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json events = run.json()["history"]["events"];
    EXPECT_EQ(events[0]["salt"], 1.0);  // plain theophylline, not aminophylline
    EXPECT_EQ(events[0]["F"], 1.0);
    EXPECT_EQ(events[1]["salt"], 0.8);
    EXPECT_EQ(events[1]["F"], 0.94);
    EXPECT_EQ(events[1]["ka"], 2.4);

    // An F given with the parameters stands over the product's.
    in["parameters"] = {{"F", 0.9}};
    run = RunCalcProgram(in);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.json()["history"]["events"][1]["F"], 0.9);

    in["history"]["route_products"] = {"Oral - Tablets (Theo - dur)"};
    ExpectRefused(in, "history.route_products[0]: \"Oral - Tablets (Theo - dur)\" is not offered for Theophylline");
    in = GentamicinHistory();
    in["history"]["route_products"] = {"Intermittent IV - Injection", "IM - Injection"};
    ExpectRefused(in, "history.route_products: a second route-product is offered only for theophylline");
}

// 300 days of capsules give the grid 10-minute steps; a level drawn 5 minutes
// after the first capsule lies before any input reaches the blood.
TEST(KinevoCalcHistory, LevelsNoDoseReachesAreNotFitted) {
    json in = Phenytoin();
    in["history"]["doses"][0] = {{"date", "2026-01-01"}, {"time", "08:00"}, {"dose", 100},  {"route", "C"},
                                 {"interval", 24},       {"doses", 300},    {"status", "I"}};
    in["history"]["levels"] = {{{"date", "2026-01-01"}, {"time", "08:05"}, {"level", 5.0}}};
    const CalcRun run = RunCalcProgram(in);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    EXPECT_EQ(out["history"]["levels"][0]["population"], 0.0);
    EXPECT_EQ(out["fits"]["messages"],
              json::array({"Cannot Fit Data: the starting parameters predict no drug at any measured level."}));
    EXPECT_TRUE(out["fits"]["least_squares"]["Vm"].is_null());
}

TEST(KinevoCalcResults, LevelsOfEachSetWithTheFittedRanges) {
    json in = GentamicinHistory();
    in["results"] = {{"dose", 160}, {"interval", 12}, {"infusion_time", 0.5}, {"post_time", 1}};
    const CalcRun run = RunCalcProgram(in);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json out = run.json();
    const json& levels = out["results"]["levels"];
    // Average and AUC24 by hand: D / (tau Cl) and 24 D / (tau Cl).
    const double cl = out["population"]["Cl"].get<double>();
    EXPECT_NEAR(levels["average"]["population"].get<double>(), 160 / (12 * cl), 1e-9);
    EXPECT_NEAR(levels["auc24"]["population"].get<double>(), 24 * 160 / (12 * cl), 1e-9);
    for (const char* name : {"peak", "trough", "post", "average", "auc24"}) {
        SCOPED_TRACE(name);
        const json& level = levels[name];
        ASSERT_TRUE(level["bayes"].is_number());
        EXPECT_TRUE(level["least_squares"].is_number());
        EXPECT_LE(level["bayes_range"]["low"].get<double>(), level["bayes"].get<double>());
        EXPECT_GE(level["bayes_range"]["high"].get<double>(), level["bayes"].get<double>());
    }
    EXPECT_EQ(out["results"]["message"], "");

    // Only the fields of the product's page, checked as there, and only after a history.
    in["results"]["rate"] = 10;
    ExpectRefused(in, "results.rate");
    in["results"] = {{"dose", -1}};
    ExpectRefused(in, "Dose cannot be negative.");
    in["results"] = {{"dose", 160}};
    in.erase("history");
    in.erase("curves");
    ExpectRefused(in, "results: needs a history");
}
