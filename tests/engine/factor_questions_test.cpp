#include <gtest/gtest.h>

#include "engine/case_warning.h"
#include "engine/factor_questions.h"
#include "records/case_record.h"

TEST(FactorQuestions, ListsDependOnAgeAndSex) {
    EXPECT_EQ(FactorQuestions("PB", 40, "F").size(), 4u);
    EXPECT_EQ(FactorQuestions("PB", 40, "M").size(), 3u);
    EXPECT_EQ(FactorQuestions("gm", 0.1, "M").size(), 6u);
    EXPECT_EQ(FactorQuestions("gm", 0.05, "M").size(), 9u);
    EXPECT_EQ(FactorQuestions("gm", 0.2, "M").size(), 5u);
    EXPECT_EQ(FactorQuestions("VM", 0.1, "M").size(), 3u);
    EXPECT_EQ(FactorQuestions("VM", 0.05, "M").size(), 5u);
    EXPECT_EQ(FactorQuestions("DG", 0.05, "M").back(), "Is the patient a premature infant ?");
    EXPECT_EQ(FactorQuestions("TH", 40, "M").size(), 15u);
    EXPECT_TRUE(FactorQuestions("FC", 40, "M").empty());
    EXPECT_EQ(FactorQuestions("QD", 40, "M")[5], "Is the patient taking phenytion ?");
    EXPECT_EQ(FactorQuestions("PH", 40, "M")[5], "Is the patient receiving fluoxetine, fluconazole or voriconazole ?");
}

TEST(CaseWarning, HighClearanceOnlyForChildrenOnWatchedDrugs) {
    CaseRecord r;
    r.Drug_ID = "gm";
    r.Age = 10;
    r.population.Cl = 1.5;  // 0.15 per year of age
    EXPECT_EQ(CaseWarning(r, 81), "Warning: High Clearance. Please recheck data.");
    r.population.Cl = 0.9;
    EXPECT_EQ(CaseWarning(r, 71), "");
    r.population.Cl = 6.5;
    r.Age = 17.9;
    EXPECT_EQ(CaseWarning(r, 72), "Warning: High Clearance. Please recheck data.");
    r.Age = 18;
    EXPECT_EQ(CaseWarning(r, 82), "");
    r.Age = 10;
    r.Drug_ID = "nm";
    EXPECT_EQ(CaseWarning(r, 81), "");
    // The set in use decides.
    r.Drug_ID = "vm";
    r.Cur_fit_method = kBayesian;
    r.bayes.Cl = 0.5;
    EXPECT_EQ(CaseWarning(r, 81), "");
}

TEST(CaseWarning, LevelDuringInfusionForTheHistory) {
    CaseRecord r;
    r.history.events.push_back(DoseEvent{0, 100, kEventIV, 0, 1.0, 100, 1, 0});
    r.history.levels.push_back(LevelPoint{0.5, 5});
    r.history.measuredCount = 1;
    EXPECT_EQ(CaseWarning(r, 12), "Warning: Level Taken During Infusion.");
    r.history.levels[0].time = 1.0;
    EXPECT_EQ(CaseWarning(r, 12), "");
}
