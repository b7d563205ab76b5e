#include <gtest/gtest.h>

#include "records/calendar.h"

TEST(Calendar, DayNumbersCountFromTheEndOf1899) {
    EXPECT_EQ(DayNumber(1899, 12, 30), 0);
    EXPECT_EQ(DayNumber(1900, 1, 1), 2);
    // 1 January 2000 is the well-known serial 36526.
    EXPECT_EQ(DayNumber(2000, 1, 1), 36526);
    EXPECT_EQ(DateOfDayNumber(36526), (CivilDate{2000, 1, 1}));
    // 29 February of a common year rolls over to 1 March.
    EXPECT_EQ(DayNumber(2026, 2, 29), DayNumber(2026, 3, 1));
}

TEST(Calendar, IsoTextRoundTripsAndRefusesNonsense) {
    const double moment = MomentOf({2026, 12, 8}, 8, 30);
    EXPECT_EQ(IsoDateTime(moment), "2026-12-08 08:30:00");
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("2026-12-08 08:30:00"), moment);
    EXPECT_EQ(IsoDateTime(MomentOf({1899, 12, 30}, 8, 30)), "1899-12-30 08:30:00");
    EXPECT_FALSE(ParseIsoDate("2026-02-30"));
    EXPECT_FALSE(ParseIsoDate("12/08/2026"));
    EXPECT_FALSE(ParseIsoDateTime("2026-12-08 25:00:00"));
}

TEST(Calendar, AgeCountsWholeYearsAndDaysSinceTheBirthday) {
    const double now = MomentOf({2026, 12, 8}, 12);
    // Born 15 March 1986: 40 whole years, 268 days since the last birthday.
    EXPECT_NEAR(AgeInYears({1986, 3, 15}, now), 40 + 268 / 365.0, 1e-12);
    // The day before the 40th birthday: 39 years and 364 days.
    EXPECT_NEAR(AgeInYears({1986, 12, 9}, now), 39 + 364 / 365.0, 1e-12);
    // Birthday today: exactly 40.
    EXPECT_NEAR(AgeInYears({1986, 12, 8}, now), 40.0, 1e-12);
    // Born today: 0.
    EXPECT_NEAR(AgeInYears({2026, 12, 8}, now), 0.0, 1e-12);
}

TEST(Calendar, DateAndTimeTextsAreExactlyDigitsAndSeparators) {
    EXPECT_EQ(ParseIsoDate("2026-12-08"), (CivilDate{2026, 12, 8}));
    for (const char* sloppy : {" 2026-1-01", "2026-12- 1", "+123-+1-+1", "2026-1-011", "2026/12/08", "-026-12-08"})
        EXPECT_FALSE(ParseIsoDate(sloppy)) << sloppy;
    EXPECT_DOUBLE_EQ(*ParseIsoDateTime("2026-12-08"), DayNumber(2026, 12, 8));
    for (const char* sloppy : {"2026-12-08 8:30:00", "2026-12-08T08:30:00", "2026-12-08 08:30", "2026-12-8 08:30:00"})
        EXPECT_FALSE(ParseIsoDateTime(sloppy)) << sloppy;

    EXPECT_EQ(ParseHourMinute("08:30"), std::pair(8, 30));
    EXPECT_EQ(ParseHourMinute("8:30"), std::pair(8, 30));
    // The range is the caller's check, with its own message.
    EXPECT_EQ(ParseHourMinute("24:75"), std::pair(24, 75));
    for (const char* sloppy : {"4294967313:00", " 8:30", "+8:30", "8:5", "08:30 ", "08-30", ":30", "123:00"})
        EXPECT_FALSE(ParseHourMinute(sloppy)) << sloppy;
}
