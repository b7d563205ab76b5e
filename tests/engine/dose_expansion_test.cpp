#include <gtest/gtest.h>

#include <cmath>

#include "engine/analysis_fits.h"
#include "engine/dose_expansion.h"
#include "engine/history_rows.h"
#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "tests/engine/case_fixtures.h"
#include "tests/engine/history_fixtures.h"

namespace {
ExpansionConstants Constants(const std::string& drug) {
    ExpansionConstants c;
    c.drugCode = drug;
    c.poSalt = 0.8;
    c.poKa = 1.2;
    c.parenteralSalt = 0.9;
    c.imKa = 2.5;
    c.timeLag = 0.75;
    c.phenytoinAbsRate = 60;
    return c;
}

History Expand(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels, const std::string& drug) {
    History h;
    ExpandRows(doses, levels, Constants(drug), h);
    return h;
}

std::vector<double> Times(const std::vector<DoseEvent>& events) {
    std::vector<double> t;
    for (const DoseEvent& e : events) t.push_back(e.time);
    return t;
}
}  // namespace

TEST(DoseExpansion, RepeatedDosesAndAnEarlierLevelMovingTimeZero) {
    const DoseRow row = DoseRowOn(1, 6, 0, 80, "IV", 0.5, 8, 3);
    History h = Expand({row}, {}, "gm");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 8, 16}));  // 06:00, 14:00, 22:00
    EXPECT_DOUBLE_EQ(h.events[0].rate, 160);
    EXPECT_EQ(h.events[0].route, kEventIV);
    EXPECT_DOUBLE_EQ(h.events[0].salt, 0.9);

    h = Expand({row}, {LevelRowOn(1, 4, 30, 1.2), LevelRowOn(1, 21, 0, 5.0)}, "gm");
    EXPECT_DOUBLE_EQ(h.timeZero, 24.0 * DayNumber(2026, 12, 1) + 4.5);
    EXPECT_EQ(Times(h.events), (std::vector<double>{1.5, 9.5, 17.5}));
    EXPECT_DOUBLE_EQ(h.levels[0].time, 0);
    EXPECT_DOUBLE_EQ(h.lastLevelTime, 16.5);
    EXPECT_DOUBLE_EQ(h.lastDoseInterval, 8);
}

TEST(DoseExpansion, EventsAndLevelsSortedStablyPredictionsLast) {
    const DoseRow late = DoseRowOn(2, 8, 0, 100, "O", 0, 12, 1, "O");
    const DoseRow early = DoseRowOn(1, 8, 0, 200, "IM", 0, 12, 2);
    const History h =
        Expand({late, early}, {LevelRowOn(2, 9, 0, 3), LevelRowOn(1, 9, 0, 4), LevelRowOn(3, 8, 0, -1)}, "pb");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 12, 24}));
    // The oral row uses the oral pair, the IM row the parenteral pair.
    EXPECT_EQ(h.events[2].route, kEventOral);
    EXPECT_DOUBLE_EQ(h.events[2].salt, 0.8);
    EXPECT_DOUBLE_EQ(h.events[2].ka, 1.2);
    EXPECT_EQ(h.events[2].outpatient, 1);
    EXPECT_EQ(h.events[0].route, kEventIM);
    EXPECT_DOUBLE_EQ(h.events[0].ka, 2.5);
    ASSERT_EQ(h.levels.size(), 3u);
    EXPECT_EQ(h.measuredCount, 2);
    EXPECT_DOUBLE_EQ(h.levels[0].observed, 4);
    EXPECT_DOUBLE_EQ(h.levels[1].observed, 3);
    EXPECT_DOUBLE_EQ(h.levels[2].observed, -1);
    EXPECT_DOUBLE_EQ(h.lastLevelTime, 25);
}

TEST(DoseExpansion, LithiumInMilliequivalents) {
    const History h = Expand({DoseRowOn(1, 8, 0, 300, "O", 0, 12, 1)}, {}, "li");
    EXPECT_NEAR(h.events[0].amount, 8.12, 1e-12);
}

TEST(DoseExpansion, UserDrugLagOnlyForAbsorbedRoutesOtherThanIM) {
    const History h = Expand({DoseRowOn(1, 8, 0, 100, "O", 0, 12, 1), DoseRowOn(1, 8, 0, 100, "IV", 1, 12, 1),
                              DoseRowOn(1, 8, 0, 100, "IM", 0, 12, 1)},
                             {}, "zz");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 0, 0.75}));
    EXPECT_EQ(h.events[2].route, kEventOral);
}

TEST(DoseExpansion, PhenytoinOralDosesInHourlyPortions) {
    History h = Expand({DoseRowOn(1, 8, 0, 300, "C", 0, 24, 1)}, {}, "ph");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 1, 2, 3, 4}));
    for (const DoseEvent& e : h.events) {
        EXPECT_DOUBLE_EQ(e.amount, 60);
        EXPECT_DOUBLE_EQ(e.rate, 60);
        EXPECT_DOUBLE_EQ(e.salt, 0.92);
        EXPECT_EQ(e.route, kEventOral);
    }
    // Two doses at the same time are absorbed one after the other; the
    // remainder of 130 mg is a portion of 10 mg.
    h = Expand({DoseRowOn(1, 8, 0, 130, "T", 0, 24, 1), DoseRowOn(1, 8, 0, 100, "S", 0, 24, 1)}, {}, "ph");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(h.events[2].amount, 10);
    EXPECT_DOUBLE_EQ(h.events[4].amount, 40);
    EXPECT_DOUBLE_EQ(h.events[0].salt, 1.0);
    // A dose half an hour after another waits for the hour to pass.
    h = Expand({DoseRowOn(1, 8, 0, 120, "C", 0, 24, 1), DoseRowOn(1, 8, 30, 60, "C", 0, 24, 1)}, {}, "ph");
    EXPECT_EQ(Times(h.events), (std::vector<double>{0, 1, 2.5}));
    // Intravenous phenytoin is one event per dose.
    h = Expand({DoseRowOn(1, 8, 0, 1000, "IV", 1, 24, 1)}, {}, "ph");
    ASSERT_EQ(h.events.size(), 1u);
    EXPECT_DOUBLE_EQ(h.events[0].rate, 1000);
}

// A 4.6 kg infant absorbs at most 4.6 mg/h; 69 mg (15 mg/kg) is exactly 15
// portions, though 69 / 4.6 comes out a hair above 15 in floating point.
TEST(DoseExpansion, PhenytoinDoseThatIsAWholeNumberOfPortionsLeavesNoEmptyPortion) {
    ExpansionConstants c = Constants("ph");
    c.phenytoinAbsRate = 4.6;
    History h;
    ExpandRows({DoseRowOn(1, 8, 0, 69, "C", 0, 24, 1), DoseRowOn(1, 8, 0, 4.6, "C", 0, 24, 1)}, {}, c, h);
    ASSERT_EQ(h.events.size(), 16u);
    double total = 0;
    for (const DoseEvent& e : h.events) {
        EXPECT_NEAR(e.amount, 4.6, 1e-12);
        total += e.amount;
    }
    EXPECT_NEAR(total, 73.6, 1e-9);
    // The second dose follows the fifteenth portion directly.
    EXPECT_DOUBLE_EQ(h.events.back().time, 15);
    EXPECT_DOUBLE_EQ(DoseEventCount({DoseRowOn(1, 8, 0, 69, "C", 0, 24, 1)}, true, 4.6), 15);
}

TEST(AcceptHistory, LevelDuringAnInfusionIsRefusedAtItsEndAccepted) {
    CaseRecord r;
    r.Drug_ID = "gm";
    r.ParenteralSalt = 1;
    r.history.doseRows = {DoseRowOn(1, 8, 0, 80, "IV", 1, 8, 1)};
    r.history.levelRows = {LevelRowOn(1, 8, 30, 3)};
    EXPECT_EQ(AcceptHistory(r), "A Level Is Taken During Infusion Of The Dose. Please Check Data Entry.");
    EXPECT_FALSE(r.history.present);
    EXPECT_TRUE(r.history.events.empty());  // nothing converted on a refusal

    r.history.levelRows = {LevelRowOn(1, 9, 0, 3)};
    EXPECT_EQ(AcceptHistory(r), std::nullopt);
    EXPECT_TRUE(r.history.present);
    ASSERT_EQ(r.history.levels.size(), 1u);
    EXPECT_DOUBLE_EQ(r.history.levels[0].time, 1);
}

TEST(AcceptHistory, RowChecksComeFirst) {
    CaseRecord r;
    r.Drug_ID = "vm";
    r.history.doseRows = {DoseRowOn(1, 8, 0, 1000, "IV", 1, 12, 1), DoseRowOn(1, 20, 0, 1000, "IM", 1, 12, 1)};
    EXPECT_EQ(AcceptHistory(r), " Error in Dose Entry # 2");
}

TEST(AcceptHistory, RoutesOtherThanTheChosenProductKeepTheirSaltAndKa) {
    CaseRecord r = AdultCase("qd", "Oral - Immediate - Release Tablets (Sulfate)", 4.4);
    r.history.doseRows = {DoseRowOn(1, 8, 0, 200, "O", 0, 6, 1), DoseRowOn(1, 20, 0, 400, "IV", 1, 6, 1)};
    ASSERT_EQ(AcceptHistory(r), std::nullopt);
    // Sulfate tablets by mouth; the gluconate injection of the drug's first
    // intravenous product for the infusion.
    EXPECT_DOUBLE_EQ(r.history.events[0].salt, 0.83);
    EXPECT_DOUBLE_EQ(r.history.events[0].ka, 1.8);
    EXPECT_DOUBLE_EQ(r.history.events[1].salt, 0.625);

    const std::vector<DoseRow> rows = r.history.doseRows;
    r = AdultCase("cx", "Intermittent IV - Injection", 4.4);
    r.history.doseRows = rows;
    ASSERT_EQ(AcceptHistory(r), std::nullopt);
    EXPECT_DOUBLE_EQ(r.history.events[0].ka, 1.5);  // the tablets' ka
    EXPECT_DOUBLE_EQ(r.history.events[1].salt, 1.0);
}

// Gentamicin: a level of 2.0 before the 08:00 infusion, 7.5 and 3.0 after it,
// and a prediction asked for at 06:00, before everything else.
TEST(PredictionRows, NeverChangeTheFitOrTheMeasuredLevels) {
    CaseRecord r = AdultCase("gm", "Intermittent IV - Injection", 4.4);
    r.history.doseRows = {DoseRowOn(1, 8, 0, 120, "IV", 0.5, 8, 1)};
    r.history.levelRows = {LevelRowOn(1, 7, 0, 2.0), LevelRowOn(1, 9, 0, 7.5), LevelRowOn(1, 15, 30, 3.0)};
    CaseRecord withRow = r;
    withRow.history.levelRows.push_back(LevelRowOn(1, 6, 0, -1));
    for (CaseRecord* c : {&r, &withRow}) {
        ASSERT_EQ(AcceptHistory(*c), std::nullopt);
        RunAnalysisFits(*c);
        FillLevelPredictions(*c);
    }
    EXPECT_DOUBLE_EQ(withRow.history.timeZero, 24.0 * DayNumber(2026, 12, 1) + 7);
    EXPECT_EQ(withRow.leastSquares, r.leastSquares);
    EXPECT_EQ(withRow.bayes, r.bayes);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(withRow.history.levels[i].leastSquares, r.history.levels[i].leastSquares);
    // The row an hour before time zero, before any dose: the 07:00 level
    // traced back one hour.
    const LevelPoint& asked = withRow.history.levels[3];
    EXPECT_DOUBLE_EQ(asked.time, -1);
    const double k = r.population.Cl / r.population.Vd;
    EXPECT_NEAR(asked.population.value_or(-1), 2.0 * std::exp(k), 1e-12);

    // Phenytoin over 37 days: a prediction row three weeks later must not
    // coarsen the grid the measured levels are predicted on.
    CaseRecord ph = AdultCase("ph", "Oral - Capsules", 4.4);
    ph.history.doseRows = {DoseRowOn(1, 8, 0, 300, "C", 0, 24, 38)};
    ph.history.levelRows = {LevelRowOn(10, 7, 0, 9), LevelRowOn(31, 7, 0, 14)};
    CaseRecord phWithRow = ph;
    phWithRow.history.levelRows.push_back(LevelRowOn(31, 7, 0, 0));
    phWithRow.history.levelRows.back().date = {2027, 1, 20};
    phWithRow.history.levelRows.back().level = -1;
    for (CaseRecord* c : {&ph, &phWithRow}) {
        ASSERT_EQ(AcceptHistory(*c), std::nullopt);
        FillLevelPredictions(*c);
    }
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(ph.history.levels[i].population.has_value());
        EXPECT_EQ(phWithRow.history.levels[i].population, ph.history.levels[i].population);
    }
    EXPECT_GT(phWithRow.history.levels[2].population.value_or(0), 0);
}

// Theophylline by infusion, then by mouth. Salt, ka and F by route come from
// the set-up page's products (the dosage-form table), whichever list holds
// the oral one; without an intravenous product the infusion would take the
// drug's first, the aminophylline injection (0.79).
TEST(AcceptHistory, FitRouteProductsDecideSaltKaAndF) {
    const std::vector<DoseRow> rows = {DoseRowOn(1, 8, 0, 300, "IV", 0.5, 12, 1),
                                       DoseRowOn(2, 8, 0, 300, "O", 0, 12, 1)};
    struct Case {
        std::vector<std::string> products;
        double ivSalt, oralSalt, oralKa, F;
    };
    const Case cases[] = {
        {{"Oral - Tablets (Theo - dur 200,300 mg)", "Intermittent IV - Injection"}, 1.0, 1.0, 0.125, 0.97},
        {{"Intermittent IV - Injection(Aminophylline)", "Oral - Tablets (Aminophylline)"}, 0.79, 0.8, 2.4, 0.94},
        {{"Oral - Tablets (Theo - dur 200,300 mg)"}, 0.79, 1.0, 0.125, 0.97},
    };
    for (const Case& c : cases) {
        CaseRecord r = AdultCase("th", "Oral - Capsules", 4.4);
        r.history.doseRows = rows;
        ApplyFitRouteProducts(r, c.products);
        EXPECT_EQ(r.RouteProduct, c.products[0]);
        ASSERT_EQ(AcceptHistory(r), std::nullopt);
        EXPECT_DOUBLE_EQ(r.history.events[0].salt, c.ivSalt) << c.products[0];
        EXPECT_DOUBLE_EQ(r.history.events[1].salt, c.oralSalt) << c.products[0];
        EXPECT_DOUBLE_EQ(r.history.events[1].ka, c.oralKa) << c.products[0];
        EXPECT_DOUBLE_EQ(r.population.F, c.F) << c.products[0];
    }
    // Quinidine: an intravenous product first, the IM one second gives the
    // IM ka; the IM salt stays the first product's.
    CaseRecord qd = AdultCase("qd", "Oral - Tablets (Cardioquin)", 4.4);
    ApplyFitRouteProducts(qd, {"Intermittent IV - Injection(Gluconate)", "IM - Injection(Gluconate)"});
    EXPECT_DOUBLE_EQ(qd.IM_ka, 0.77);
    EXPECT_DOUBLE_EQ(qd.ParenteralSalt, 0.625);
}
