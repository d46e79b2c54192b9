#include "platform/poom_store/store_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace vantrel::store {
namespace {

constexpr const char* kStore = R"(# a store
[appointment]
oid: 5
subject: 定例会議
location: 本社
start: 2026-11-30 10:00
end: 2026-11-30 11:00
categories: 仕事, 会議
repeat: weekly every 2 on mon,wed
until: 2027-03-31
skip: 2026-12-14
move: 2026-12-16 -> 2026-12-17 15:00 - 2026-12-17 16:00 | 会議 (振替)

[appointment]
subject: 冬休み
start: 2026-12-28
end: 2026-12-30
busy: out-of-office

[task]
subject: 年賀状
due: 2026-12-20
complete: yes 2026-12-05
importance: high
repeat: yearly month 12 day 20
)";

int Day(int y, int m, int d) {
    return DayNumberOf(y, m, d);
}

TEST(StoreModel, ParsesAndWritesTheStoreFile) {
    const ParsedStore parsed = ParseStore(kStore);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const Store& s = parsed.store;
    ASSERT_EQ(s.appointments.size(), 2u);
    const Appointment& series = s.appointments[0];
    EXPECT_EQ(series.oid, 5);
    EXPECT_EQ(series.categories, u"仕事, 会議");
    ASSERT_TRUE(series.recurrence);
    EXPECT_EQ(series.recurrence->dayOfWeekMask, 2 | 8);
    EXPECT_EQ(series.recurrence->patternStart, (CalendarDate{2026, 11, 30}));
    EXPECT_FALSE(series.recurrence->noEndDate);
    ASSERT_EQ(series.exceptions.size(), 2u);
    EXPECT_TRUE(series.exceptions[0].deleted);
    EXPECT_EQ(series.exceptions[1].subject, u"会議 (振替)");
    const Appointment& holiday = s.appointments[1];
    EXPECT_TRUE(holiday.allDay);
    EXPECT_EQ(holiday.end, MomentOf(Day(2026, 12, 31), 0, 0)); // the last day is included
    EXPECT_EQ(holiday.busyStatus, 3);
    EXPECT_GE(holiday.oid, 1000);
    ASSERT_EQ(s.tasks.size(), 1u);
    EXPECT_TRUE(s.tasks[0].complete);
    EXPECT_EQ(s.tasks[0].completedDay, Day(2026, 12, 5));
    EXPECT_EQ(s.tasks[0].importance, 2);

    // What is written reads back the same.
    const ParsedStore again = ParseStore(FormatStore(s));
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(FormatStore(again.store), FormatStore(s));
}

TEST(StoreModel, MalformedFilesNameTheLine) {
    const struct {
        const char* text;
        const char* error;
    } rows[] = {
        {"subject: x\n", "line 1: expected [appointment], [task] or \"key: value\""},
        {"[task]\ndue: tomorrow\n", "line 2: bad value for 'due': tomorrow"},
        {"[appointment]\ncolour: red\n", "line 2: unknown appointment key 'colour'"},
        {"[appointment]\nrepeat: hourly\n", "line 2: bad value for 'repeat': hourly"},
        {"[appointment]\nskip: 2026-12-01 -> 2026-12-02 10:00 - 2026-12-02 11:00\n",
         "line 2: bad value for 'skip': 2026-12-01 -> 2026-12-02 10:00 - 2026-12-02 11:00"},
    };
    for (const auto& row : rows) {
        const ParsedStore parsed = ParseStore(row.text);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, row.error);
    }
}

TEST(StoreModel, OccurrencesHonourExceptions) {
    const Store s = ParseStore(kStore).store;
    const Appointment& series = s.appointments[0];
    std::vector<int> days;
    for (const Occurrence& o : OccurrencesStarting(series, Day(2026, 12, 1), Day(2026, 12, 20))) {
        days.push_back(DayOf(o.start));
    }
    // Biweekly Mon/Wed: 12/02, (12/14 skipped), 12/16 moved to 12/17.
    EXPECT_EQ(days, (std::vector<int>{Day(2026, 12, 2), Day(2026, 12, 17)}));
    EXPECT_FALSE(OccurrenceOn(series, Day(2026, 12, 16)));
    const std::optional<Occurrence> moved = OccurrenceOn(series, Day(2026, 12, 17));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->originalDay, Day(2026, 12, 16));
    EXPECT_EQ(moved->subject, u"会議 (振替)");
    EXPECT_TRUE(OccurrencesStarting(series, Day(2027, 4, 1), Day(2027, 4, 30)).empty()); // ended
}

TEST(StoreModel, QueriesOfTheImport) {
    const Minutes day = MomentOf(Day(2026, 12, 8), 0, 0);
    const double v = VariantOf(day);
    EXPECT_DOUBLE_EQ(v, 46364.0); // 2026-12-08 as a variant time
    char text[160];
    std::snprintf(text, sizeof text, "[Start] >= \"<%f\" AND [Start] < \"<%f\"", v, v + 1);
    const std::u16string query(text, text + std::strlen(text));
    const auto parsed = ParseQuery(query);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(Matches(*parsed, day, day + 60, 1));
    EXPECT_FALSE(Matches(*parsed, day - 60, day + 60, 1)); // 23:00 yesterday to 01:00
    EXPECT_FALSE(Matches(*parsed, day + 1440, day + 1500, 1));
    const auto oid =
        ParseQuery(u"[Start] <= \"<46364.500000\" AND [End] >= \"<46364.500000\" AND [Oid]=77");
    ASSERT_TRUE(oid);
    EXPECT_TRUE(Matches(*oid, day + 600, day + 780, 77));
    EXPECT_FALSE(Matches(*oid, day + 600, day + 780, 78));
    EXPECT_FALSE(ParseQuery(u"[Subject] = \"x\""));
    EXPECT_FALSE(ParseQuery(u"[Start] >= \"<1.0\" OR [End] < 2"));
}

TEST(StoreModel, RecurringTaskSkipsToItsNextDay) {
    const Store s = ParseStore(kStore).store;
    EXPECT_EQ(NextTaskDay(s.tasks[0]), Day(2027, 12, 20));
}

} // namespace
} // namespace vantrel::store
