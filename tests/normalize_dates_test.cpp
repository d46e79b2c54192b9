#include "model/normalize_dates.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

Item Period(DateTime start, DateTime end) {
    Item item = NewOwnEntry();
    item.startDate = start;
    item.endDate = end;
    item.checkDate = kNoDate;
    return item;
}

TEST(NormalizeDates, PeriodCases) {
    struct Case {
        const char* name;
        DateTime start, end;
        DateTime wantStart, wantEnd;
    };
    const Case cases[] = {
        {"end without time on the start day: times cleared, end dropped",
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, -1, -1},
         {2013, 11, 2, -1, -1},
         kNoDate},
        {"same day, end after start: kept",
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, 10, 30},
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, 10, 30}},
        {"same day, end before start: dropped",
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, 9, 0},
         {2013, 11, 2, 10, 0},
         kNoDate},
        {"same day and time: dropped",
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, 10, 0},
         {2013, 11, 2, 10, 0},
         kNoDate},
        {"same day without times: dropped",
         {2013, 11, 2, -1, -1},
         {2013, 11, 2, -1, -1},
         {2013, 11, 2, -1, -1},
         kNoDate},
        {"end on an earlier day: dropped",
         {2013, 11, 5, -1, -1},
         {2013, 11, 2, -1, -1},
         {2013, 11, 5, -1, -1},
         kNoDate},
        {"end on a later day with an earlier clock time: kept",
         {2013, 11, 2, 10, 0},
         {2013, 11, 3, 9, 0},
         {2013, 11, 2, 10, 0},
         {2013, 11, 3, 9, 0}},
        {"only the start has a time, later day: both times cleared",
         {2013, 11, 2, 10, 0},
         {2013, 11, 5, -1, -1},
         {2013, 11, 2, -1, -1},
         {2013, 11, 5, -1, -1}},
        {"deadline without start is left alone",
         kNoDate,
         {2013, 11, 4, 17, 0},
         kNoDate,
         {2013, 11, 4, 17, 0}},
        {"invalid end date becomes no date",
         {2013, 11, 2, -1, -1},
         {2013, 2, 30, -1, -1},
         {2013, 11, 2, -1, -1},
         kNoDate},
    };
    for (const Case& c : cases) {
        Item item = Period(c.start, c.end);
        NormalizeDates(item);
        EXPECT_EQ(item.startDate, c.wantStart) << c.name;
        EXPECT_EQ(item.endDate, c.wantEnd) << c.name;
    }
}

TEST(NormalizeDates, ZeroedRecordBecomesNoDates) {
    Item item = NewOwnEntry(); // all groups 0/0/0 0:0
    EXPECT_FALSE(NormalizeDates(item));
    EXPECT_EQ(item.startDate, kNoDate);
    EXPECT_EQ(item.endDate, kNoDate);
    EXPECT_EQ(item.checkDate, kNoDate);
}

TEST(NormalizeDates, BadTimeIsClearedSeparatelyFromTheDate) {
    Item item = Period({2013, 11, 2, 24, 0}, kNoDate);
    item.checkDate = {2013, 11, 1, 8, 75};
    NormalizeDates(item);
    EXPECT_EQ(item.startDate, (DateTime{2013, 11, 2, -1, -1}));
    EXPECT_EQ(item.checkDate, (DateTime{2013, 11, 1, -1, -1}));
}

TEST(NormalizeDates, ResultIsTrueOnlyWhenNothingChanged) {
    Item item = Period({2013, 11, 2, 10, 0}, {2013, 11, 3, 10, 0});
    item.checkDate = {2013, 11, 1, 8, 0};
    EXPECT_TRUE(NormalizeDates(item));
    item.checkDate = {2013, 11, 1, 8, 60};
    EXPECT_FALSE(NormalizeDates(item));
    EXPECT_EQ(item.endDate, (DateTime{2013, 11, 3, 10, 0}));

    // One repair in any group makes the result false, whatever follows; a
    // group without a time counts as repaired too (its time is rewritten).
    const struct {
        DateTime start, end, check;
        bool unchanged;
    } rows[] = {
        {{2013, 11, 2, 8, 0}, {2013, 11, 4, 8, 0}, {2013, 11, 1, 8, 0}, true},
        {{2013, 13, 2, 8, 0}, {2013, 11, 4, 8, 0}, {2013, 11, 1, 8, 0}, false},
        {{2013, 11, 2, 8, 0}, {2013, 2, 30, 8, 0}, {2013, 11, 1, 8, 0}, false},
        {{2013, 11, 2, 24, 0}, {2013, 11, 4, 8, 0}, {2013, 11, 1, 8, 0}, false},
        {{2013, 11, 2, 8, 0}, {2013, 11, 4, 8, 0}, {2013, 11, 1, 8, -1}, false},
        {{2013, 11, 2, 8, 0}, {2013, 11, 4, -1, -1}, {2013, 11, 1, 8, 0}, false},
        {{2013, 11, 4, 8, 0}, {2013, 11, 2, 8, 0}, {2013, 11, 1, 8, 0}, false},
    };
    for (const auto& r : rows) {
        Item i = Period(r.start, r.end);
        i.checkDate = r.check;
        EXPECT_EQ(NormalizeDates(i), r.unchanged) << r.start.month << " " << r.end.day;
    }
}

} // namespace
} // namespace vantrel
