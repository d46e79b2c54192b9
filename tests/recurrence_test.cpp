#include "outlook/match_categories.h"
#include "outlook/recurrence.h"
#include "support/moments.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

using testing::At;

RecurrenceValues Pattern(int type, CalendarDate start, std::optional<int> interval, int mask = 0,
                         int dayOfMonth = 0, int instance = 0, int monthOfYear = 0) {
    RecurrenceValues s;
    s.type = type;
    s.patternStart = start;
    s.interval = interval;
    s.dayOfWeekMask = mask;
    s.dayOfMonth = dayOfMonth;
    s.instance = instance;
    s.monthOfYear = monthOfYear;
    return s;
}

constexpr int kMonday = 2, kWednesday = 8, kTuesday = 4, kThursday = 16;

TEST(NextOccurrence, PatternsOfEveryType) {
    const struct {
        const char* what;
        RecurrenceValues series;
        CalendarDate from, expected;
    } rows[] = {
        {"biweekly Mon/Wed seen on an off-week Thursday",
         Pattern(kRecursWeekly, {2026, 11, 30}, 2, kMonday | kWednesday),
         {2026, 12, 10},
         {2026, 12, 14}},
        {"weekly in an on-week",
         Pattern(kRecursWeekly, {2026, 11, 30}, 2, kMonday | kWednesday),
         {2026, 12, 1},
         {2026, 12, 2}},
        {"before the start",
         Pattern(kRecursDaily, {2026, 12, 20}, 1),
         {2026, 12, 1},
         {2026, 12, 20}},
        {"every third day", Pattern(kRecursDaily, {2026, 12, 1}, 3), {2026, 12, 5}, {2026, 12, 7}},
        {"every weekday from Saturday",
         Pattern(kRecursDaily, {2026, 1, 1}, std::nullopt, 62),
         {2026, 12, 12},
         {2026, 12, 14}},
        {"every weekday from Sunday",
         Pattern(kRecursDaily, {2026, 1, 1}, std::nullopt, 62),
         {2026, 12, 13},
         {2026, 12, 14}},
        {"monthly 31st in February",
         Pattern(kRecursMonthly, {2026, 1, 31}, 1, 0, 31),
         {2027, 2, 1},
         {2027, 2, 28}},
        {"every second month, day passed",
         Pattern(kRecursMonthly, {2026, 1, 10}, 2, 0, 10),
         {2026, 3, 11},
         {2026, 5, 10}},
        {"second Tuesday",
         Pattern(kRecursMonthNth, {2026, 1, 1}, 1, kTuesday, 0, 2),
         {2026, 12, 9},
         {2027, 1, 12}},
        {"last weekday of the month",
         Pattern(kRecursMonthNth, {2026, 1, 1}, 1, 62, 0, 5),
         {2026, 10, 1},
         {2026, 10, 30}},
        {"last day of the month",
         Pattern(kRecursMonthNth, {2026, 1, 1}, 1, 127, 0, 5),
         {2027, 2, 3},
         {2027, 2, 28}},
        {"fifth Tuesday falls back to the fourth",
         Pattern(kRecursMonthNth, {2026, 1, 1}, 1, kTuesday, 0, 5),
         {2027, 2, 1},
         {2027, 2, 23}},
        {"yearly 29 February",
         Pattern(kRecursYearly, {2024, 2, 29}, 1, 0, 29, 0, 2),
         {2026, 3, 1},
         {2027, 2, 28}},
        {"fourth Thursday of November",
         Pattern(kRecursYearNth, {2000, 11, 1}, 1, kThursday, 0, 4, 11),
         {2026, 11, 27},
         {2027, 11, 25}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SystemTime date = At(row.from.year, row.from.month, row.from.day, 15, 30);
        ASSERT_EQ(NextOccurrence(row.series, date), 1);
        EXPECT_EQ((CalendarDate{date.year, date.month, date.day}), row.expected);
        EXPECT_EQ(date.hour, 15);
        EXPECT_EQ(date.dayOfWeek, WeekdayOf(DayNumberOf(date)));
    }
}

TEST(NextOccurrence, EndedAndEmptySeries) {
    RecurrenceValues ended = Pattern(kRecursWeekly, {2026, 1, 5}, 1, kMonday);
    ended.noEndDate = false;
    ended.patternEnd = {2026, 12, 7};
    SystemTime date = At(2026, 12, 8, 9, 0);
    EXPECT_EQ(NextOccurrence(ended, date), 0);
    date = At(2026, 12, 7, 9, 0);
    EXPECT_EQ(NextOccurrence(ended, date), 1);
    SystemTime never = At(2026, 12, 8, 9, 0);
    EXPECT_EQ(NextOccurrence(Pattern(kRecursWeekly, {2026, 1, 1}, 1, 0), never), 0);
    EXPECT_EQ(NextOccurrence(Pattern(kRecursMonthNth, {2026, 1, 1}, 1, 0, 0, 2), never), 0);
}

// NextOccurrence agrees with a plain day-by-day expansion of the pattern.
TEST(NextOccurrence, AgreesWithDayByDayExpansion) {
    std::mt19937 rng(1207);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const int types[] = {kRecursDaily,    kRecursWeekly, kRecursMonthly,
                         kRecursMonthNth, kRecursYearly, kRecursYearNth};
    const int masks[] = {62, 65, 127, 1, 2, 4, 8, 16, 32, 64, 10, 42};
    for (int n = 0; n < 3000; ++n) {
        const int start = DayNumberOf(2020, 1, 1) + pick(0, 2000);
        RecurrenceValues s = Pattern(types[pick(0, 5)], DateOfDayNumber(start), pick(1, 4),
                                     masks[pick(0, 11)], pick(1, 31), pick(1, 5), pick(1, 12));
        if (s.type == kRecursDaily && pick(0, 3) == 0) {
            s.interval = std::nullopt;
        }
        if (pick(0, 2) == 0) {
            s.noEndDate = false;
            s.patternEnd = DateOfDayNumber(start + pick(0, 1500));
        }
        const int from = start + pick(-100, 1600);
        const CalendarDate f = DateOfDayNumber(from);
        SystemTime date = At(f.year, f.month, f.day, 8, 0);
        const int result = NextOccurrence(s, date);

        int expected = 0;
        for (int d = std::max(from, start); d < from + 366 * 5; ++d) {
            if (OccursOn(s, d)) {
                expected = d;
                break;
            }
        }
        SCOPED_TRACE(::testing::Message() << "type " << s.type << " start " << start << " from "
                                          << from << " mask " << s.dayOfWeekMask);
        if (expected == 0) {
            EXPECT_EQ(result, 0);
        } else {
            ASSERT_EQ(result, 1);
            EXPECT_EQ(DayNumberOf(date), expected);
        }
    }
}

TEST(MatchCategories, HideShowAndRewrite) {
    Settings defaults;
    Settings holidaysHidden;
    holidaysHidden.ViewHoliday = 0;
    Settings vrlOnly;
    vrlOnly.ApptVRL = 1;
    Settings taskFilters;
    taskFilters.TaskNoVRL = 1;
    taskFilters.TaskNoVRLCat = u"\u79C1\u7528"; // 私用
    const struct {
        int isTask;
        const Settings* settings;
        std::u16string text, rewritten;
        int admitted;
    } rows[] = {
        {0, &holidaysHidden, u"\u4F11\u6687, \u795D\u65E5", u"\u4F11\u6687\t\u795D\u65E5", 0},
        {0, &defaults, u"\u4F11\u6687, \u795D\u65E5", u"\u4F11\u6687\t\u795D\u65E5", 1},
        {0, &holidaysHidden, u"\u795D\u65E5 , x", u"\u795D\u65E5 \tx", 1}, // exact match only
        {0, &vrlOnly, u"", u"", 0},
        {0, &vrlOnly, u"a, VRL", u"a\tVRL", 1},
        {0, &vrlOnly, u"vrl", u"vrl", 0}, // case-sensitive
        {0, &defaults, u",,a,, b", u"a\tb", 1},
        {1, &taskFilters, u"\u79C1\u7528", u"\u79C1\u7528", 0},
        {1, &holidaysHidden, u"\u795D\u65E5", u"\u795D\u65E5", 1}, // tasks use their own pair
    };
    for (const auto& row : rows) {
        std::u16string text = row.text;
        EXPECT_EQ(MatchCategories(row.isTask, text, *row.settings), row.admitted);
        EXPECT_EQ(text, row.rewritten);
    }
}

} // namespace
} // namespace vantrel
