#include "resource_ids.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"
#include "text/text_ids.h"
#include "today/commands.h"
#include "today/copy_text.h"
#include "today/edit_form.h"

#include <gtest/gtest.h>

#include <array>

namespace vantrel {
namespace {

using testing::At;
using testing::FixedClock;
using testing::ScriptedPrompt;

// Year, month, day, hour, minute of a moment.
std::array<int, 5> Moment(const SystemTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute};
}

constexpr DateTime D(int y, int m, int d, int h = -1, int mi = -1) {
    return {y, m, d, h, mi};
}

struct OutlookCall {
    int source, oid, operation;
    SystemTime when;
};

struct CommandFixture : ::testing::Test {
    ItemStore store;
    TodayViewState state;
    Settings settings;
    BuiltinTextTable texts;
    FixedClock clock{At(2013, 11, 2, 9, 30)};
    ViewContext view{store, state.view, settings, texts, clock, {}, [] {}};
    ScriptedPrompt prompt;
    std::vector<OutlookCall> outlook;
    std::vector<int> popups;
    std::u16string copied;
    int saves = 0;
    // What the edit dialog does when it runs: nothing (cancel) by default.
    std::function<void()> editDialog = [this] { state.dialogMode = 0; };
    CommandActions actions;

    CommandFixture() {
        settings.StartFilter = kFilterAll;
        state.view.currentFilter = kFilterAll;
        actions.popupMenu = [this](int popup, int, int) { popups.push_back(popup); };
        actions.editDialog = [this] { editDialog(); };
        actions.outlook = [this](int source, int oid, int operation, const SystemTime& when) {
            outlook.push_back({source, oid, operation, when});
        };
        actions.copy = [this](std::u16string_view text) { copied = text; };
        actions.save = [this] { ++saves; };
        actions.prompt = &prompt;
    }

    void AddOwn(std::u16string title, DateTime start, DateTime end = kNoDate) {
        Item item = NewOwnEntry();
        item.title = std::move(title);
        item.startDate = start;
        item.endDate = end;
        item.checkDate = kNoDate;
        store.own.push_back(item);
    }
    // Shows one Outlook entry (the loaders are off, so it stays in the view
    // only until the next refresh).
    void ShowAppointment(int oid, bool recurring) {
        refresh(view, kFilterAll);
        Item item;
        item.source = kAppointment;
        item.index = oid;
        item.recurring = recurring ? 1 : 0;
        item.title = u"meeting";
        item.startDate = D(2013, 11, 5, 14, 0);
        store.view.insert(store.view.begin(), item);
    }
    int Run(int code) { return RunCommand(view, state, actions, code, 0, 0); }
    std::u16string Titles() const {
        std::u16string titles;
        for (const Item& item : store.own) {
            titles += item.title;
        }
        return titles;
    }
};

TEST(CommandCodes, EveryFilterMenuItemRunsItsFilter) {
    for (int kind = 0; kind <= 12; ++kind) {
        const std::optional<int> code = CommandOfMenuId(MenuIdOfFilter(kind));
        ASSERT_TRUE(code.has_value()) << kind;
        const int expected = kind == kFilterTag      ? kCmdFilterTag
                             : kind == kFilterSearch ? kCmdFilterSearch
                             : kind == kFilterPast   ? kCmdFilterPast
                                                     : kCmdFilterAll + kind;
        EXPECT_EQ(*code, expected) << kind;
    }
    EXPECT_EQ(MenuIdOfFilter(13), 0);
    EXPECT_EQ(CommandOfMenuId(40011), std::nullopt);       // in no menu
    EXPECT_EQ(CommandOfMenuId(IDM_DISMISS), std::nullopt); // handled by the window alone
    EXPECT_EQ(CommandOfMenuId(IDM_COPY), kCmdCopy);
}

// Every menu item's command, by the codes the 操作 page stores; no other id
// of the range the menus use stands for a command.
TEST(CommandCodes, EveryMenuIdMapsToItsCommand) {
    struct Row {
        int id, code;
    };
    const Row rows[] = {
        {40003, 20}, {40004, 21}, {40005, 22}, {40006, 23}, {40007, 24}, {40008, 25},
        {40009, 26}, {40010, 27}, {40012, 7},  {40013, 4},  {40014, 5},  {40015, 0},
        {40016, 1},  {40017, 8},  {40020, 6},  {40021, 30}, {40022, 29}, {40023, 28},
        {40024, 9},  {40025, 10}, {40026, 11}, {40027, 12}, {40028, 13}, {40029, 31},
        {40031, 14}, {40032, 15}, {40033, 34}, {40034, 35}, {40035, 36},
    };
    for (int id = 39990; id <= 40050; ++id) {
        std::optional<int> expected;
        for (const Row& row : rows) {
            if (row.id == id) {
                expected = row.code;
            }
        }
        EXPECT_EQ(CommandOfMenuId(id), expected) << id;
    }
}

TEST_F(CommandFixture, WhichCommandsClearMenuPending) {
    // Codes that clear it with an entry selected and every question answered yes.
    const std::vector<int> clearing{0, 1, 2, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 35};
    for (int code = -1; code <= kCmdLast; ++code) {
        store = {};
        AddOwn(u"a", D(2013, 11, 3));
        AddOwn(u"b", D(2013, 11, 4));
        refresh(view, kFilterAll);
        state.menuPending = 1;
        prompt.answers.assign(4, kIdYes);
        Run(code);
        const bool clears = std::find(clearing.begin(), clearing.end(), code) != clearing.end();
        EXPECT_EQ(state.menuPending, clears ? 0 : 1) << code;
    }
    // The Command popup sets it, the others leave it.
    state.menuPending = 0;
    popups.clear();
    Run(kCmdFilterMenu);
    Run(kCmdDataMenu);
    EXPECT_EQ(state.menuPending, 0);
    Run(kCmdMenu);
    EXPECT_EQ(state.menuPending, 1);
    EXPECT_EQ(popups, (std::vector<int>{kPopupFilter, kPopupData, kPopupCommand}));
}

TEST_F(CommandFixture, NoSelectionLeavesEditViewAndDuplicateAlone) {
    state.menuPending = 1;
    for (int code : {kCmdEdit, kCmdView, kCmdDuplicate, kCmdCheck, kCmdPin, kCmdCopy}) {
        Run(code);
    }
    EXPECT_TRUE(store.own.empty());
    EXPECT_TRUE(copied.empty());
    EXPECT_TRUE(prompt.messages.empty());
    // Check and pin still clear it and save; delete clears it.
    EXPECT_EQ(state.menuPending, 0);
    state.menuPending = 1;
    Run(kCmdDelete);
    EXPECT_EQ(state.menuPending, 0);
}

TEST_F(CommandFixture, DeleteOwnEntryAsksAndErases) {
    AddOwn(u"a", D(2013, 11, 3));
    AddOwn(u"b", D(2013, 11, 4));
    refresh(view, kFilterAll);
    state.menuPending = 1;
    prompt.answers = {kIdNo};
    Run(kCmdDelete);
    EXPECT_EQ(Titles(), u"ab");
    EXPECT_EQ(state.menuPending, 1); // "no" leaves it
    EXPECT_EQ(saves, 0);
    prompt.answers = {kIdYes};
    Run(kCmdDelete);
    EXPECT_EQ(Titles(), u"b");
    EXPECT_EQ(store.view.size(), 1u);
    EXPECT_EQ(saves, 1);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].text, LoadText(texts, text_id::kAskDelete));
    EXPECT_EQ(prompt.messages[1].caption, u"Warning");
    EXPECT_EQ(prompt.messages[1].style, 0x134u);
    settings.DelWarn = 0;
    Run(kCmdDelete);
    EXPECT_EQ(Titles(), u"");
    EXPECT_EQ(prompt.messages.size(), 2u);
}

TEST_F(CommandFixture, RecurringDeleteAsksSeriesOrOccurrence) {
    struct Case {
        int answer;
        std::vector<int> operations;
    };
    for (const Case& c : {Case{kIdYes, {8}}, Case{kIdNo, {18}}, Case{kIdCancel, {}}}) {
        outlook.clear();
        prompt.messages.clear();
        ShowAppointment(42, true);
        state.menuPending = 1;
        prompt.answers = {c.answer};
        Run(kCmdDelete);
        std::vector<int> operations;
        for (const OutlookCall& call : outlook) {
            operations.push_back(call.operation);
            EXPECT_EQ(call.source, kAppointment);
            EXPECT_EQ(call.oid, 42);
            // The entry's start day at the current time of day.
            EXPECT_EQ(Moment(call.when), Moment(At(2013, 11, 5, 9, 30)));
        }
        EXPECT_EQ(operations, c.operations) << c.answer;
        ASSERT_EQ(prompt.messages.size(), 1u); // DelWarn is not asked as well
        EXPECT_EQ(prompt.messages[0].text, LoadText(texts, text_id::kAskDeleteSeries));
        EXPECT_EQ(prompt.messages[0].style, 0x233u);
        EXPECT_EQ(state.menuPending, 0);
    }
}

TEST_F(CommandFixture, OutlookEditAndViewAddressTheOccurrence) {
    for (bool recurring : {false, true}) {
        outlook.clear();
        ShowAppointment(7, recurring);
        Run(kCmdEdit);
        ShowAppointment(7, recurring);
        Run(kCmdView);
        ASSERT_EQ(outlook.size(), 2u);
        EXPECT_EQ(outlook[0].operation, recurring ? 11 : 1);
        EXPECT_EQ(outlook[1].operation, recurring ? 9 : -1);
        EXPECT_EQ(Moment(outlook[0].when), Moment(recurring ? At(2013, 11, 5, 9, 30) : clock.now));
    }
    EXPECT_TRUE(store.own.empty());
    EXPECT_EQ(saves, 0);
}

TEST_F(CommandFixture, DuplicateOfAnOutlookEntryThenCancel) {
    AddOwn(u"a", D(2013, 11, 3));
    ShowAppointment(9, false);
    int openedOn = -1;
    editDialog = [&] {
        openedOn = state.view.pageTop + state.view.cursor;
        const Item& e = store.view[static_cast<std::size_t>(openedOn)];
        EXPECT_EQ(e.source, kOwnEntry);
        EXPECT_EQ(e.index, 1); // the copy's own-list place
        EXPECT_EQ(store.own[1].title, u"meeting");
        EXPECT_EQ(store.own[1].importance, 1);
        state.dialogMode = 0;
    };
    Run(kCmdDuplicate);
    EXPECT_EQ(openedOn, 2); // the appended line, first on its page
    EXPECT_EQ(Titles(), u"a");
    ASSERT_EQ(store.view.size(), 1u); // the refresh dropped the copy
    EXPECT_EQ(saves, 1);
}

TEST_F(CommandFixture, DuplicateOfAnOwnEntryStoresTheEditedCopy) {
    AddOwn(u"a", D(2013, 11, 3));
    AddOwn(u"b", D(2013, 11, 4));
    refresh(view, kFilterAll);
    state.view.cursor = 1;
    editDialog = [&] {
        const Item& e = *SelectedEntry(store, state);
        EditForm form = OpenEditForm(state.dialogMode, &e, clock.now);
        form.title = u"c";
        EXPECT_TRUE(StoreEditForm(form, state.dialogMode, e.index, store.own));
        state.dialogMode = 1;
    };
    Run(kCmdDuplicate);
    EXPECT_EQ(Titles(), u"abc");
    EXPECT_EQ(store.own[2].startDate, D(2013, 11, 4));
    EXPECT_EQ(store.view.size(), 3u);
}

TEST_F(CommandFixture, PinAndFiltersAndSources) {
    AddOwn(u"a", D(2013, 11, 3));
    refresh(view, kFilterAll);
    Run(kCmdPin);
    EXPECT_EQ(store.own[0].pinned, 1);
    Run(kCmdPin);
    EXPECT_EQ(store.own[0].pinned, 0);
    EXPECT_EQ(saves, 2);

    state.view.viewShift = 3;
    Run(kCmdFilterPast);
    EXPECT_EQ(state.view.currentFilter, kFilterPast);
    EXPECT_EQ(state.view.viewShift, 0);
    EXPECT_EQ(state.viewChanged, 1);
    Run(kCmdFilterAll + kFilterTomorrow);
    EXPECT_EQ(state.view.currentFilter, kFilterTomorrow);
    EXPECT_EQ(store.view.size(), 1u);

    state.viewChanged = 0;
    Run(kCmdToggleOwn);
    EXPECT_EQ(state.view.sourceMask, kSourceAppointmentsBit | kSourceTasksBit);
    EXPECT_TRUE(store.view.empty());
    EXPECT_EQ(state.viewChanged, 1);
    Run(kCmdToggleTasks);
    EXPECT_EQ(state.view.sourceMask, kSourceAppointmentsBit);

    Run(kCmdNewTask);
    Run(kCmdNewAppointment);
    ASSERT_EQ(outlook.size(), 2u);
    EXPECT_EQ(outlook[0].source, kTask);
    EXPECT_EQ(outlook[1].source, kAppointment);
    EXPECT_EQ(outlook[1].operation, 0);
    EXPECT_EQ(outlook[1].oid, 0);
}

TEST_F(CommandFixture, TagAndSearchConfirmAndCancel) {
    AddOwn(u"a", D(2013, 11, 3));
    store.own[0].tags = u"work";
    actions.tagDialog = [this] {
        if (state.dialogMode == 0) {
            ConfirmTagSearch(view, state, 0, u"work");
        } // the search dialog is cancelled
    };
    Run(kCmdFilterSearch);
    EXPECT_EQ(state.dialogMode, 1);
    EXPECT_EQ(state.view.currentFilter, kFilterAll);
    EXPECT_EQ(state.viewChanged, 0);
    Run(kCmdFilterTag);
    EXPECT_EQ(settings.FilterTag, u"work");
    EXPECT_EQ(state.view.currentFilter, kFilterTag);
    EXPECT_EQ(store.view.size(), 1u);
    EXPECT_EQ(state.viewChanged, 1);
    ConfirmTagSearch(view, state, 1, u"");
    EXPECT_EQ(state.view.currentFilter, kFilterSearch);
    EXPECT_EQ(settings.FilterTag, u"work");
}

TEST(CopyText, PicksTheDateAndFormatsTheLine) {
    const SystemTime now = At(2026, 12, 8, 9, 0);
    Item entry;
    entry.title = u"abc";
    entry.startDate = D(2013, 11, 2, 10, 5);
    EXPECT_EQ(CopyText(entry, now), u"2013-11-02T10:05\tabc\t0");
    entry.endDate = D(2013, 11, 4);
    entry.tags = u"x\ty";
    EXPECT_EQ(CopyText(entry, now), u"2013-11-04\tabc\t0\tx\ty");
    entry.checkState = 1;
    entry.checkDate = D(2013, 11, 3, 7, 0);
    EXPECT_EQ(CopyText(entry, now), u"2013-11-03T07:00\tabc\t0\tx\ty");
    Item todo;
    todo.startDate = kNoDate;
    todo.endDate = kNoDate;
    EXPECT_EQ(CopyText(todo, now), u"2026-12-08\t\t0");
}

TEST_F(CommandFixture, CopyAndCursorCommandsGoThroughTheDispatcher) {
    AddOwn(u"abc", D(2013, 11, 2, 10, 5));
    refresh(view, kFilterAll);
    state.lastCursor = 0;
    Run(kCmdCopy);
    EXPECT_EQ(copied, u"2013-11-02T10:05\tabc\t0");
    EXPECT_EQ(Run(kCmdUp), 0);
    EXPECT_EQ(Run(kCmdDown), 0);
    EXPECT_EQ(Run(kCmdNone), 1);
    EXPECT_EQ(Run(37), 1);
}

} // namespace
} // namespace vantrel
