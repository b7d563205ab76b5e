#include <gtest/gtest.h>

#include <cmath>

#include "engine/history_rows.h"
#include "history_fixtures.h"

namespace {
DoseRow Dose(int day, int hour, double dose, const std::string& route, double infusion, double interval, int doses) {
    return DoseRowOn(day, hour, 0, dose, route, infusion, interval, doses);
}

LevelRow Level(int day, int hour, double level) { return LevelRowOn(day, hour, 0, level); }

const HistoryRules kGentamicin{"gm", {}, 0};
}  // namespace

TEST(HistoryRoutes, NormalisedAndCheckedPerDrug) {
    EXPECT_EQ(NormaliseRoute("po"), "O");
    EXPECT_EQ(NormaliseRoute("d"), "IV");
    EXPECT_EQ(NormaliseRoute("im"), "IM");
    EXPECT_EQ(RouteProblem("gm", "IM", {}), std::nullopt);
    EXPECT_EQ(RouteProblem("gm", "O", {}), "Please input valid route.(IM or IV)");
    EXPECT_EQ(RouteProblem("LI", "IV", {}), "Please input valid route.(O)");
    EXPECT_EQ(RouteProblem("cx", "IM", {}), "Please input valid route.(O or IV)");
    EXPECT_EQ(RouteProblem("ph", "C", {}), std::nullopt);
    EXPECT_EQ(RouteProblem("ph", "O", {}),
              "Please enter valid dosage route: IV, IM, C(apsule),  S(uspension) or T(ablet).");
}

TEST(HistoryRoutes, UserDrugTakesOnlyItsDefinedGroups) {
    const UserDrugRoutes ivAndOral{true, false, true};
    EXPECT_EQ(RouteProblem("zz", "IV", ivAndOral), std::nullopt);
    EXPECT_EQ(RouteProblem("zz", "O", ivAndOral), std::nullopt);
    EXPECT_EQ(RouteProblem("zz", "IM", ivAndOral), "Please input valid route. IM is not valid for this drug");
    EXPECT_EQ(RouteProblem("zz", "C", ivAndOral), "Please input valid route.(IM or IV or O)");
}

TEST(HistoryTime, YearBoundaryIsOneDayInLeapYearsToo) {
    for (int year : {2023, 2024, 2027, 2028}) {
        EXPECT_DOUBLE_EQ(HistoryHours({year + 1, 1, 1}, 8, 0) - HistoryHours({year, 12, 31}, 8, 0), 24.0) << year;
    }
    EXPECT_DOUBLE_EQ(HistoryHours({2028, 3, 1}, 0, 0) - HistoryHours({2028, 2, 28}, 0, 0), 48.0);
    EXPECT_DOUBLE_EQ(HistoryHours({2027, 3, 1}, 0, 0) - HistoryHours({2027, 2, 28}, 0, 0), 24.0);
    EXPECT_DOUBLE_EQ(HistoryHours({2026, 12, 1}, 17, 30) - HistoryHours({2026, 12, 1}, 8, 0), 9.5);
}

TEST(HistoryRows, MeasuredLevelsFirstThenPredictionRows) {
    EXPECT_EQ(CountedLevelRows({Level(1, 8, 5), Level(1, 9, 3), Level(2, 8, -1), Level(3, 8, -1)}), 4);
    EXPECT_EQ(CountedLevelRows({Level(1, 8, 5), Level(2, 8, -1), Level(3, 8, 4)}), 2);
}

TEST(HistoryRows, IncompleteDoseRows) {
    const DoseRow good = Dose(1, 8, 80, "IV", 0.5, 8, 3);
    EXPECT_EQ(CheckHistoryRows({good}, {}, kGentamicin), std::nullopt);
    DoseRow noInfusion = good;
    noInfusion.infusionTime = 0;  // an IV dose is always an infusion here
    DoseRow noTime = good;
    noTime.timeEntered = false;
    DoseRow noStatus = good;
    noStatus.status.clear();
    DoseRow wrongRoute = good;
    wrongRoute.route = "O";
    DoseRow negativeDose = good;
    negativeDose.dose = -80;
    for (const DoseRow& bad : {noInfusion, noTime, noStatus, wrongRoute, negativeDose})
        EXPECT_EQ(CheckHistoryRows({good, bad}, {}, kGentamicin), " Error in Dose Entry # 2");
    DoseRow imWithoutInfusion = good;
    imWithoutInfusion.route = "IM";
    imWithoutInfusion.infusionTime = 0;
    EXPECT_EQ(CheckHistoryRows({imWithoutInfusion}, {}, kGentamicin), std::nullopt);
}

TEST(HistoryRows, MessagePrecedence) {
    const DoseRow good = Dose(1, 8, 80, "IV", 0.5, 8, 3);
    DoseRow badDose = good;
    badDose.interval = 0;
    DoseRow tooMany = good;
    tooMany.doses = 1001;
    LevelRow noTime = Level(1, 9, 4);
    noTime.timeEntered = false;
    const std::vector<LevelRow> levels = {Level(1, 9, 0), Level(1, 10, 4), noTime};
    // The dose row first, then the last incomplete level row, then the limit.
    EXPECT_EQ(CheckHistoryRows({good, badDose, tooMany}, levels, kGentamicin), " Error in Dose Entry # 2");
    EXPECT_EQ(CheckHistoryRows({good, tooMany}, levels, kGentamicin), " Error in Level Entry # 3");
    EXPECT_EQ(CheckHistoryRows({good, tooMany}, {Level(1, 9, 4)}, kGentamicin),
              "Data Entry Not Complete.\nOr \nToo Many Doses Entered.");
    // Text read as a number can give a level that is none.
    for (double notANumber : {std::nan(""), HUGE_VAL})
        EXPECT_EQ(CheckHistoryRows({good}, {Level(1, 9, 4), Level(1, 10, notANumber)}, kGentamicin),
                  " Error in Level Entry # 2");
}

TEST(HistoryRows, ThousandEventLimitCountsPhenytoinPortions) {
    DoseRow row = Dose(1, 8, 80, "IV", 0.5, 1, 1000);
    EXPECT_EQ(CheckHistoryRows({row}, {}, kGentamicin), std::nullopt);
    row.doses = 600;
    EXPECT_NE(CheckHistoryRows({row, row}, {}, kGentamicin), std::nullopt);

    // 300 mg by mouth at 60 mg/h is five events per administration.
    const HistoryRules phenytoin{"ph", {}, 60};
    DoseRow capsules = Dose(1, 8, 300, "C", 0, 24, 200);
    EXPECT_DOUBLE_EQ(DoseEventCount({capsules}, true, 60), 1000);
    EXPECT_EQ(CheckHistoryRows({capsules}, {}, phenytoin), std::nullopt);
    capsules.doses = 201;
    EXPECT_NE(CheckHistoryRows({capsules}, {}, phenytoin), std::nullopt);
    // 130 mg: 60 + 60 + 10.
    EXPECT_DOUBLE_EQ(DoseEventCount({Dose(1, 8, 130, "T", 0, 24, 2)}, true, 60), 6);
}

TEST(HistoryRows, BoundsNoRealCourseComesNear) {
    const DoseRow good = Dose(1, 8, 80, "IV", 0.5, 720, 2);
    EXPECT_EQ(CheckHistoryRows({good}, {}, kGentamicin), std::nullopt);
    DoseRow longInterval = good;
    longInterval.interval = 1e308;
    EXPECT_EQ(CheckHistoryRows({good, longInterval}, {}, kGentamicin),
              " Error in Dose Entry # 2: the interval is above 720 hours.");
    for (double infusion : {0.005, 720.5, 1e16}) {
        DoseRow row = good;
        row.infusionTime = infusion;
        EXPECT_EQ(CheckHistoryRows({row}, {}, kGentamicin),
                  " Error in Dose Entry # 1: the infusion time must be 0.01 to 720 hours.");
    }
    DoseRow hugeDose = good;
    hugeDose.dose = 1e300;
    EXPECT_EQ(CheckHistoryRows({hugeDose}, {}, kGentamicin), " Error in Dose Entry # 1: the dose is above 100000.");

    // A year typed wrong: the 2024 dose lies two years and an hour before the
    // level; the span counts a prediction row and a row's later
    // administrations too.
    DoseRow typo = good;
    typo.date.year = 2024;
    const std::string tooLong = "The history spans more than 730 days. Please check the years entered.";
    EXPECT_EQ(CheckHistoryRows({typo}, {Level(1, 9, 4)}, kGentamicin), tooLong);
    EXPECT_EQ(CheckHistoryRows({typo}, {Level(1, 8, 4)}, kGentamicin), std::nullopt);  // 730 days exactly
    LevelRow farPrediction = Level(1, 8, -1);
    farPrediction.date.year = 2028;
    EXPECT_EQ(CheckHistoryRows({good}, {Level(1, 9, 4), farPrediction}, kGentamicin), tooLong);
    EXPECT_DOUBLE_EQ(HistorySpanHours({Dose(1, 8, 80, "IV", 0.5, 24, 3)}, {Level(1, 6, 2)}), 50);
}
