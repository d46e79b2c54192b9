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

} // namespace
} // namespace vantrel
