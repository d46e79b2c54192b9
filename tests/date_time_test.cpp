#include "model/date_time.h"
#include "support/moments.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::At;

TEST(DayNumber, KnownDays) {
    EXPECT_EQ(DayNumberOf(1, 1, 1), 1);
    EXPECT_EQ(DayNumberOf(2000, 1, 1), 730120);
    EXPECT_EQ(DayNumberOf(2000, 12, 31), 730485);
    EXPECT_EQ(DayNumberOf(2013, 11, 2), 735174);
    EXPECT_EQ(DayNumberOf(4000, 12, 31), 1460970);
}

TEST(DayNumber, WeekdayOfKnownDays) {
    EXPECT_EQ(WeekdayOf(DayNumberOf(1, 1, 1)), 1);     // Monday
    EXPECT_EQ(WeekdayOf(730120), 6);                   // 2000-01-01, Saturday
    EXPECT_EQ(WeekdayOf(DayNumberOf(2013, 11, 2)), 6); // Saturday
    EXPECT_EQ(WeekdayOf(DayNumberOf(2026, 12, 8)), 2); // Tuesday
}

TEST(DayNumber, CycleEnds) {
    EXPECT_EQ(DateOfDayNumber(146097), (CalendarDate{400, 12, 31}));
    EXPECT_EQ(DateOfDayNumber(146098), (CalendarDate{401, 1, 1}));
    EXPECT_EQ(DateOfDayNumber(1461), (CalendarDate{4, 12, 31}));
    EXPECT_EQ(DateOfDayNumber(1462), (CalendarDate{5, 1, 1}));
    EXPECT_EQ(DateOfDayNumber(36524), (CalendarDate{100, 12, 31})); // 100 is not leap
    EXPECT_EQ(DateOfDayNumber(DayNumberOf(2000, 2, 29)), (CalendarDate{2000, 2, 29}));
}

TEST(DayNumber, RoundTripsEveryDayOfYears1To4000) {
    int expected = 1;
    for (int y = 1; y <= 4000; ++y) {
        const int leap = IsLeapYear(y);
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= kDaysInMonth[leap][m]; ++d) {
                const int n = DayNumberOf(y, m, d);
                ASSERT_EQ(n, expected) << y << '-' << m << '-' << d;
                ASSERT_EQ(DateOfDayNumber(n), (CalendarDate{y, m, d})) << n;
                ++expected;
            }
        }
    }
    EXPECT_EQ(expected - 1, 1460970);
}

TEST(DayNumber, BadMonthDoesNotIndexOutsideTheTables) {
    // No month offset; what matters is that nothing outside the table is read.
    EXPECT_EQ(DayNumberOf(2000, 0, 0), DayNumberOf(2000, 1, 1) - 1);
    EXPECT_EQ(DayNumberOf(2000, 13, 1), DayNumberOf(2000, 1, 1));
}

TEST(Validity, BadDates) {
    struct Case {
        int y, m, d;
        bool bad;
    };
    const Case cases[] = {
        {1900, 2, 29, true}, {2000, 2, 29, false},  {2013, 2, 29, true}, {2012, 2, 29, false},
        {4001, 1, 1, true},  {4000, 12, 31, false}, {0, 1, 1, true},     {1, 1, 1, false},
        {2013, 0, 1, true},  {2013, 13, 1, true},   {2013, 4, 31, true}, {2013, 4, 30, false},
        {2013, 1, 0, true},  {2013, 12, 32, true},  {-5, 1, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsBadDate(c.y, c.m, c.d), c.bad) << c.y << '-' << c.m << '-' << c.d;
    }
}

TEST(Validity, BadTimes) {
    EXPECT_FALSE(IsBadTime(0, 0));
    EXPECT_FALSE(IsBadTime(23, 59));
    EXPECT_TRUE(IsBadTime(24, 0));
    EXPECT_TRUE(IsBadTime(0, 60));
    EXPECT_TRUE(IsBadTime(-1, -1));
    EXPECT_TRUE(IsBadTime(10, -1));
}

TEST(MinutesSince, AroundMidnight) {
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 0, 10), 2013, 11, 1, 23, 50), 20);
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 23, 55), 2013, 11, 3, 0, 5), -10);
    // Across a month and a year end.
    EXPECT_EQ(MinutesSince(At(2014, 1, 1, 0, 0), 2013, 12, 31, 23, 59), 1);
}

TEST(MinutesSince, ExactlyOneDayIsStillNear) {
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 9, 0), 2013, 11, 1, 9, 0), 1440);
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 9, 0), 2013, 11, 3, 9, 0), -1440);
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 9, 0), 2013, 11, 1, 8, 59), kNotNear);
    EXPECT_EQ(MinutesSince(At(2013, 11, 2, 9, 0), 2013, 11, 3, 9, 1), kNotNear);
}

TEST(MinutesSince, FarOrUntimedIsNotNear) {
    const SystemTime now = At(2013, 11, 2, 9, 0);
    EXPECT_EQ(MinutesSince(now, 2013, 10, 31, 23, 59), kNotNear);
    EXPECT_EQ(MinutesSince(now, 2013, 11, 4, 0, 0), kNotNear);
    EXPECT_EQ(MinutesSince(now, 2013, 11, 2, -1, -1), kNotNear);
    EXPECT_EQ(MinutesSince(now, 2013, 11, 2, 9, -1), kNotNear);
    EXPECT_EQ(MinutesSince(now, 0, 0, 0, 9, 0), kNotNear);
    EXPECT_EQ(MinutesSince(now, 2013, 11, 2, 9, 0), 0);
}

} // namespace
} // namespace vantrel
