#include "counter/evaluate_item.h"
#include "support/moments.h"
#include "text/builtin_texts.h"

#include <gtest/gtest.h>

#include <optional>

namespace vantrel {
namespace {

using testing::At;

const SystemTime kNow = At(2013, 11, 2, 9, 0); // a Saturday

constexpr DateTime D(int y, int m, int d) {
    return {y, m, d, -1, -1};
}
constexpr DateTime DT(int y, int m, int d, int h, int mi) {
    return {y, m, d, h, mi};
}

// Defaults unless a row says otherwise.
CounterSettings Defaults() {
    return CounterSettings{};
}
CounterSettings With(void (*change)(CounterSettings&)) {
    CounterSettings s;
    change(s);
    return s;
}
constexpr auto kShort = +[](CounterSettings& s) { s.ShortView = 1; };
constexpr auto kShortNoTomorrow = +[](CounterSettings& s) {
    s.ShortView = 1;
    s.DrawTomorrow = 0;
};
constexpr auto kNoTomorrow = +[](CounterSettings& s) { s.DrawTomorrow = 0; };
constexpr auto kSpan = +[](CounterSettings& s) { s.DrawSpan = 1; };
constexpr auto kNoWeekday = +[](CounterSettings& s) { s.DrawWDay = 0; };
constexpr auto kCheckDateOff = +[](CounterSettings& s) { s.CheckDate = 0; };
constexpr auto kToDoSpan3 = +[](CounterSettings& s) { s.DSpanTs = -3; };
constexpr auto kFuture2 = +[](CounterSettings& s) { s.Future = 2; };
constexpr auto kMax30 = +[](CounterSettings& s) { s.MaxMinutes = 30; };
constexpr auto kMax30Short = +[](CounterSettings& s) {
    s.MaxMinutes = 30;
    s.ShortView = 1;
};
constexpr auto kMax60NoTomorrow = +[](CounterSettings& s) {
    s.MaxMinutes = 60;
    s.DrawTomorrow = 0;
};

struct Row {
    const char* name;
    DateTime start = kNoDate;
    DateTime end = kNoDate;
    DateTime check = kNoDate;
    CounterSettings settings = Defaults();
    SystemTime now = kNow;
    const char16_t* count = nullptr;
    const char16_t* date = nullptr;
    std::optional<int> dayCount{};
    std::optional<int> minuteCount{};
    std::optional<std::uint32_t> orderKey{};
    int anniversary = 0;
};

void Check(const Row& r) {
    static const BuiltinTextTable texts;
    Item item = NewOwnEntry();
    item.startDate = r.start;
    item.endDate = r.end;
    item.checkDate = r.check;
    item.checkState = r.check.HasDate() ? 1 : 0;
    EXPECT_EQ(EvaluateItem(item, r.now, r.settings, texts), 1);
    if (r.count) {
        EXPECT_EQ(item.countText, std::u16string(r.count)) << r.name;
    }
    if (r.date) {
        EXPECT_EQ(item.dateText, std::u16string(r.date)) << r.name;
    }
    if (r.dayCount) {
        EXPECT_EQ(item.dayCount, *r.dayCount) << r.name;
    }
    if (r.minuteCount) {
        EXPECT_EQ(item.minuteCount, *r.minuteCount) << r.name;
    }
    if (r.orderKey) {
        EXPECT_EQ(item.orderKey, *r.orderKey) << r.name;
    }
    EXPECT_EQ(item.anniversaryYears, r.anniversary) << r.name;
}

TEST(EvaluateItem, DayCountExamples) {
    const Row rows[] = {
        {.name = "date in five days",
         .start = D(2013, 11, 7),
         .count = u"あと5日",
         .date = u"11/07木",
         .dayCount = -5,
         .minuteCount = -1440,
         .orderKey = 0u},
        {.name = "short view",
         .start = D(2013, 11, 7),
         .settings = With(kShortNoTomorrow),
         .count = u"[5]"},
        {.name = "five days ago",
         .start = D(2013, 10, 28),
         .count = u"+5日",
         .date = u"10/28月",
         .dayCount = 5,
         .minuteCount = 1440},
        {.name = "tomorrow", .start = D(2013, 11, 3), .count = u"明日", .date = u"11/03日"},
        {.name = "tomorrow without the word",
         .start = D(2013, 11, 3),
         .settings = With(kNoTomorrow),
         .count = u"あと1日"},
        {.name = "running period",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 5),
         .count = u"残り3日",
         .date = u"11/05火迄",
         .dayCount = 0,
         .minuteCount = -1443},
        {.name = "period two days after its end",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 5),
         .now = At(2013, 11, 7, 9, 0),
         .count = u"終+2日",
         .date = u"11/05火終",
         .dayCount = 2,
         .minuteCount = 1440},
        {.name = "deadline in two days",
         .end = D(2013, 11, 4),
         .count = u"〆迄2日",
         .date = u"〆11/04月",
         .dayCount = 0,
         .minuteCount = 0,
         .orderKey = 2099995681u},
        {.name = "ToDo without deadline",
         .count = u"ToDo",
         .date = u"〆なし",
         .dayCount = 0,
         .minuteCount = 0,
         .orderKey = 2100000000u},
        {.name = "checked four days ago",
         .start = D(2013, 10, 1),
         .check = D(2013, 10, 29),
         .count = u"済+4日",
         .date = u"10/29火済",
         .dayCount = 4,
         .minuteCount = 1440},
        {.name = "checked, short view",
         .check = D(2013, 10, 29),
         .settings = With(kShort),
         .count = u"[x4]",
         .date = u"x10/29火"},
        {.name = "today, short view keeps the word",
         .start = D(2013, 11, 2),
         .settings = With(kShort),
         .count = u"今日",
         .dayCount = 0,
         .minuteCount = 0},
        {.name = "yesterday, short view keeps the word",
         .start = D(2013, 11, 1),
         .settings = With(kShort),
         .count = u"昨日"},
        {.name = "far past, short view",
         .start = D(2013, 10, 28),
         .settings = With(kShort),
         .count = u"[+5]"},
        {.name = "period, short view",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 5),
         .settings = With(kShortNoTomorrow),
         .count = u"[E3]"},
        {.name = "period ends tomorrow",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 3),
         .count = u"明日終"},
        {.name = "period ended yesterday, short",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 1),
         .settings = With(kShortNoTomorrow),
         .count = u"[E+1]"},
        {.name = "period ending today",
         .start = D(2013, 10, 30),
         .end = D(2013, 11, 2),
         .count = u"今日終",
         .date = u"11/02土終",
         .dayCount = 0,
         .minuteCount = -900},
        {.name = "deadline today",
         .end = D(2013, 11, 2),
         .count = u"〆今日",
         .date = u"〆11/02土",
         .orderKey = 2100000000u - 1439u},
        {.name = "deadline passed",
         .end = D(2013, 10, 31),
         .count = u"〆過2日",
         .date = u"〆過10/31木",
         .orderKey = 2100000000u + 2 * 1440 + 1439},
        {.name = "deadline, short view before",
         .end = D(2013, 11, 4),
         .settings = With(kShort),
         .count = u"[〆2]"},
        {.name = "deadline, short view after",
         .end = D(2013, 10, 31),
         .settings = With(kShort),
         .count = u"[〆+2]"},
        {.name = "deadline tomorrow ignores DrawTomorrow",
         .end = D(2013, 11, 3),
         .settings = With(kNoTomorrow),
         .count = u"〆明日"},
        {.name = "checked today",
         .check = D(2013, 11, 2),
         .count = u"今日済",
         .dayCount = 0,
         .minuteCount = 540},
        {.name = "checked yesterday without words",
         .check = D(2013, 11, 1),
         .settings = With(kNoTomorrow),
         .count = u"済+1日"},
        {.name = "far past date keeps its full count",
         .start = D(2010, 11, 2),
         .count = u"+1096日",
         .date = u"3周年",
         .dayCount = 1096,
         .anniversary = 3},
    };
    for (const Row& r : rows) {
        Check(r);
    }
}

TEST(EvaluateItem, NearTimeExamples) {
    const Row rows[] = {
        {.name = "today 10:30",
         .start = DT(2013, 11, 2, 10, 30),
         .count = u"あと90分",
         .date = u"10:30",
         .dayCount = 0,
         .minuteCount = -90},
        {.name = "today 10:30 with its span",
         .start = DT(2013, 11, 2, 10, 30),
         .end = DT(2013, 11, 2, 12, 0),
         .settings = With(kSpan),
         .count = u"あと90分",
         .date = u"10:30-12:00"},
        {.name = "today 05:00",
         .start = DT(2013, 11, 2, 5, 0),
         .count = u"+4時間",
         .minuteCount = 240},
        {.name = "today 06:00, the limit is inclusive",
         .start = DT(2013, 11, 2, 6, 0),
         .count = u"+180分"},
        {.name = "today 05:59, past the limit",
         .start = DT(2013, 11, 2, 5, 59),
         .count = u"+3時間"},
        {.name = "tomorrow 08:00",
         .start = DT(2013, 11, 3, 8, 0),
         .count = u"明日",
         .date = u"08:00",
         .dayCount = 0,
         .minuteCount = -1380},
        {.name = "tomorrow 08:00 without words",
         .start = DT(2013, 11, 3, 8, 0),
         .settings = With(kNoTomorrow),
         .count = u"あと23時間"},
        {.name = "running period ends 09:40",
         .start = DT(2013, 11, 1, 10, 0),
         .end = DT(2013, 11, 2, 9, 40),
         .count = u"残り40分",
         .date = u"09:40迄",
         .dayCount = 0,
         .minuteCount = -40},
        {.name = "running period, short",
         .start = DT(2013, 11, 1, 10, 0),
         .end = DT(2013, 11, 2, 9, 40),
         .settings = With(kShort),
         .count = u"[E40m]"},
        {.name = "period ended 08:00",
         .start = DT(2013, 11, 1, 10, 0),
         .end = DT(2013, 11, 2, 8, 0),
         .count = u"終+60分",
         .date = u"08:00終"},
        {.name = "deadline yesterday 17:00",
         .end = DT(2013, 11, 1, 17, 0),
         .count = u"〆昨日",
         .date = u"〆過17:00",
         .dayCount = 0,
         .minuteCount = 0,
         .orderKey = 2100000000u + 960},
        {.name = "deadline yesterday 17:00 without words",
         .end = DT(2013, 11, 1, 17, 0),
         .settings = With(kNoTomorrow),
         .count = u"〆過16時間"},
        {.name = "deadline today 17:00",
         .end = DT(2013, 11, 2, 17, 0),
         .count = u"〆迄8時間",
         .date = u"〆17:00",
         .orderKey = 2100000000u - 480},
        {.name = "checked 08:55",
         .check = DT(2013, 11, 2, 8, 55),
         .settings = With(kNoTomorrow),
         .count = u"済+5分",
         .date = u"08:55済",
         .dayCount = 0,
         .minuteCount = 5},
        {.name = "checked 08:55, short",
         .check = DT(2013, 11, 2, 8, 55),
         .settings = With(kShortNoTomorrow),
         .count = u"[x5m]",
         .date = u"x08:55"},
        {.name = "checked 08:55 with words", .check = DT(2013, 11, 2, 8, 55), .count = u"今日済"},
        {.name = "checked last night",
         .check = DT(2013, 11, 1, 23, 0),
         .count = u"昨日済",
         .minuteCount = 600},
        {.name = "checked 4h ago, no words",
         .check = DT(2013, 11, 2, 5, 0),
         .settings = With(kNoTomorrow),
         .count = u"済+4時間"},
    };
    for (const Row& r : rows) {
        Check(r);
    }
}

TEST(EvaluateItem, NearTimeNumberWordsAndZeroHours) {
    const Row rows[] = {
        {.name = "one minute ahead", .start = DT(2013, 11, 2, 9, 1), .count = u"あと1分"},
        {.name = "exactly now", .start = DT(2013, 11, 2, 9, 0), .count = u"±0分"},
        {.name = "one hour past",
         .start = DT(2013, 11, 2, 7, 30),
         .settings = With(kMax60NoTomorrow),
         .count = u"+1時間"},
        {.name = "period, one hour left",
         .start = DT(2013, 11, 1, 9, 0),
         .end = DT(2013, 11, 2, 10, 10),
         .settings = With(kMax60NoTomorrow),
         .count = u"残り1時間"},
        {.name = "deadline in one minute", .end = DT(2013, 11, 2, 9, 1), .count = u"〆迄1分"},
        {.name = "deadline now", .end = DT(2013, 11, 2, 9, 0), .count = u"〆±0分"},
        {.name = "zero hours, date",
         .start = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30),
         .count = u"あと0時間"},
        {.name = "zero hours, date short",
         .start = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30Short),
         .count = u"[0h]"},
        {.name = "zero hours, period",
         .start = DT(2013, 11, 1, 9, 0),
         .end = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30),
         .count = u"残り0時間"},
        {.name = "zero hours, period short",
         .start = DT(2013, 11, 1, 9, 0),
         .end = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30Short),
         .count = u"[E+0h]"},
        {.name = "zero hours, deadline",
         .end = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30),
         .count = u"〆迄0時間"},
        {.name = "zero hours, deadline short",
         .end = DT(2013, 11, 2, 9, 45),
         .settings = With(kMax30Short),
         .count = u"[〆0h]"},
        {.name = "period ends now",
         .start = DT(2013, 11, 1, 9, 0),
         .end = DT(2013, 11, 2, 9, 0),
         .count = u"終±0分",
         .date = u"09:00終"},
        {.name = "period ends now, short",
         .start = DT(2013, 11, 1, 9, 0),
         .end = DT(2013, 11, 2, 9, 0),
         .settings = With(kShort),
         .count = u"[E0m]"},
    };
    for (const Row& r : rows) {
        Check(r);
    }
}

TEST(EvaluateItem, DateColumnExamples) {
    const Row rows[] = {
        {.name = "without weekday",
         .start = D(2013, 11, 7),
         .settings = With(kNoWeekday),
         .date = u"11/07"},
        {.name = "span over two days",
         .start = DT(2013, 11, 7, 10, 0),
         .end = DT(2013, 11, 8, 9, 0),
         .settings = With(kSpan),
         .date = u"11/07木 10:00 - 11/08金 09:00"},
        {.name = "span within a day",
         .start = DT(2013, 11, 7, 10, 0),
         .end = DT(2013, 11, 7, 12, 0),
         .settings = With(kSpan),
         .date = u"11/07木 10:00-12:00"},
        {.name = "span without times",
         .start = D(2013, 11, 7),
         .end = D(2013, 11, 9),
         .settings = With(kSpan),
         .date = u"11/07木-11/09土"},
        {.name = "span end on the same month-day a year later",
         .start = D(2013, 12, 25),
         .end = D(2014, 12, 25),
         .settings = With(kSpan),
         .date = u"12/25水"},
        {.name = "not the anniversary",
         .start = D(2010, 11, 2),
         .now = At(2013, 11, 3, 9, 0),
         .count = u"+1097日",
         .date = u"2010年"},
        {.name = "years ahead", .start = D(2016, 11, 2), .date = u"あと3年", .anniversary = -3},
        {.name = "one year ahead", .start = D(2014, 11, 2), .date = u"あと1年", .anniversary = -1},
        {.name = "first anniversary", .start = D(2012, 11, 2), .date = u"1周年", .anniversary = 1},
        {.name = "tenth anniversary",
         .start = D(2003, 11, 2),
         .date = u"10周年",
         .anniversary = 10},
        {.name = "364 days is still month-day", .start = D(2012, 11, 3), .date = u"11/03土"},
        {.name = "29 February on a leap day",
         .start = D(2012, 2, 29),
         .now = At(2016, 2, 29, 9, 0),
         .date = u"4周年",
         .anniversary = 4},
        {.name = "29 February in a common year",
         .start = D(2012, 2, 29),
         .now = At(2015, 2, 28, 9, 0),
         .date = u"2012年"},
        {.name = "period ends next year",
         .start = D(2013, 10, 1),
         .end = D(2014, 12, 1),
         .date = u"2014年迄"},
        {.name = "period ended long ago",
         .start = D(2011, 10, 1),
         .end = D(2012, 10, 1),
         .date = u"2012年終"},
        {.name = "deadline far ahead", .end = D(2015, 1, 1), .date = u"〆2015年"},
        {.name = "deadline long passed", .end = D(2011, 1, 1), .date = u"〆過2011年"},
        {.name = "checked long ago", .check = D(2011, 1, 1), .date = u"2011年済"},
        {.name = "checked long ago, short",
         .check = D(2011, 1, 1),
         .settings = With(kShort),
         .date = u"x2011年"},
        {.name = "checked, no weekday, short",
         .check = D(2013, 10, 29),
         .settings = With(kShort),
         .date = u"x10/29火"},
    };
    for (const Row& r : rows) {
        Check(r);
    }
}

TEST(EvaluateItem, BoundariesAndSettings) {
    const Row rows[] = {
        {.name = "23:59, tomorrow's date",
         .start = D(2013, 11, 3),
         .now = At(2013, 11, 2, 23, 59),
         .count = u"明日",
         .dayCount = -1},
        {.name = "00:00, the same date",
         .start = D(2013, 11, 3),
         .now = At(2013, 11, 3, 0, 0),
         .count = u"今日",
         .dayCount = 0},
        {.name = "period from 10:00 seen at 09:00",
         .start = DT(2013, 11, 2, 10, 0),
         .end = DT(2013, 11, 3, 10, 0),
         .now = At(2013, 11, 2, 9, 0),
         .count = u"あと60分",
         .date = u"10:00",
         .minuteCount = -60},
        {.name = "period from 10:00 seen at 10:00",
         .start = DT(2013, 11, 2, 10, 0),
         .end = DT(2013, 11, 3, 10, 0),
         .now = At(2013, 11, 2, 10, 0),
         .count = u"±0分",
         .date = u"10:00",
         .minuteCount = 0},
        {.name = "period from 10:00 seen at 10:01",
         .start = DT(2013, 11, 2, 10, 0),
         .end = DT(2013, 11, 3, 10, 0),
         .settings = With(kNoTomorrow),
         .now = At(2013, 11, 2, 10, 1),
         .count = u"残り23時間",
         .date = u"10:00迄",
         .minuteCount = -1439},
        {.name = "period from today without time",
         .start = D(2013, 11, 2),
         .end = D(2013, 11, 4),
         .now = At(2013, 11, 2, 0, 0),
         .count = u"残り2日",
         .dayCount = 0,
         .minuteCount = -1442},
        {.name = "CheckDate off shows the date form",
         .start = D(2013, 11, 7),
         .check = D(2013, 11, 1),
         .settings = With(kCheckDateOff),
         .count = u"あと5日"},
        {.name = "ToDo span -3, ten days ahead",
         .end = D(2013, 11, 12),
         .settings = With(kToDoSpan3),
         .count = u"〆迄10日",
         .dayCount = -10,
         .minuteCount = -1450},
        {.name = "ToDo span -3, two days ahead",
         .end = D(2013, 11, 4),
         .settings = With(kToDoSpan3),
         .dayCount = 0,
         .minuteCount = 0},
        {.name = "ToDo span -3, near deadline keeps minutes",
         .end = DT(2013, 11, 2, 10, 0),
         .settings = With(kToDoSpan3),
         .dayCount = 0,
         .minuteCount = -60},
        {.name = "Future 2: tomorrow is not near",
         .start = DT(2013, 11, 3, 8, 0),
         .settings = With(kFuture2),
         .count = u"明日",
         .date = u"11/03日",
         .dayCount = -1,
         .minuteCount = -480},
        {.name = "Future 2: today is near",
         .start = DT(2013, 11, 2, 10, 0),
         .settings = With(kFuture2),
         .count = u"あと60分"},
        {.name = "Future 2: checked last night counts by day",
         .check = DT(2013, 11, 1, 23, 0),
         .settings = With(kFuture2),
         .count = u"昨日済",
         .dayCount = 1,
         .minuteCount = 60},
        {.name = "deadline far ahead wraps the unsigned key",
         .end = D(4000, 1, 1),
         .orderKey =
             static_cast<std::uint32_t>(2100000000LL + (735174LL - 1460605LL) * 1440 - 1439)},
    };
    for (const Row& r : rows) {
        Check(r);
    }
}

TEST(EvaluateItem, CheckDateAfterTodayKeepsThePreviousTexts) {
    const BuiltinTextTable texts;
    Item dated = NewOwnEntry();
    dated.startDate = D(2013, 11, 7);
    dated.checkDate = D(2013, 11, 5);
    dated.countText = u"prev";
    dated.dateText = u"prev date";
    dated.dayCount = 42;
    EvaluateItem(dated, kNow, CounterSettings{}, texts);
    EXPECT_EQ(dated.countText, u"prev");
    EXPECT_EQ(dated.dateText, u"prev date");
    EXPECT_EQ(dated.dayCount, 42);
    EXPECT_EQ(dated.startOffset, -3);

    Item undated = NewOwnEntry();
    undated.checkDate = D(2013, 11, 5);
    EvaluateItem(undated, kNow, CounterSettings{}, texts);
    EXPECT_EQ(undated.countText, u"ToDo");
    EXPECT_EQ(undated.dateText, u"〆なし");
}

TEST(EvaluateItem, RepairsDatesFirstAndLeavesStoredFields) {
    const BuiltinTextTable texts;
    Item item = NewOwnEntry();
    item.startDate = DT(2013, 11, 7, 10, 0);
    item.endDate = D(2013, 11, 7); // one-day period without times collapses
    item.title = u"t";
    item.tags = u"a\tb";
    EvaluateItem(item, kNow, CounterSettings{}, texts);
    EXPECT_EQ(item.startDate, D(2013, 11, 7));
    EXPECT_EQ(item.endDate, kNoDate);
    EXPECT_EQ(item.title, u"t");
    EXPECT_EQ(item.tags, u"a\tb");
    EXPECT_EQ(item.countText, u"あと5日");
}

// Every computed field of one evaluation, worked out by hand from the
// counting rules. Settings, in the order of CounterSettings: DrawWDay,
// CheckDate, ShortView, DrawTomorrow, DrawSpan, MaxMinutes, Future, DSpanTs.
constexpr CounterSettings S{1, 1, 0, 1, 0, 180, 0, 1};   // defaults
constexpr CounterSettings L{1, 1, 0, 0, 0, 180, 0, 1};   // long texts, no day words
constexpr CounterSettings SV{1, 1, 1, 0, 0, 180, 0, 1};  // short view, no day words
constexpr CounterSettings L60{1, 1, 0, 0, 0, 60, 0, 1};  // minutes up to an hour
constexpr CounterSettings F1{1, 1, 0, 1, 0, 180, 1, 1};  // Future 24 hours
constexpr CounterSettings F2{1, 1, 0, 1, 0, 180, 2, 1};  // Future today only
constexpr CounterSettings T3{1, 1, 0, 1, 0, 180, 0, -3}; // ToDo span three days
constexpr CounterSettings T0{1, 1, 0, 1, 0, 180, 0, 0};  // ToDo span from tomorrow on
constexpr CounterSettings NW{0, 1, 0, 1, 1, 180, 0, 1};  // no weekday, with span
constexpr CounterSettings NWS{0, 1, 1, 0, 0, 180, 0, 1}; // no weekday, short view
constexpr CounterSettings CO{1, 0, 0, 1, 0, 180, 0, 1};  // CheckDate off
constexpr std::uint32_t K = kUndatedOrderKey;

struct Full {
    const char* name;
    DateTime start, end, check;
    CounterSettings settings;
    const char16_t *count, *date;
    int dayCount, minuteCount;
    std::uint32_t orderKey;
    int startOffset, endOffset, anniversary = 0;
    SystemTime now = kNow;
};

void CheckAll(const Full& r) {
    static const BuiltinTextTable texts;
    Item item = NewOwnEntry();
    item.startDate = r.start;
    item.endDate = r.end;
    item.checkDate = r.check;
    item.dayCount = item.minuteCount = 99; // stale values must not survive
    EvaluateItem(item, r.now, r.settings, texts);
    EXPECT_EQ(item.countText, std::u16string(r.count)) << r.name;
    EXPECT_EQ(item.dateText, std::u16string(r.date)) << r.name;
    EXPECT_EQ(item.dayCount, r.dayCount) << r.name;
    EXPECT_EQ(item.minuteCount, r.minuteCount) << r.name;
    EXPECT_EQ(item.orderKey, r.orderKey) << r.name;
    EXPECT_EQ(item.startOffset, r.startOffset) << r.name;
    EXPECT_EQ(item.endOffset, r.endOffset) << r.name;
    EXPECT_EQ(item.anniversaryYears, r.anniversary) << r.name;
}

constexpr DateTime N = kNoDate;

TEST(EvaluateItem, DateFormEveryField) {
    const Full rows[] = {
        {"week ahead, timed", DT(2013, 11, 9, 14, 30), N, N, S, u"あと7日", u"11/09土", -7, -870, 0,
         -7, -7},
        {"three days past, timed", DT(2013, 10, 30, 20, 15), N, N, S, u"+3日", u"10/30水", 3, 225,
         0, 3, 3},
        {"yesterday 08:00, over a day", DT(2013, 11, 1, 8, 0), N, N, S, u"昨日", u"11/01金", 1, 960,
         0, 1, 1},
        {"yesterday, long", D(2013, 11, 1), N, N, L, u"+1日", u"11/01金", 1, 1440, 0, 1, 1},
        {"yesterday, short", D(2013, 11, 1), N, N, SV, u"[+1]", u"11/01金", 1, 1440, 0, 1, 1},
        {"yesterday 10:00 is near", DT(2013, 11, 1, 10, 0), N, N, S, u"昨日", u"10:00", 0, 1380, 0,
         1, 1},
        {"same time yesterday", DT(2013, 11, 1, 9, 0), N, N, L, u"+24時間", u"09:00", 0, 1440, 0, 1,
         1},
        {"today, long", D(2013, 11, 2), N, N, L, u"±0日", u"11/02土", 0, 0, 0, 0, 0},
        {"today, short", D(2013, 11, 2), N, N, SV, u"[0]", u"11/02土", 0, 0, 0, 0, 0},
        {"tomorrow, short", D(2013, 11, 3), N, N, SV, u"[1]", u"11/03日", -1, -1440, 0, -1, -1},
        {"tomorrow 10:00, over a day", DT(2013, 11, 3, 10, 0), N, N, S, u"明日", u"11/03日", -1,
         -600, 0, -1, -1},
        {"tomorrow 08:00, long", DT(2013, 11, 3, 8, 0), N, N, L, u"あと23時間", u"08:00", 0, -1380,
         0, -1, -1},
        {"tomorrow 08:00, short", DT(2013, 11, 3, 8, 0), N, N, SV, u"[23h]", u"08:00", 0, -1380, 0,
         -1, -1},
        {"Future 2, yesterday 10:00", DT(2013, 11, 1, 10, 0), N, N, F2, u"昨日", u"11/01金", 1, 840,
         0, 1, 1},
        {"Future 1, yesterday 10:00", DT(2013, 11, 1, 10, 0), N, N, F1, u"昨日", u"10:00", 0, 1380,
         0, 1, 1},
        {"30 minutes past", DT(2013, 11, 2, 8, 30), N, N, S, u"+30分", u"08:30", 0, 30, 0, 0, 0},
        {"30 minutes past, short", DT(2013, 11, 2, 8, 30), N, N, SV, u"[+30m]", u"08:30", 0, 30, 0,
         0, 0},
        {"90 minutes ahead, short", DT(2013, 11, 2, 10, 30), N, N, SV, u"[90m]", u"10:30", 0, -90,
         0, 0, 0},
        {"now, short", DT(2013, 11, 2, 9, 0), N, N, SV, u"[0m]", u"09:00", 0, 0, 0, 0, 0},
        {"one minute past", DT(2013, 11, 2, 8, 59), N, N, S, u"+1分", u"08:59", 0, 1, 0, 0, 0},
        {"two minutes ahead", DT(2013, 11, 2, 9, 2), N, N, S, u"あと2分", u"09:02", 0, -2, 0, 0, 0},
        {"four hours past, short", DT(2013, 11, 2, 5, 0), N, N, SV, u"[+4h]", u"05:00", 0, 240, 0,
         0, 0},
        {"one hour ahead", DT(2013, 11, 2, 10, 30), N, N, L60, u"あと1時間", u"10:30", 0, -90, 0, 0,
         0},
        {"364 days ahead", D(2014, 11, 1), N, N, S, u"あと364日", u"11/01土", -364, -1440, 0, -364,
         -364},
        {"366 days ahead", D(2014, 11, 3), N, N, S, u"あと366日", u"2014年", -366, -1440, 0, -366,
         -366},
        {"366 days ago", D(2012, 11, 1), N, N, S, u"+366日", u"2012年", 366, 1440, 0, 366, 366},
        {"two years ahead", D(2015, 11, 2), N, N, S, u"あと730日", u"あと2年", -730, -1440, 0, -730,
         -730, -2},
        {"second anniversary", D(2011, 11, 2), N, N, S, u"+731日", u"2周年", 731, 1440, 0, 731, 731,
         2},
        {"timed first anniversary", DT(2012, 11, 2, 10, 0), N, N, S, u"+365日", u"1周年", 365, 840,
         0, 365, 365, 1},
        {"span, no weekday", D(2013, 11, 7), D(2013, 11, 9), N, NW, u"あと5日", u"11/07-11/09", -5,
         -1440, 0, -5, -7},
        {"timed span, no weekday", DT(2013, 11, 7, 10, 0), DT(2013, 11, 8, 9, 0), N, NW, u"あと5日",
         u"11/07 10:00 - 11/08 09:00", -5, -600, 0, -5, -6},
        {"CheckDate off", D(2013, 11, 7), N, D(2013, 11, 1), CO, u"あと5日", u"11/07木", -5, -1440,
         0, -5, -5},
    };
    for (const Full& r : rows) {
        CheckAll(r);
    }
}

TEST(EvaluateItem, PeriodFormEveryField) {
    const Full rows[] = {
        {"running, timed end", DT(2013, 10, 30, 10, 0), DT(2013, 11, 5, 18, 0), N, S, u"残り3日",
         u"11/05火迄", 0, -1443, 0, 3, -3},
        {"ended two days ago, timed", DT(2013, 10, 25, 10, 0), DT(2013, 10, 31, 18, 0), N, S,
         u"終+2日", u"10/31木終", 2, 360, 0, 8, 2},
        {"ended yesterday", D(2013, 10, 25), D(2013, 11, 1), N, S, u"昨日終", u"11/01金終", 1, 1440,
         0, 8, 1},
        {"ended yesterday, long", D(2013, 10, 25), D(2013, 11, 1), N, L, u"終+1日", u"11/01金終", 1,
         1440, 0, 8, 1},
        {"ended yesterday, no weekday", D(2013, 10, 25), D(2013, 11, 1), N, NW, u"昨日終",
         u"11/01終", 1, 1440, 0, 8, 1},
        {"ends tomorrow, long", D(2013, 10, 30), D(2013, 11, 3), N, L, u"残り1日", u"11/03日迄", 0,
         -1441, 0, 3, -1},
        {"ends tomorrow, short", D(2013, 10, 30), D(2013, 11, 3), N, SV, u"[E1]", u"11/03日迄", 0,
         -1441, 0, 3, -1},
        {"ends today, long", D(2013, 10, 30), D(2013, 11, 2), N, L, u"±0日", u"11/02土終", 0, -870,
         0, 3, 0, 0, At(2013, 11, 2, 9, 30)},
        {"ends today, short", D(2013, 10, 30), D(2013, 11, 2), N, SV, u"[E0]", u"11/02土終", 0,
         -900, 0, 3, 0},
        {"ended last evening", DT(2013, 10, 30, 10, 0), DT(2013, 11, 1, 20, 0), N, S, u"昨日終",
         u"20:00終", 0, 780, 0, 3, 1},
        {"ended last evening, long", DT(2013, 10, 30, 10, 0), DT(2013, 11, 1, 20, 0), N, L,
         u"終+13時間", u"20:00終", 0, 780, 0, 3, 1},
        {"ends tomorrow morning", DT(2013, 11, 1, 10, 0), DT(2013, 11, 3, 8, 0), N, S, u"明日終",
         u"08:00迄", 0, -1380, 0, 1, -1},
        {"ends tomorrow morning, short", DT(2013, 11, 1, 10, 0), DT(2013, 11, 3, 8, 0), N, SV,
         u"[E23h]", u"08:00迄", 0, -1380, 0, 1, -1},
        {"Future 2, ends tomorrow morning", DT(2013, 11, 1, 10, 0), DT(2013, 11, 3, 8, 0), N, F2,
         u"明日終", u"11/03日迄", 0, -1441, 0, 1, -1},
        {"ended at 01:00, short", DT(2013, 11, 1, 10, 0), DT(2013, 11, 2, 1, 0), N, SV, u"[E+8h]",
         u"01:00終", 0, 480, 0, 1, 0},
        {"ended 90 minutes ago, short", DT(2013, 11, 1, 10, 0), DT(2013, 11, 2, 7, 30), N, SV,
         u"[E+90m]", u"07:30終", 0, 90, 0, 1, 0},
        {"ended an hour ago", DT(2013, 11, 1, 10, 0), DT(2013, 11, 2, 7, 30), N, L60, u"終+1時間",
         u"07:30終", 0, 90, 0, 1, 0},
        {"ended a minute ago", DT(2013, 11, 1, 10, 0), DT(2013, 11, 2, 8, 59), N, S, u"終+1分",
         u"08:59終", 0, 1, 0, 1, 0},
        {"a minute left", DT(2013, 11, 1, 10, 0), DT(2013, 11, 2, 9, 1), N, S, u"残り1分",
         u"09:01迄", 0, -1, 0, 1, 0},
        {"began this morning", DT(2013, 11, 2, 8, 0), DT(2013, 11, 4, 8, 0), N, S, u"残り2日",
         u"11/04月迄", 0, -1442, 0, 0, -2},
        {"ends tomorrow, no weekday", D(2013, 10, 30), D(2013, 11, 3), N, NW, u"明日終", u"11/03迄",
         0, -1441, 0, 3, -1},
    };
    for (const Full& r : rows) {
        CheckAll(r);
    }
}

TEST(EvaluateItem, DeadlineFormEveryField) {
    const Full rows[] = {
        {"four days ahead, timed", N, DT(2013, 11, 6, 18, 0), N, S, u"〆迄4日", u"〆11/06水", 0, 0,
         K - 4 * 1440 - 1080, 0, -4},
        {"three days past, timed", N, DT(2013, 10, 30, 18, 45), N, S, u"〆過3日", u"〆過10/30水", 0,
         0, K + 3 * 1440 + 315, 0, 3},
        {"yesterday", N, D(2013, 11, 1), N, S, u"〆昨日", u"〆過11/01金", 0, 0, K + 1440 + 1439, 0,
         1},
        {"yesterday, no weekday", N, D(2013, 11, 1), N, NW, u"〆昨日", u"〆過11/01", 0, 0,
         K + 1440 + 1439, 0, 1},
        {"tomorrow", N, D(2013, 11, 3), N, S, u"〆明日", u"〆11/03日", 0, 0, K - 1440 - 1439, 0,
         -1},
        {"yesterday 08:00, over a day", N, DT(2013, 11, 1, 8, 0), N, S, u"〆昨日", u"〆過11/01金",
         0, 0, K + 1440 + 960, 0, 1},
        {"Future 2, yesterday 17:00", N, DT(2013, 11, 1, 17, 0), N, F2, u"〆昨日", u"〆過11/01金",
         0, 0, K + 1440 + 420, 0, 1},
        {"near, tomorrow morning", N, DT(2013, 11, 3, 8, 0), N, S, u"〆明日", u"〆08:00", 0, 0,
         K - 1380, 0, -1},
        {"span -3, four days ahead", N, D(2013, 11, 6), N, T3, u"〆迄4日", u"〆11/06水", -4, -1444,
         K - 4 * 1440 - 1439, 0, -4},
        {"span -3, three days ahead", N, D(2013, 11, 5), N, T3, u"〆迄3日", u"〆11/05火", 0, 0,
         K - 3 * 1440 - 1439, 0, -3},
        {"span 0, tomorrow", N, D(2013, 11, 3), N, T0, u"〆明日", u"〆11/03日", -1, -1441,
         K - 1440 - 1439, 0, -1},
        {"span 0, today", N, D(2013, 11, 2), N, T0, u"〆今日", u"〆11/02土", 0, 0, K - 1439, 0, 0},
        {"span -3, near past", N, DT(2013, 11, 2, 8, 30), N, T3, u"〆過30分", u"〆過08:30", 0, 30,
         K + 30, 0, 0},
        {"today, short", N, D(2013, 11, 2), N, SV, u"[〆0]", u"〆11/02土", 0, 0, K - 1439, 0, 0},
        {"yesterday, short", N, D(2013, 11, 1), N, SV, u"[〆+1]", u"〆過11/01金", 0, 0,
         K + 1440 + 1439, 0, 1},
        {"tomorrow, short", N, D(2013, 11, 3), N, SV, u"[〆1]", u"〆11/03日", 0, 0, K - 1440 - 1439,
         0, -1},
        {"30 minutes past, short", N, DT(2013, 11, 2, 8, 30), N, SV, u"[〆+30m]", u"〆過08:30", 0,
         0, K + 30, 0, 0},
        {"in 30 minutes", N, DT(2013, 11, 2, 9, 30), N, S, u"〆迄30分", u"〆09:30", 0, 0, K - 30, 0,
         0},
        {"in 30 minutes, short", N, DT(2013, 11, 2, 9, 30), N, SV, u"[〆30m]", u"〆09:30", 0, 0,
         K - 30, 0, 0},
        {"now, short", N, DT(2013, 11, 2, 9, 0), N, SV, u"[〆0m]", u"〆過09:00", 0, 0, K, 0, 0},
        {"five hours past", N, DT(2013, 11, 2, 4, 0), N, S, u"〆過5時間", u"〆過04:00", 0, 0,
         K + 300, 0, 0},
        {"five hours past, short", N, DT(2013, 11, 2, 4, 0), N, SV, u"[〆+5h]", u"〆過04:00", 0, 0,
         K + 300, 0, 0},
        {"in five hours, short", N, DT(2013, 11, 2, 14, 0), N, SV, u"[〆5h]", u"〆14:00", 0, 0,
         K - 300, 0, 0},
        {"an hour past", N, DT(2013, 11, 2, 7, 30), N, L60, u"〆過1時間", u"〆過07:30", 0, 0,
         K + 90, 0, 0},
        {"in an hour", N, DT(2013, 11, 2, 10, 30), N, L60, u"〆迄1時間", u"〆10:30", 0, 0, K - 90,
         0, 0},
        {"a minute past", N, DT(2013, 11, 2, 8, 59), N, S, u"〆過1分", u"〆過08:59", 0, 0, K + 1, 0,
         0},
        {"no weekday", N, D(2013, 11, 4), N, NW, u"〆迄2日", u"〆11/04", 0, 0, K - 2 * 1440 - 1439,
         0, -2},
    };
    for (const Full& r : rows) {
        CheckAll(r);
    }
}

TEST(EvaluateItem, DoneAndToDoFormsEveryField) {
    const Full rows[] = {
        {"checked 4 days ago 20:00", N, N, DT(2013, 10, 29, 20, 0), S, u"済+4日", u"10/29火済", 4,
         240, K, 4, 4},
        {"checked today, long", N, N, D(2013, 11, 2), L, u"済±0日", u"11/02土済", 0, 540, K, 0, 0},
        {"checked today, short", N, N, D(2013, 11, 2), SV, u"[x0]", u"x11/02土", 0, 540, K, 0, 0},
        {"checked yesterday", N, N, D(2013, 11, 1), S, u"昨日済", u"11/01金済", 1, 1440, K, 1, 1},
        {"checked yesterday, short", N, N, D(2013, 11, 1), SV, u"[x1]", u"x11/01金", 1, 1440, K, 1,
         1},
        {"checked yesterday 08:00", N, N, DT(2013, 11, 1, 8, 0), S, u"昨日済", u"11/01金済", 1, 960,
         K, 1, 1},
        {"checked later today", N, N, DT(2013, 11, 2, 10, 0), S, u"今日済", u"11/02土済", 0, 540, K,
         0, 0},
        {"checked just now", N, N, DT(2013, 11, 2, 9, 0), S, u"今日済", u"09:00済", 0, 0, K, 0, 0},
        {"checked just now, long", N, N, DT(2013, 11, 2, 9, 0), L, u"済±0分", u"09:00済", 0, 0, K,
         0, 0},
        {"checked a minute ago", N, N, DT(2013, 11, 2, 8, 59), L, u"済+1分", u"08:59済", 0, 1, K, 0,
         0},
        {"checked at the minute limit", N, N, DT(2013, 11, 2, 6, 0), L, u"済+180分", u"06:00済", 0,
         180, K, 0, 0},
        {"checked 4 hours ago, short", N, N, DT(2013, 11, 2, 5, 0), SV, u"[x4h]", u"x05:00", 0, 240,
         K, 0, 0},
        {"checked an hour ago", N, N, DT(2013, 11, 2, 7, 30), L60, u"済+1時間", u"07:30済", 0, 90,
         K, 0, 0},
        {"dated, checked last evening", D(2013, 11, 7), N, DT(2013, 11, 1, 20, 0), S, u"昨日済",
         u"20:00済", 0, 780, 0, 1, 1},
        {"checked 364 days ago", N, N, D(2012, 11, 3), S, u"済+364日", u"11/03土済", 364, 1440, K,
         364, 364},
        {"checked 365 days ago", N, N, D(2012, 11, 2), S, u"済+365日", u"2012年済", 365, 1440, K,
         365, 365},
        {"checked long ago", N, N, D(2012, 1, 1), S, u"済+671日", u"2012年済", 671, 1440, K, 671,
         671},
        {"checked, no weekday, short", N, N, D(2013, 10, 29), NWS, u"[x4]", u"x10/29", 4, 1440, K,
         4, 4},
        {"ToDo, CheckDate off", N, N, D(2013, 11, 1), CO, u"ToDo", u"〆なし", 0, 0, K, 0, 0},
    };
    for (const Full& r : rows) {
        CheckAll(r);
    }
}

// A string table may rename the pieces and reorder month, day and weekday;
// whole texts and compositions then differ visibly.
TEST(EvaluateItem, FollowsTheTablesPiecesAndPatterns) {
    struct Overlay : TextTable {
        BuiltinTextTable builtin;
        std::u16string Text(int id) const override {
            switch (id) {
            case 42047:
                return u"WMD";
            case 42048:
                return u"<";
            case 42049:
                return u"|";
            case 42050:
                return u"~";
            case 42051:
                return u">";
            case 42027:
                return u"#";
            case 42028:
                return u"th";
            case 42029:
                return u"first";
            case 42031:
                return u"third";
            default:
                return builtin.Text(id);
            }
        }
    } const texts;
    const struct {
        DateTime start;
        const char16_t* date;
    } rows[] = {
        {D(2013, 11, 7), u"<木|11~07>"},
        {D(2012, 11, 2), u"first"},
        {D(2010, 11, 2), u"third"},
        {D(2009, 11, 2), u"#4th"},
    };
    for (const auto& r : rows) {
        Item item = NewOwnEntry();
        item.startDate = r.start;
        EvaluateItem(item, kNow, CounterSettings{}, texts);
        EXPECT_EQ(item.dateText, std::u16string(r.date));
    }
}
} // namespace
} // namespace vantrel
