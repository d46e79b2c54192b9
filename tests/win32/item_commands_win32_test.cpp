// The item's commands through the real window: menu ids, gestures, the
// popups, the edit and tag dialogs driven through their dialog procedures,
// the clipboard, and what each command leaves in the data file.

#include "platform/today.h"
#include "resource_ids.h"
#include "win32/item_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace vantrel::testing;

SYSTEMTIME Picker(HWND dialog, int id) {
    SYSTEMTIME t{};
    SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

// Sets a picker as the user would, with its change notification.
void ChangePicker(HWND dialog, int id, WORD year, WORD month, WORD day, WORD hour = 0,
                  WORD minute = 0) {
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = GetDlgItem(dialog, id);
    change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = SYSTEMTIME{year, month, 0, day, hour, minute, 0, 0};
    SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&change.st));
    SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

void Click(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    Notify(dialog, id);
}

std::wstring Text(HWND dialog, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

int ListCount(HWND dialog, int id, UINT message) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, message, 0, 0));
}

std::wstring ComboLine(HWND dialog, int id, int index) {
    wchar_t text[64] = {};
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

const std::string kTwoEntries = "2013/11/03,,a,,,\r\n2013/11/05,,b,,,\r\n";

TEST_F(ItemCommandTest, CopyPutsTheSelectedLineOnTheClipboard) {
    Start("2013/11/02 10:05,,abc,,,\r\n", "");
    EXPECT_EQ(Selected(), L"2013-11-02T10:05\tabc\t0");
}

TEST_F(ItemCommandTest, TapWithExTapNoneOnlyMovesTheCursor) {
    Start(kTwoEntries, "");
    const int secondLine = static_cast<int>(listItem.cyp) - 4; // lines are equally tall
    SendMessageW(item, WM_LBUTTONDOWN, 0, MAKELPARAM(60, secondLine));
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(60, secondLine));
    EXPECT_EQ(Selected(), L"2013-11-05\tb\t0");
    EXPECT_EQ(Data(), kTwoEntries);
}

TEST_F(ItemCommandTest, DismissedCommandMenuKeepsRefreshQueriesIdle) {
    Start(kTwoEntries, "");
    Query();
    EXPECT_FALSE(Query());
    // Tap-and-hold pops up the Command menu, which is dismissed.
    POINT point{20, 5};
    ClientToScreen(item, &point);
    const bool shown =
        WhileModal([](HWND) {},
                   [&] {
                       SendMessageW(item, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(item),
                                    MAKELPARAM(point.x, point.y));
                   });
    EXPECT_TRUE(shown);
    // Two days on both entries have passed: no refresh while the menu's
    // command is pending ...
    SetEnvironmentVariableW(L"VANTREL_NOW", L"2013-11-06 08:00");
    EXPECT_FALSE(Query());
    Print();
    EXPECT_FALSE(Query());
    // ... until a clearing command arrives; that poll refreshes and hands
    // over the new height at once.
    Menu(IDM_DISMISS);
    EXPECT_TRUE(Query());
}

TEST_F(ItemCommandTest, PopupsCheckTheFilterAndTheSources) {
    Start(kTwoEntries, "", {{L"StartView", 9}, {L"StartFilter", 12}});
    std::vector<UINT> filterStates, dataStates;
    auto states = [](std::vector<UINT>& out, std::initializer_list<UINT> ids) {
        return [&out, ids](HWND menuWindow) {
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            for (UINT id : ids) {
                out.push_back(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED);
            }
        };
    };
    EXPECT_TRUE(WhileModal(states(filterStates, {IDM_FILTER_PAST, IDM_FILTER_FROM_NOW}),
                           [&] { Menu(IDM_FILTER_MENU); }));
    EXPECT_EQ(filterStates, (std::vector<UINT>{MF_CHECKED, 0}));
    EXPECT_TRUE(
        WhileModal(states(dataStates, {IDM_SOURCE_OWN, IDM_SOURCE_APPOINTMENTS, IDM_SOURCE_TASKS}),
                   [&] { Menu(IDM_DATA_MENU); }));
    EXPECT_EQ(dataStates, (std::vector<UINT>{MF_CHECKED, 0, MF_CHECKED}));
}

TEST_F(ItemCommandTest, CheckKeepsTheLineOrMovesItByCheckSort) {
    Start(kTwoEntries, "", {{L"CheckSort", 0}});
    Key(VK_DOWN);
    Answer(L"no");
    Menu(IDM_CHECK);
    EXPECT_EQ(Data(), kTwoEntries);
    Answer(L"yes");
    Menu(IDM_CHECK);
    EXPECT_EQ(Data(), "2013/11/03,,a,,,\r\n2013/11/05,,b,,,1,2013/11/02 09:30\r\n");
    EXPECT_EQ(Selected(), L"2013-11-02T09:30\tb\t0"); // still on its line
    EXPECT_NE(Prompts().find("Warning\tデータのチェックをトグルします\n"), std::string::npos);

    // With CheckSort the refresh re-sorts: done today, b moves to the top.
    Start(kTwoEntries, "", {{L"CheckSort", 1}});
    Key(VK_DOWN);
    Menu(IDM_CHECK);
    EXPECT_EQ(Data(), "2013/11/05,,b,,,1,2013/11/02 09:30\r\n2013/11/03,,a,,,\r\n");
    EXPECT_EQ(Selected(), L"2013-11-02T09:30\tb\t0");
}

TEST_F(ItemCommandTest, PinAndDeleteOwnEntries) {
    Start(kTwoEntries, "");
    Menu(IDM_PIN);
    EXPECT_EQ(Data(), "2013/11/03,,a,,1,\r\n2013/11/05,,b,,,\r\n");
    Answer(L"no");
    Menu(IDM_DELETE);
    EXPECT_EQ(Data(), "2013/11/03,,a,,1,\r\n2013/11/05,,b,,,\r\n");
    Answer(L"yes");
    Menu(IDM_DELETE);
    EXPECT_EQ(Data(), "2013/11/05,,b,,,\r\n");
    EXPECT_NE(Prompts().find("Warning\tデータを削除します\n"), std::string::npos);
}

TEST_F(ItemCommandTest, RecurringDeleteAsksForTheSeriesOrTheDay) {
    const std::string standup = "[appointment]\noid: 5\nsubject: standup\n"
                                "start: 2013-11-02 10:00\nend: 2013-11-02 10:15\n"
                                "repeat: daily every 1\n";
    Start("", standup, {{L"StartView", 2}, {L"StartFilter", 1}});
    Answer(L"cancel");
    Menu(IDM_DELETE);
    EXPECT_EQ(Store().find("skip"), std::string::npos);
    EXPECT_NE(Store().find("standup"), std::string::npos);
    Answer(L"no"); // only today's occurrence
    Menu(IDM_DELETE);
    EXPECT_NE(Store().find("skip: 2013-11-02"), std::string::npos);
    EXPECT_EQ(Selected(), L""); // nothing left today to copy
    Print();
    Key(VK_RIGHT); // tomorrow
    EXPECT_EQ(Selected(), L"2013-11-03T10:15\tstandup\t0");
    Answer(L"yes"); // the whole series
    Menu(IDM_DELETE);
    EXPECT_EQ(Store().find("standup"), std::string::npos);
    EXPECT_NE(Prompts().find("定期的に設定されたデータをすべて削除しますか？"), std::string::npos);
}

TEST_F(ItemCommandTest, DuplicateOfAnAppointmentCancelledAndConfirmed) {
    const std::string meeting = "[appointment]\noid: 3\nsubject: meeting\n"
                                "start: 2013-11-02 14:00\nend: 2013-11-02 15:00\n";
    Start("", meeting);
    std::wstring title;
    EXPECT_TRUE(InDialog(IDM_DUPLICATE, [&](HWND dialog) {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, IDC_ENTRY_TITLE, text, 64);
        title = text;
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_CANCEL, 0);
    }));
    EXPECT_EQ(title, L"meeting");
    EXPECT_EQ(Data(), "");
    EXPECT_EQ(Selected(), L"2013-11-02T15:00\tmeeting\t0"); // the appointment itself

    EXPECT_TRUE(InDialog(IDM_DUPLICATE,
                         [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0); }));
    EXPECT_EQ(Data(), "2013/11/02 14:00,2013/11/02 15:00,meeting,,,\r\n");
}

TEST_F(ItemCommandTest, AddWithEveryBoxUncheckedStoresToday) {
    Start("", "");
    EXPECT_TRUE(InDialog(IDM_ADD, [](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, IDC_ENTRY_END_DATE));
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "2013/11/02,,,,,\r\n");
}

TEST_F(ItemCommandTest, OneTimeBoxGovernsBothTimes) {
    Start("2013/11/02 10:00,,span,,,\r\n", "");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ENTRY_TIME_BOX), BST_CHECKED);
        EXPECT_FALSE(Enabled(dialog, IDC_ENTRY_END_DATE));
        Click(dialog, IDC_ENTRY_END_BOX, true); // the end row takes the start's date and time
        EXPECT_TRUE(Enabled(dialog, IDC_ENTRY_END_TIME));
        ChangePicker(dialog, IDC_ENTRY_END_DATE, 2013, 11, 5);
        ChangePicker(dialog, IDC_ENTRY_END_TIME, 2013, 11, 5, 12, 0);
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "2013/11/02 10:00,2013/11/05 12:00,span,,,\r\n");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        Click(dialog, IDC_ENTRY_TIME_BOX, false); // both times go
        EXPECT_FALSE(Enabled(dialog, IDC_ENTRY_END_TIME));
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "2013/11/02,2013/11/05,span,,,\r\n");
}

TEST_F(ItemCommandTest, EndBeforeStartPullsTheStart) {
    Start("2013/11/05,,move,,,\r\n", "");
    SYSTEMTIME start{};
    EXPECT_TRUE(InDialog(IDM_EDIT, [&](HWND dialog) {
        Click(dialog, IDC_ENTRY_END_BOX, true); // the end row starts on the start date
        EXPECT_EQ(Picker(dialog, IDC_ENTRY_END_DATE).wDay, 5);
        ChangePicker(dialog, IDC_ENTRY_END_DATE, 2013, 11, 1);
        start = Picker(dialog, IDC_ENTRY_START_DATE);
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(start.wDay, 1);
    // A period of one day without times is a single date once evaluated.
    EXPECT_EQ(Data(), "2013/11/01,,move,,,\r\n");
}

TEST_F(ItemCommandTest, TagsTypedTwiceAndWithATab) {
    Start("2013/11/05,,tagged,,,\r\n", "");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_ENTRY_TAG_COMBO, L"work");
        Notify(dialog, IDC_ENTRY_TAG_REGISTER);
        Notify(dialog, IDC_ENTRY_TAG_REGISTER); // already listed: nothing
        EXPECT_EQ(ListCount(dialog, IDC_ENTRY_TAG_LIST, LB_GETCOUNT), 1);
        SetDlgItemTextW(dialog, IDC_ENTRY_TAG_COMBO, L"x\ty");
        Notify(dialog, IDC_ENTRY_TAG_REGISTER);
        EXPECT_EQ(ListCount(dialog, IDC_ENTRY_TAG_LIST, LB_GETCOUNT), 2);
        EXPECT_EQ(ListCount(dialog, IDC_ENTRY_TAG_COMBO, CB_GETCOUNT), 2);
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "2013/11/05,,tagged,work\tx\ty,,\r\n");
    // Opened again, the TAB splits the typed tag in two.
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        EXPECT_EQ(ListCount(dialog, IDC_ENTRY_TAG_LIST, LB_GETCOUNT), 3);
    }));
}

TEST_F(ItemCommandTest, ViewModeDisablesEverythingAndStoresNothing) {
    Start("2013/11/05 08:00,,seen,,,\r\n", "", {{L"ExAction", 2}});
    EXPECT_TRUE(WhileModal(
        [](HWND dialog) {
            for (int id : {IDC_ENTRY_TITLE, IDC_ENTRY_START_DATE, IDC_ENTRY_START_TIME,
                           IDC_ENTRY_END_DATE, IDC_ENTRY_END_TIME, IDC_ENTRY_TAG_COMBO,
                           IDC_ENTRY_TAG_LIST, IDC_ENTRY_TAG_REGISTER, IDC_ENTRY_TAG_REMOVE,
                           IDC_ENTRY_TIME_BOX, IDC_ENTRY_END_BOX, IDC_ENTRY_PIN, IDC_ENTRY_TODO}) {
                EXPECT_FALSE(Enabled(dialog, id)) << id;
            }
            SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"changed");
            SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
        },
        [&] { SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0); }));
    EXPECT_EQ(Data(), "2013/11/05 08:00,,seen,,,\r\n");
}

// The date pickers cannot hold a date before 1752-09-14 and refuse it
// without an error: such a date shows as text in its picker and is stored
// again as it was, until the user changes that picker.
TEST_F(ItemCommandTest, DatesThePickersCannotHoldAreKept) {
    const std::string span = "1650/03/04 10:15,1751/12/31 18:30,span,,,\r\n";
    Start("1700/06/01,,old,,,\r\n" + span, "", {{L"StartFilter", 0}});
    ASSERT_EQ(Selected(), L"1700-06-01\told\t0");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_ENTRY_START_DATE), L"1700/06/01");
        EXPECT_TRUE(Enabled(dialog, IDC_ENTRY_START_DATE));
        SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"old2");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "1700/06/01,,old2,,,\r\n" + span);

    Key(VK_DOWN);
    ASSERT_EQ(Selected(), L"1751-12-31T18:30\tspan\t0");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_ENTRY_START_DATE), L"1650/03/04");
        EXPECT_EQ(Text(dialog, IDC_ENTRY_END_DATE), L"1751/12/31");
        // The times are held although their day is not.
        EXPECT_EQ(Picker(dialog, IDC_ENTRY_START_TIME).wHour, 10);
        EXPECT_EQ(Picker(dialog, IDC_ENTRY_START_TIME).wMinute, 15);
        EXPECT_EQ(Picker(dialog, IDC_ENTRY_END_TIME).wHour, 18);
        EXPECT_EQ(Picker(dialog, IDC_ENTRY_END_TIME).wMinute, 30);
        SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"span2");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    const std::string renamed = "1650/03/04 10:15,1751/12/31 18:30,span2,,,\r\n";
    EXPECT_EQ(Data(), "1700/06/01,,old2,,,\r\n" + renamed);

    // The rules see the kept date: the end row takes it, and shows it as text.
    Key(VK_UP);
    ASSERT_EQ(Selected(), L"1700-06-01\told2\t0");
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        Click(dialog, IDC_ENTRY_END_BOX, true);
        EXPECT_EQ(Text(dialog, IDC_ENTRY_END_DATE), L"1700/06/01");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    // A period of one day without times is a single date once evaluated.
    EXPECT_EQ(Data(), "1700/06/01,,old2,,,\r\n" + renamed);

    // A date the user picks replaces the kept one, and the picker shows it
    // in its own format again. The list is saved in its order: by start.
    EXPECT_TRUE(InDialog(IDM_EDIT, [](HWND dialog) {
        ChangePicker(dialog, IDC_ENTRY_START_DATE, 2013, 11, 4);
        EXPECT_EQ(Text(dialog, IDC_ENTRY_START_DATE), L"2013/11/04");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), renamed + "2013/11/04,,old2,,,\r\n");
}

TEST_F(ItemCommandTest, ViewModeShowsAKeptDateAsText) {
    const std::string old = "1700/06/01 07:45,1701/02/03 08:00,seen,,,\r\n";
    Start(old, "", {{L"StartFilter", 0}, {L"ExAction", 2}});
    std::wstring start, end;
    SYSTEMTIME time{};
    EXPECT_TRUE(WhileModal(
        [&](HWND dialog) {
            start = Text(dialog, IDC_ENTRY_START_DATE);
            end = Text(dialog, IDC_ENTRY_END_DATE);
            time = Picker(dialog, IDC_ENTRY_START_TIME);
            EXPECT_FALSE(Enabled(dialog, IDC_ENTRY_START_DATE));
            SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
        },
        [&] { SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0); }));
    EXPECT_EQ(start, L"1700/06/01");
    EXPECT_EQ(end, L"1701/02/03");
    EXPECT_EQ(time.wHour, 7);
    EXPECT_EQ(time.wMinute, 45);
    EXPECT_EQ(Data(), old);
}

TEST_F(ItemCommandTest, ARefreshQueryDuringTheDialogWaitsAndTheEditFindsItsEntry) {
    // Edit the second line; a day change while the dialog is open would
    // rebuild the view and put the cursor on the first line.
    Start(kTwoEntries, "");
    Key(VK_DOWN);
    EXPECT_TRUE(InDialog(IDM_EDIT, [&](HWND dialog) {
        SetEnvironmentVariableW(L"VANTREL_NOW", L"2013-11-04 09:30");
        EXPECT_FALSE(Query());
        SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, L"b2");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Data(), "2013/11/03,,a,,,\r\n2013/11/05,,b2,,,\r\n");
}

TEST_F(ItemCommandTest, TagDialogListsEachTagOnceAndCancelChangesNothing) {
    const std::string store = "[appointment]\nsubject: m\nstart: 2013-11-04 10:00\n"
                              "end: 2013-11-04 11:00\ncategories: work, outlook\n"
                              "[task]\nsubject: t\nstart: none\ndue: none\ncategories: outlook\n";
    Start("2013/11/03,,a,,,\r\n2013/11/05,,b,work,,\r\n", store, {{L"SaveFilter", 1}});
    const std::wstring first = Selected();
    std::vector<std::wstring> offered;
    EXPECT_TRUE(InDialog(IDM_FILTER_TAG, [&](HWND dialog) {
        for (int i = 0; i < ListCount(dialog, IDC_TAG_SEARCH_TEXT, CB_GETCOUNT); ++i) {
            offered.push_back(ComboLine(dialog, IDC_TAG_SEARCH_TEXT, i));
        }
        SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, L"work");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_CANCEL, 0);
    }));
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"outlook", L"work"}));
    EXPECT_EQ(Selected(), first);
    EXPECT_EQ(GetDword(L"StartFilter"), 4u);

    EXPECT_TRUE(InDialog(IDM_FILTER_TAG, [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, L"work");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(GetDword(L"StartFilter"), 10u);
    EXPECT_EQ(Selected(), L"2013-11-04T11:00\tm\t0\twork\toutlook"); // "a" has no tag
}

TEST_F(ItemCommandTest, SearchAndEmptyTexts) {
    Start("2013/11/03,,alpha,,,\r\n2013/11/05,,beta,,,\r\n", "", {{L"SaveFilter", 1}});
    EXPECT_TRUE(InDialog(IDM_FILTER_SEARCH, [](HWND dialog) {
        EXPECT_EQ(ListCount(dialog, IDC_TAG_SEARCH_TEXT, CB_GETCOUNT), 0);
        SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, L"bet");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(Selected(), L"2013-11-05\tbeta\t0");
    EXPECT_EQ(GetDword(L"StartFilter"), 4u); // the search is not remembered
    // An empty tag: the filter is set with an empty key.
    EXPECT_TRUE(InDialog(IDM_FILTER_TAG, [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, L"");
        SendMessageW(dialog, WM_COMMAND, IDM_BAR_OK, 0);
    }));
    EXPECT_EQ(GetDword(L"StartFilter"), 10u);
}

} // namespace

namespace {

TEST_F(ItemCommandTest, SurvivesAHundredThousandEntriesAndFiveThousandAppointments) {
    std::string vrl;
    for (int i = 0; i < 100000; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%04d/%02d/%02d,,entry %d,t%d,,\r\n", 2013 + i % 20,
                      1 + i % 12, 1 + i % 28, i, i % 50);
        vrl += line;
    }
    std::string store;
    for (int i = 0; i < 5000; ++i) {
        char record[160];
        std::snprintf(record, sizeof record,
                      "[appointment]\nsubject: a%d\nstart: 2013-%02d-%02d 10:00\n"
                      "end: 2013-%02d-%02d 11:00\n",
                      i, 1 + i % 12, 1 + i % 28, 1 + i % 12, 1 + i % 28);
        store += record;
    }
    Start(vrl, store, {{L"StartFilter", 0}});
    const std::wstring first = Selected();
    EXPECT_FALSE(first.empty());
    for (int page = 0; page < 20; ++page) {
        Key(VK_RIGHT);
    }
    const std::wstring paged = Selected();
    EXPECT_NE(paged, first);
    Menu(IDM_PIN); // pin: the whole list is written
    const std::string saved = Data();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 100000);
    EXPECT_NE(saved.find(",1,\r\n"), std::string::npos);
}

} // namespace
