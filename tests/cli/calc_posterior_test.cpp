#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "calc_runner.h"

using nlohmann::json;

namespace {
json History(const char* drug, const char* doses, const char* levels) {
    json in = json::parse(R"({"today": "2026-12-08",
      "patient": {"age_years": 40, "sex": "M", "weight_kg": 70, "height_cm": 170, "scr_mg_dl": 1,
                  "albumin_g_dl": 4.4}})");
    in["drug"] = drug;
    in["history"] = {{"doses", json::parse(doses)}, {"levels", json::parse(levels)}};
    in["posterior"] = true;
    return in;
}
}  // namespace

TEST(KinevoCalcPosterior, QuantilesOfTheFittedParametersOnlyForAUsableBayesianSet) {
    const json gentamicin = History("GM",
                                    R"([{"date": "2026-12-01", "time": "08:00", "dose": 120, "route": "IV",
                                         "infusion_time": 0.5, "interval": 8, "doses": 3, "status": "I"}])",
                                    R"([{"date": "2026-12-01", "time": "09:00", "level": 6.2},
                                        {"date": "2026-12-01", "time": "15:30", "level": 1.6}])");
    const json out = OutputOf(gentamicin);
    const json& posterior = out["posterior"];
    EXPECT_EQ(posterior["draws"], 10000);
    EXPECT_TRUE(posterior["flag"].is_null());
    EXPECT_GT(posterior["effective_sample_size"].get<double>(), 1000);
    EXPECT_LE(posterior["effective_sample_size"].get<double>(), 10000);
    const json& q = posterior["quantiles"];
    for (const char* held : {"F", "CF", "Km", "Vm"}) EXPECT_TRUE(q[held].is_null()) << held;
    // Near the linear range of the fit: the median within one standard
    // deviation of the fitted value, each 95 % bound within one of value
    // -/+ 1.96 standard deviations.
    const json& bayes = out["fits"]["bayes"];
    for (const char* name : {"Vd", "Cl"}) {
        SCOPED_TRACE(name);
        const double value = bayes[name].get<double>(), sd = bayes["sd"][name].get<double>();
        EXPECT_NEAR(q[name]["50"].get<double>(), value, sd);
        EXPECT_NEAR(q[name]["2.5"].get<double>(), value - 1.96 * sd, sd);
        EXPECT_NEAR(q[name]["97.5"].get<double>(), value + 1.96 * sd, sd);
    }
    // Seeded: another run prints the same numbers.
    EXPECT_EQ(OutputOf(gentamicin)["posterior"], posterior);

    // Phenytoin: fewer draws; Km is the clearance slot.
    const json phenytoin = OutputOf(History("PH",
                                            R"([{"date": "2026-11-20", "time": "08:00", "dose": 300, "route": "C",
                                               "interval": 24, "doses": 18, "status": "I"}])",
                                            R"([{"date": "2026-12-03", "time": "07:00", "level": 9.5},
                                              {"date": "2026-12-06", "time": "07:00", "level": 11.0}])"));
    EXPECT_EQ(phenytoin["posterior"]["draws"], 800);
    EXPECT_EQ(phenytoin["posterior"]["quantiles"]["Km"], phenytoin["posterior"]["quantiles"]["Cl"]);
    const double vm = phenytoin["fits"]["bayes"]["Vm"].get<double>();
    EXPECT_LT(phenytoin["posterior"]["quantiles"]["Vm"]["2.5"].get<double>(), vm);
    EXPECT_GT(phenytoin["posterior"]["quantiles"]["Vm"]["97.5"].get<double>(), vm);

    // A flagged Bayesian set draws nothing; without a history there is no section.
    std::ifstream file(std::string(KINEVO_REGRESSION_DIR) + "/digoxin-runaway-fit.json");
    std::stringstream runaway;
    runaway << file.rdbuf();
    json runawayCase = json::parse(runaway.str());
    runawayCase["posterior"] = true;
    const json flagged = OutputOf(runawayCase);
    EXPECT_EQ(flagged["fits"]["bayes"]["usable"], false);
    EXPECT_TRUE(flagged.contains("posterior") && flagged["posterior"].is_null());

    // Only when asked for, and only with a history.
    json notAsked = gentamicin;
    notAsked["posterior"] = false;
    EXPECT_FALSE(OutputOf(notAsked).contains("posterior"));
    json noHistory = gentamicin;
    noHistory.erase("history");
    const CalcRun refused = RunCalcProgram(noHistory);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("posterior"), std::string::npos) << refused.err;
}
