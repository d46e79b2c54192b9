#include "counter/evaluate_item.h"
#include "model/tag_index.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
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
