#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "calc_runner.h"

using nlohmann::json;

namespace {
json Regression(const char* name) {
    std::ifstream file(std::string(KINEVO_EXAMPLES_DIR "/../tests/cli/regression/") + name);
    std::stringstream text;
    text << file.rdbuf();
    return json::parse(text.str());
}

json Output(const json& in) {
    const CalcRun run = RunCalcProgram(in);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.exitCode == 0 ? run.json() : json::object();
}

bool Has(const json& messages, const std::string& text) {
    return std::find(messages.begin(), messages.end(), json(text)) != messages.end();
}
}  // namespace

TEST(KinevoCalcFits, RunawayFitsAreFlaggedAndDrawnNowhere) {
    // Ten daily digoxin doses ending a month before two rising levels: the
    // least-squares fit can only stop the drug's elimination and gives up;
    // the Bayesian fit explains them with a CF of about 8000 %.
    // Such sets give their flag in place of every number, as the pages do.
    const json out = Output(Regression("digoxin-runaway-fit.json"));
    const json& fits = out["fits"];
    const json& ls = fits["least_squares"];
    EXPECT_EQ(ls["usable"], false);
    EXPECT_EQ(ls["flag"], "did not converge");
    EXPECT_TRUE(Has(fits["messages"], "Cannot Fit Data"));
    for (const char* key : {"F", "Vd", "Cl", "CF"}) {
        EXPECT_TRUE(ls[key].is_null()) << key;
        EXPECT_TRUE(ls["lower"][key].is_null() && ls["sd"][key].is_null()) << key;
    }
    EXPECT_EQ(fits["bayes"]["flag"], "CF above 100 %");
    EXPECT_TRUE(fits["bayes"]["CF"].is_null());
    const std::string why = fits["messages"].back().get<std::string>();
    EXPECT_EQ(why.rfind("Bayesian fit not usable: fitted CF is ", 0), 0u) << why;
    EXPECT_NE(why.find("far above 100 %. More drug reached the blood"), std::string::npos) << why;
    for (const json& level : out["history"]["levels"])
        EXPECT_TRUE(level["least_squares"].is_null() && level["bayes"].is_null());
    EXPECT_TRUE(out["curves"]["least_squares"].empty());
    EXPECT_TRUE(out["curves"]["bayes"].empty());
    EXPECT_EQ(out["curves"]["population"].size(), 281u);

    // Prediction rows only: the fits are the priors, with no word and a curve.
    json priorsOnly = Regression("digoxin-runaway-fit.json");
    priorsOnly["history"]["levels"] = json::parse(R"([{"date":"2026-12-05","time":"07:00","level":-1}])");
    const json prior = Output(priorsOnly);
    EXPECT_TRUE(prior["fits"]["messages"].empty());
    EXPECT_EQ(prior["curves"]["least_squares"].size(), 281u);
    // One standard deviation, named so: half the distance of the bounds.
    const json& b = prior["fits"]["bayes"];
    EXPECT_EQ(b["usable"], true);
    EXPECT_TRUE(b["flag"].is_null() && b["caution"].is_null());
    EXPECT_NEAR(b["sd"]["Vd"].get<double>(), (b["upper"]["Vd"].get<double>() - b["lower"]["Vd"].get<double>()) / 2,
                1e-9);
}

TEST(KinevoCalcFits, ATinyKmNeverPredictsBelowZero) {
    // Km 0.001 mg/L: elimination runs at Vm until the body is empty; the
    // integration once overshot to -7.8 and -16.0 mg/L.
    const json out = Output(Regression("phenytoin-km-0.001.json"));
    for (const json& level : out["history"]["levels"]) EXPECT_EQ(level["population"], 0.0) << level;
    EXPECT_EQ(out["fits"]["messages"],
              json::array({"Cannot Fit Data: the starting parameters predict no drug at any measured level."}));
}

TEST(KinevoCalcFits, SearchThatUsedToLoopForeverEndsQuickly) {
    // A hundred oral doses 36 seconds apart and levels far from them: the
    // damping ran away and the search repeated one rejected step forever.
    const auto start = std::chrono::steady_clock::now();
    const json out = Output(Regression("fit-damping-loop.json"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(Has(out["fits"]["messages"], "Cannot Fit Data"));
}
