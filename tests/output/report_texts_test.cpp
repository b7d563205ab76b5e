// The report's texts: numbers as printed, the regimen sentence, the
// predicted levels line, the patient's measures and the parameter block.
#include <gtest/gtest.h>

#include "output/report_content.h"
#include "output/report_texts.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "tests/engine/case_fixtures.h"

TEST(ReportTexts, RegimenNumbersSentencesAndLevels) {
    EXPECT_EQ(RegimenNumber("62.5"), "62.5");
    EXPECT_EQ(RegimenNumber("80"), "80");
    EXPECT_EQ(RegimenNumber("80.004"), "80");
    EXPECT_EQ(RegimenNumber(""), "");
    EXPECT_EQ(LevelNumber("7.68"), "7.7");
    ReportRegimen g;
    g.dose = "62.5", g.doseUnit = "mg", g.interval = "12", g.infusionTime = "1", g.product = "Tablets(Sustained)";
    g.routeCode = 'D';
    EXPECT_EQ(RegimenSentence(g, false), "62.5 mg every 12 hours as an Intermittent Infusion Infused Over 1 Hour(s).");
    EXPECT_EQ(RegimenSentence(g, true), "62.5 mg every 12 hours as an Intermittent Infusion.");
    g.routeCode = 'C';
    EXPECT_EQ(RegimenSentence(g, false), " 62.5 mg every 12 hours as a Continuous IV Infusion.");
    g.routeCode = 'I';
    EXPECT_EQ(RegimenSentence(g, true), " 62.5 mg every 12 hours as an intramuscular injection of fosphenytoin.");
    g.routeCode = 'O';
    EXPECT_EQ(RegimenSentence(g, false), "62.5 mg every 12 hours as Oral Tablets (Sustained)");
    g.unevenDoses = {{250, 8}, {187.5, 20}};
    EXPECT_EQ(RegimenSentence(g, false), "250 mg at 08, 187.5 mg at 20, as Oral Tablets (Sustained).");

    ReportRegimen levels;
    levels.peak = "7.7", levels.trough = "1.1", levels.post = "6.5", levels.postTime = "1";
    EXPECT_EQ(PredictedLevelsLine(levels, {false, true, true}), "Peak: 7.7    Post (1 hr): 6.5     Trough: 1.1");
    EXPECT_EQ(PredictedLevelsLine(levels, {false, false, true}), "Post (1 hr): 6.5     Trough: 1.1");
    levels.postTime = "0";
    EXPECT_EQ(PredictedLevelsLine(levels, {false, true, true}), "Peak: 7.7    Trough: 1.1");
    EXPECT_EQ(PredictedLevelsLine(levels, {false, false, true}), "Trough: 1.1");
    levels.routeCode = 'C', levels.average = "8.4";
    EXPECT_EQ(PredictedLevelsLine(levels, {false, false, true}), "Average: 8.4");
    levels.observedAverage = "12.3", levels.adjustedAverage = "11.9";
    EXPECT_EQ(PredictedLevelsLine(levels, {true, false, false}), "Average: 12.3    Adjusted Average: 11.9");
    // Re-formatting: a two-compartment model prints no average.
    levels.average = "3.25";
    EXPECT_EQ(ReformattedRegimen(levels, true).average, "");
    EXPECT_EQ(ReformattedRegimen(levels, false).average, "3.2");
}

TEST(ReportTexts, HeightWeightAndParameterTexts) {
    CaseRecord r;
    r.HtUnit = "in", r.HtEntered = 70;
    EXPECT_EQ(PrintedHeight(r), " 177.8 cm (70.0 in)");  // 70 x 2.5399 = 177.79
    r.HtUnit = "cm", r.HtEntered = 175;
    EXPECT_EQ(PrintedHeight(r), " 175.0 cm  (68.9 in)");  // 175 / 2.54 = 68.90
    r.WtUnit = "lb", r.WtEntered = 154;
    EXPECT_EQ(PrintedWeight(r), " 69.9 kg (154.0 lb)");  // 154 x 0.4536 = 69.85
    r.WtUnit = "kg", r.WtEntered = 0, r.Wt = 70;
    EXPECT_EQ(PrintedWeight(r), " 70.0 kg (154.3 lb)");  // 70 x 2.2046 = 154.32
    // Vd 20, Cl 5: kd 0.25, t1/2 0.693/0.25 = 2.772, steady state 4 x 2.77.
    const ReportParameterTexts t = PrintedParameters({0.9, 20, 5, 0.85, 0, 0});
    EXPECT_EQ(t.kd + " " + t.halfLife + " " + t.timeToSteadyState, "0.25 2.77 11.08");
    EXPECT_EQ(t.f + " " + t.cf, "90.00 85.0");
    EXPECT_EQ(PrintedParameters({}).kd, "");  // no volume: nothing rather than nan
}

TEST(ReportTexts, CreatinineInTheWorkstationsUnit) {
    CaseRecord r = AdultCase("gm", "");
    r.SCr = 1.2;
    const auto renal = [&r] { return ReportContentOf(r, {}, {}, ReportKind::Population, {}, "", 0).renal; };
    EXPECT_EQ(renal(), "Crs = 1.20 mg/dL");
    // 1.2 mg/dL x 88.40 umol/L per mg/dL = 106.08 umol/L.
    ShownCreatinineUnit() = CreatinineUnit::UmolPerL;
    EXPECT_EQ(renal(), "Crs = 106.1 umol/L");
    ShownCreatinineUnit() = CreatinineUnit::MgPerDl;
}
