#include "counter/evaluate_item.h"
#include "model/tag_index.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
#include "today/layout.h"
#include "view/check_toggle.h"
#include "view/standard_order.h"
#include "view/view_list.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

using testing::At;

struct FixedClock : Clock {
    SystemTime now = At(2013, 11, 2, 9, 0); // a Saturday
    SystemTime Now() const override { return now; }
};

struct ViewFixture : ::testing::Test {
    ItemStore store;
    ViewState state;
    Settings settings;
    BuiltinTextTable texts;
    FixedClock clock;
    int saves = 0;
    ViewContext ctx{store, state, settings, texts, clock, {}, [this] { ++saves; }};

    void AddOwn(std::u16string title, DateTime start, DateTime end = kNoDate, int pinned = 0) {
        Item item = NewOwnEntry();
        item.title = std::move(title);
        item.startDate = start;
        item.endDate = end;
        item.checkDate = kNoDate;
        item.pinned = pinned;
        store.own.push_back(item);
    }

    std::u16string Shown(int code) {
        refresh(ctx, code);
        std::u16string titles;
        for (const Item& item : store.view) {
            titles += item.title;
            if (item.source == kOwnEntry) {
                EXPECT_EQ(store.own[static_cast<std::size_t>(item.index)].title, item.title);
            }
        }
        return titles;
    }
};

constexpr DateTime D(int y, int m, int d) {
    return {y, m, d, -1, -1};
}

TEST_F(ViewFixture, DayFiltersAndPaging) {
    AddOwn(u"S", D(2013, 10, 31), D(2013, 11, 3)); // two days ago to tomorrow
    AddOwn(u"Y", D(2013, 11, 1));
    AddOwn(u"M", D(2013, 11, 3));
    EXPECT_EQ(Shown(kFilterToday), u"S");
    EXPECT_EQ(Shown(kFilterYesterday), u"YS");
    EXPECT_EQ(Shown(kFilterTomorrow), u"SM");
    state.viewShift = -1;
    EXPECT_EQ(Shown(kFilterToday), u"YS"); // the same as yesterday
    EXPECT_EQ(state.pageTop, 0);
}

TEST_F(ViewFixture, AnOverdueToDoDoesNotHideTheDaysLaterEntries) {
    AddOwn(u"C", DateTime{2013, 11, 2, 7, 0}); // done this morning: sorts first
    store.own.back().checkState = 1;
    store.own.back().checkDate = DateTime{2013, 11, 2, 7, 30};
    AddOwn(u"M", DateTime{2013, 11, 2, 10, 0}); // later today
    AddOwn(u"O", kNoDate, D(2013, 11, 1));      // ToDo, deadline yesterday
    AddOwn(u"T", kNoDate);                      // ToDo without deadline
    AddOwn(u"N", D(2013, 11, 3));
    const std::u16string today = Shown(kFilterToday);
    EXPECT_NE(today.find(u'M'), std::u16string::npos) << std::string(today.begin(), today.end());
    EXPECT_EQ(today.find(u'O'), std::u16string::npos);
    EXPECT_EQ(Shown(kFilterTomorrow).find(u'M'), std::u16string::npos);
    EXPECT_NE(Shown(kFilterTomorrow).find(u'N'), std::u16string::npos);
}

TEST_F(ViewFixture, PinnedEntriesShowOnceUnderDateFilters) {
    AddOwn(u"P", D(2014, 11, 2), kNoDate, 1); // next year, pinned
    AddOwn(u"T", D(2013, 11, 2));
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12}) {
        const std::u16string shown = Shown(code);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), u'P'), 1) << code;
        EXPECT_EQ(shown.front(), u'P') << code;
    }
    state.searchText = u"T";
    EXPECT_EQ(Shown(kFilterSearch), u"T");
    EXPECT_EQ(Shown(kFilterToDo), u"PT"); // every own entry
}

TEST_F(ViewFixture, FutureDecidesWhereTodaysPassedEntriesGo) {
    AddOwn(u"A", {2013, 11, 2, 8, 30}); // today, already past
    AddOwn(u"B", D(2013, 11, 5));
    EXPECT_EQ(Shown(kFilterFromNow), u"B");
    EXPECT_EQ(Shown(kFilterPast), u"A");
    settings.Future = 1;
    EXPECT_EQ(Shown(kFilterFromNow), u"AB");
    EXPECT_EQ(Shown(kFilterPast), u"");
}

TEST_F(ViewFixture, TasksOffEmptiesTheTaskListAndTheEmptyViewHeight) {
    Item task;
    task.source = kTask;
    task.title = u"task";
    store.tasks.push_back(task);
    AddTag(store.taskTags, u"x", 0);
    state.sourceMask = kSourceOwnBit;
    state.searchText = u"nothing has this";
    EXPECT_EQ(Shown(kFilterSearch), u"");
    EXPECT_TRUE(store.tasks.empty());
    EXPECT_EQ(EntryCount(store.taskTags), 0u);
}

TEST_F(ViewFixture, SaveFilterRemembersEveryCodeButSearch) {
    settings.SaveFilter = 1;
    refresh(ctx, kFilterPast);
    EXPECT_EQ(settings.StartFilter, kFilterPast);
    EXPECT_EQ(saves, 1);
    refresh(ctx, kFilterSearch);
    EXPECT_EQ(settings.StartFilter, kFilterPast);
    EXPECT_EQ(saves, 1);
}

// The loaders index their lists as they import them, in the order the
// store answers; the refresh's sort moves the Items after that.
TEST_F(ViewFixture, TagFilterFindsOutlookItemsAfterTheSortMovedThem) {
    const auto make = [](ItemSource source, std::u16string title, DateTime start,
                         std::u16string tags) {
        Item i;
        i.source = source;
        i.title = std::move(title);
        (source == kTask ? i.endDate : i.startDate) = start; // a task has its due day
        i.tags = std::move(tags);
        return i;
    };
    ctx.loaders.appointments = [&](ItemStore& into, int, int, const SystemTime& now) {
        into.appointments = {make(kAppointment, u"y-late", D(2013, 11, 20), u"y"),
                             make(kAppointment, u"x-soon", D(2013, 11, 3), u"x"),
                             make(kAppointment, u"y-soon", D(2013, 11, 4), u"y")};
        for (Item& a : into.appointments) {
            EvaluateItem(a, now, CounterSettingsFrom(settings), texts);
        }
        RebuildTagIndex(into.appointmentTags, into.appointments);
    };
    ctx.loaders.tasks = [&](ItemStore& into, const SystemTime& now) {
        into.tasks = {make(kTask, u"y-task", D(2013, 11, 9), u"y"),
                      make(kTask, u"x-task", D(2013, 11, 5), u"x")};
        for (Item& t : into.tasks) {
            EvaluateItem(t, now, CounterSettingsFrom(settings), texts);
        }
        RebuildTagIndex(into.taskTags, into.tasks);
    };
    settings.FilterTag = u"x";
    EXPECT_EQ(Shown(kFilterTag), u"x-taskx-soon"); // deadlines belong to today
    settings.FilterTag = u"y";
    EXPECT_EQ(Shown(kFilterTag), u"y-tasky-soony-late");
}

// Start-up builds its first view from lists read and imported in file and
// store order, with indexes of those positions.
TEST_F(ViewFixture, StartUpOrderIndexesAllThreeLists) {
    AddOwn(u"own-late", D(2013, 11, 30));
    AddOwn(u"own-soon", D(2013, 11, 3));
    store.own[0].tags = u"t";
    RebuildTagIndex(store.ownTags, store.own);
    Item a;
    a.source = kAppointment;
    a.title = u"appt";
    a.startDate = D(2013, 11, 4);
    a.tags = u"t";
    Item b = a;
    b.title = u"other";
    b.startDate = D(2013, 12, 24);
    b.tags = u"u";
    store.appointments = {b, a};
    RebuildTagIndex(store.appointmentTags, store.appointments);
    for (ItemList* list : {&store.own, &store.appointments}) {
        for (Item& i : *list) {
            EvaluateItem(i, clock.now, CounterSettingsFrom(settings), texts);
        }
    }
    OrderAllLists(store);
    settings.FilterTag = u"t";
    buildView(ctx, kFilterTag, clock.now);
    std::u16string titles;
    for (const Item& i : store.view) {
        titles += i.title + u" ";
    }
    EXPECT_EQ(titles, u"appt own-late ");
    EXPECT_EQ(store.own[static_cast<std::size_t>(store.view[1].index)].title, u"own-late");
}

TEST_F(ViewFixture, TagFilterUsesTheIndexes) {
    AddOwn(u"A", D(2013, 11, 5));
    AddOwn(u"B", D(2013, 11, 6));
    store.own[1].tags = u"work\thome";
    settings.FilterTag = u"home";
    EXPECT_EQ(Shown(kFilterTag), u"B");
    settings.FilterTag = u"absent";
    EXPECT_EQ(Shown(kFilterTag), u"");
    store.own[1].tags = u"home\thome";
    settings.FilterTag = u"home";
    EXPECT_EQ(Shown(kFilterTag), u"B"); // a repeated word lists the entry once
}

// Brute-force reference for the codes whose rule is a plain predicate.
TEST_F(ViewFixture, RandomListsMatchAPlainReference) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> offset(-40, 40);
    const int today = DayNumberOf(2013, 11, 2);
    for (int i = 0; i < 3000; ++i) {
        const CalendarDate c = DateOfDayNumber(today + offset(rng));
        AddOwn(std::u16string(1, static_cast<char16_t>(u'a' + i % 26)),
               i % 7 == 0 ? kNoDate : DateTime{c.year, c.month, c.day, -1, -1});
    }
    for (int code : {kFilterToday, kFilterYesterday, kFilterTomorrow, kFilterThisWeek,
                     kFilterNextWeek, kFilterRange, kFilterFromNow, kFilterPast}) {
        refresh(ctx, code);
        const int weekday = WeekdayOf(today);
        const int w = ((weekday - settings.StartWeek) % 7 + 7) % 7 - (code == 7 ? 7 : 0);
        std::size_t expected = 0;
        for (const Item& item : store.own) {
            const int t = code == 1 ? 0 : code == 2 ? 1 : -1;
            bool admit = false;
            switch (code) {
            case 1:
            case 2:
            case 3:
                admit = item.endOffset <= t && t <= item.startOffset;
                break;
            case 6:
            case 7:
                admit = w - 6 <= item.dayCount && item.dayCount <= w;
                break;
            case 8:
                admit = settings.DSpanFs <= item.dayCount && item.dayCount < settings.DSpanFe;
                break;
            case 4:
                admit = item.minuteCount < 1;
                break;
            case 12:
                admit = item.dayCount > 0;
                break;
            }
            expected += admit ? 1 : 0;
        }
        EXPECT_EQ(store.view.size(), expected) << code;
        for (std::size_t i = 1; i < store.view.size(); ++i) {
            EXPECT_FALSE(comesBefore(store.view[i], store.view[i - 1])) << code;
        }
    }
}

} // namespace
} // namespace vantrel

namespace vantrel {
namespace {

TEST_F(ViewFixture, CheckSortOffLeavesTheLineInPlace) {
    AddOwn(u"A", D(2013, 11, 6));
    AddOwn(u"B", D(2013, 11, 5));
    settings.CheckSort = 0;
    int saved = 0;
    const CheckActions actions{[] { return true; }, {}, [&] { ++saved; }};
    EXPECT_EQ(Shown(kFilterFromNow), u"BA");
    ToggleCheck(ctx, 1, actions);
    EXPECT_EQ(store.view[1].title, u"A");
    EXPECT_EQ(store.view[1].countText, u"今日済");
    const Item& own = store.own[static_cast<std::size_t>(store.view[1].index)];
    EXPECT_EQ(own.checkState, 1);
    EXPECT_EQ(own.checkDate, (DateTime{2013, 11, 2, 9, 0}));
    EXPECT_EQ(saved, 1);
    // The next refresh moves it: checked just now, it sorts with today.
    EXPECT_EQ(Shown(kFilterFromNow), u"AB");
}

TEST_F(ViewFixture, CheckSortOnRefreshesAndAnswerNoChangesNothing) {
    AddOwn(u"A", D(2013, 11, 5));
    AddOwn(u"B", D(2013, 11, 6));
    settings.CheckTime = 0;
    bool answer = false;
    int saved = 0;
    const CheckActions actions{[&] { return answer; }, {}, [&] { ++saved; }};
    EXPECT_EQ(Shown(kFilterFromNow), u"AB");
    ToggleCheck(ctx, 0, actions);
    EXPECT_EQ(store.own[0].checkState, 0);
    EXPECT_EQ(saved, 1); // saved even when the answer is No
    answer = true;
    ToggleCheck(ctx, 0, actions);
    EXPECT_EQ(store.view.size(), 1u);
    EXPECT_EQ(store.view[0].title, u"B");
    ToggleCheck(ctx, 5, actions); // no such line: only the save
    EXPECT_EQ(saved, 3);
    refresh(ctx, kFilterAll);
    const Item& checked = store.view[0];
    EXPECT_EQ(checked.title, u"A");
    EXPECT_EQ(checked.checkDate, D(2013, 11, 2));
    state.currentFilter = kFilterAll;
    ToggleCheck(ctx, 0, actions); // unchecking clears the check date
    EXPECT_EQ(store.own[1].checkState + store.own[0].checkState, 0);
}

TEST_F(ViewFixture, TasksGoToOutlookAndAppointmentsCannotBeChecked) {
    Item appointment;
    appointment.source = kAppointment;
    Item task;
    task.source = kTask;
    task.index = 77;
    int toggled = -1;
    const CheckActions actions{
        [] { return true; }, [&](int oid, const SystemTime&) { toggled = oid; }, {}};
    ctx.loaders.tasks = [&](ItemStore& s, const SystemTime&) { s.tasks = {task}; };
    ctx.loaders.appointments = [&](ItemStore& s, int, int, const SystemTime&) {
        s.appointments = {appointment};
    };
    refresh(ctx, kFilterAll);
    ASSERT_EQ(store.view.size(), 2u);
    const int appointmentLine = store.view[0].source == kAppointment ? 0 : 1;
    ToggleCheck(ctx, appointmentLine, actions);
    EXPECT_EQ(toggled, -1);
    ToggleCheck(ctx, 1 - appointmentLine, actions);
    EXPECT_EQ(toggled, 77);
}

} // namespace
} // namespace vantrel

namespace vantrel {
namespace {

constexpr DateTime DT(int y, int m, int d, int h, int mi) {
    return {y, m, d, h, mi};
}

// Today is Saturday 2 November 2013; one untimed own entry a day from
// 18 October to 24 November. A week is seven days from the one StartWeek
// names, here with the week of today and its neighbours.
TEST_F(ViewFixture, WeekFiltersFollowStartWeekAndPaging) {
    const int first = DayNumberOf(2013, 10, 18);
    for (int n = first; n <= DayNumberOf(2013, 11, 24); ++n) {
        const CalendarDate c = DateOfDayNumber(n);
        AddOwn(u"d", D(c.year, c.month, c.day));
    }
    struct Row {
        int startWeek, shift, code;
        DateTime from, to;
    } const rows[] = {
        {0, 0, kFilterThisWeek, D(2013, 10, 27), D(2013, 11, 2)},
        {1, 0, kFilterThisWeek, D(2013, 10, 28), D(2013, 11, 3)},
        {2, 0, kFilterThisWeek, D(2013, 10, 29), D(2013, 11, 4)},
        {3, 0, kFilterThisWeek, D(2013, 10, 30), D(2013, 11, 5)},
        {4, 0, kFilterThisWeek, D(2013, 10, 31), D(2013, 11, 6)},
        {5, 0, kFilterThisWeek, D(2013, 11, 1), D(2013, 11, 7)},
        {6, 0, kFilterThisWeek, D(2013, 11, 2), D(2013, 11, 8)},
        {0, 0, kFilterNextWeek, D(2013, 11, 3), D(2013, 11, 9)},
        {1, 0, kFilterNextWeek, D(2013, 11, 4), D(2013, 11, 10)},
        {6, 0, kFilterNextWeek, D(2013, 11, 9), D(2013, 11, 15)},
        {1, -1, kFilterThisWeek, D(2013, 10, 21), D(2013, 10, 27)},
        {1, 1, kFilterThisWeek, D(2013, 11, 4), D(2013, 11, 10)},
        {3, -1, kFilterThisWeek, D(2013, 10, 23), D(2013, 10, 29)},
        {5, 1, kFilterThisWeek, D(2013, 11, 8), D(2013, 11, 14)},
        {0, -1, kFilterNextWeek, D(2013, 10, 27), D(2013, 11, 2)},
        {6, 1, kFilterNextWeek, D(2013, 11, 16), D(2013, 11, 22)},
    };
    for (const Row& r : rows) {
        settings.StartWeek = r.startWeek;
        state.viewShift = r.shift;
        Shown(r.code);
        const std::string at = std::to_string(r.startWeek) + "/" + std::to_string(r.shift) + "/" +
                               std::to_string(r.code);
        ASSERT_EQ(store.view.size(), 7u) << at;
        EXPECT_EQ(store.view.front().startDate, r.from) << at;
        EXPECT_EQ(store.view.back().startDate, r.to) << at;
    }
}

TEST_F(ViewFixture, DayFiltersFollowViewShift) {
    AddOwn(u"S", D(2013, 10, 31), D(2013, 11, 3)); // a period over today
    AddOwn(u"B", D(2013, 10, 31));
    AddOwn(u"Y", D(2013, 11, 1));
    AddOwn(u"T", D(2013, 11, 2));
    AddOwn(u"M", D(2013, 11, 3));
    AddOwn(u"A", D(2013, 11, 4));
    struct Row {
        int code, shift;
        const char16_t* shown;
    } const rows[] = {
        {kFilterToday, 0, u"TS"},     {kFilterToday, -1, u"YS"},     {kFilterToday, 1, u"SM"},
        {kFilterToday, -2, u"BS"},    {kFilterToday, 3, u""},        {kFilterYesterday, 0, u"YS"},
        {kFilterYesterday, 1, u"TS"}, {kFilterYesterday, -1, u"BS"}, {kFilterTomorrow, 0, u"SM"},
        {kFilterTomorrow, -1, u"TS"}, {kFilterTomorrow, 1, u"A"},
    };
    for (const Row& r : rows) {
        state.viewShift = r.shift;
        EXPECT_EQ(Shown(r.code), r.shown) << r.code << " " << r.shift;
    }
}

// Timed entries of today count as past once their time has gone, unless
// Future is set; 一週間 ends seven days ahead.
TEST_F(ViewFixture, FromNowWeekAheadAndPastWithTimedEntries) {
    AddOwn(u"P", D(2013, 11, 1));
    AddOwn(u"H", DT(2013, 11, 2, 8, 30)); // passed this morning
    AddOwn(u"T", D(2013, 11, 2));
    AddOwn(u"N", DT(2013, 11, 2, 10, 0));
    AddOwn(u"R", D(2013, 10, 30), D(2013, 11, 5)); // running period
    AddOwn(u"W", D(2013, 11, 9));                  // seven days ahead
    AddOwn(u"X", DT(2013, 11, 10, 8, 0));          // eight days ahead
    AddOwn(u"Z", D(2013, 11, 20));
    struct Row {
        int code, future;
        const char16_t* shown;
    } const rows[] = {
        {kFilterFromNow, 0, u"TNRWXZ"},  {kFilterWeekAhead, 0, u"TNRW"},
        {kFilterFromNow, 1, u"HTNRWXZ"}, {kFilterWeekAhead, 1, u"HTNRW"},
        {kFilterWeekAhead, 2, u"HTNRW"}, {kFilterPast, 0, u"PH"},
        {kFilterPast, 1, u"P"},          {kFilterPast, 2, u"P"},
    };
    for (const Row& r : rows) {
        settings.Future = r.future;
        EXPECT_EQ(Shown(r.code), r.shown) << r.code << " " << r.future;
    }
}

// 一週間 skips what lies beyond the week until it has admitted something,
// then stops there; what does not qualify is passed over.
TEST_F(ViewFixture, WeekAheadStopsAtTheFirstItemBeyondOnceItAdmitted) {
    const auto at = [](const char16_t* title, int days, int minutes) {
        Item i;
        i.source = kAppointment;
        i.title = title;
        i.dayCount = days;
        i.minuteCount = minutes;
        return i;
    };
    store.appointments = {at(u"a", -9, -1440), at(u"b", 0, 0),   at(u"e", 1, 1440),
                          at(u"d", -3, -1440), at(u"c", -9, -1), at(u"f", -2, -1440)};
    buildView(ctx, kFilterWeekAhead, clock.now);
    std::u16string titles;
    for (const Item& i : store.view) {
        titles += i.title;
    }
    EXPECT_EQ(titles, u"bd");
}

TEST_F(ViewFixture, RangeAndPastCountTodaysPassedEntriesAsYesterday) {
    AddOwn(u"B", D(2013, 10, 31));
    AddOwn(u"Y", D(2013, 11, 1));
    AddOwn(u"L", DT(2013, 11, 1, 10, 0)); // 23 hours ago: near, day count 0
    AddOwn(u"H", DT(2013, 11, 2, 8, 30));
    AddOwn(u"T", D(2013, 11, 2));
    AddOwn(u"M", D(2013, 11, 3));
    AddOwn(u"A", D(2013, 11, 4));
    struct Row {
        int from, to, future;
        const char16_t* shown;
    } const rows[] = {
        {1, 2, 0, u"YLH"}, {1, 2, 1, u"Y"},  {0, 1, 1, u"LHT"}, {0, 1, 0, u"T"},
        {-1, 1, 0, u"TM"}, {-1, 0, 0, u"M"}, {-2, 0, 0, u"MA"}, {2, 3, 0, u"B"},
    };
    for (const Row& r : rows) {
        settings.DSpanFs = r.from;
        settings.DSpanFe = r.to;
        settings.Future = r.future;
        EXPECT_EQ(Shown(kFilterRange), r.shown) << r.from << ".." << r.to << " " << r.future;
    }
    settings.Future = 0;
    EXPECT_EQ(Shown(kFilterPast), u"BYLH");
    // The same time yesterday is 1440 minutes ago: no longer "passed today",
    // so the past run ends there.
    AddOwn(u"Q", DT(2013, 11, 1, 9, 0));
    EXPECT_EQ(Shown(kFilterPast), u"BY");
    settings.DSpanFs = 1;
    settings.DSpanFe = 2;
    EXPECT_EQ(Shown(kFilterRange), u"Y"); // a run, so it ends at Q as well
}

TEST_F(ViewFixture, SourceBitsHeightAndTheOwnListOrder) {
    AddOwn(u"C", D(2013, 11, 9), kNoDate);
    AddOwn(u"B", D(2013, 11, 5), kNoDate);
    AddOwn(u"A", D(2013, 11, 3), kNoDate);
    store.own[0].tags = u"t";
    ctx.loaders.appointments = [](ItemStore& s, int, int, const SystemTime&) {
        Item a;
        a.source = kAppointment;
        a.title = u"p";
        a.index = 77; // the Outlook object id
        a.tags = u"t";
        s.appointments = {a};
        RebuildTagIndex(s.appointmentTags, s.appointments);
    };
    struct Row {
        int mask, viewLine;
        const char16_t* shown;
        int height;
    } const rows[] = {
        {kSourceOwnBit | kSourceAppointmentsBit, 4, u"pABC", 16 * 4 + 2},
        {kSourceOwnBit | kSourceAppointmentsBit, 2, u"pABC", 16 * 2 + 2},
        {kSourceOwnBit, 4, u"ABC", 16 * 3 + 2},
        {kSourceAppointmentsBit, 4, u"p", 16 + 2},
    };
    for (const Row& r : rows) {
        state.sourceMask = r.mask;
        settings.ViewLine = r.viewLine;
        EXPECT_EQ(Shown(kFilterAll), r.shown) << r.mask;
        // The item's height follows the view through the layout.
        TodayViewState today;
        LayoutInputs in;
        in.clientRect = {0, 0, 240, 320};
        in.screenWidth = 240;
        in.viewCount = store.view.size();
        ComputeLayout(today, settings, in);
        EXPECT_EQ(today.itemHeight, r.height) << r.mask;
    }
    // The refresh put the own list itself in order, and its tags follow.
    EXPECT_EQ(store.own[0].title + store.own[1].title + store.own[2].title, u"ABC");
    state.sourceMask = kSourceOwnBit | kSourceAppointmentsBit;
    settings.FilterTag = u"t";
    EXPECT_EQ(Shown(kFilterTag), u"pC");
    EXPECT_EQ(store.view[0].index, 77);
}

} // namespace
} // namespace vantrel
