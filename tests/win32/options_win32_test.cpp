// The options sheet through its real pages: controls set as the user would,
// then the sheet's OK (PSN_APPLY to every created page) or cancel.

#include "resource_ids.h"
#include "win32/item_fixture.h"
#include "win32/options_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>
#include <windows.h>

namespace {

using namespace vantrel::testing;

class OptionsTest : public ItemCommandTest {};

// The user moves on to another control.
void Leave(HWND page, int id) {
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

TEST_F(OptionsTest, CancelStillStoresTheSettings) {
    Start("", "");
    SetDword(L"ViewLine", 3); // changed behind the item's back: the sheet loads it
    EXPECT_TRUE(Options([](HWND sheet) { Press(sheet, PSBTN_CANCEL); }));
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"ViewLine");
    EXPECT_TRUE(Options([](HWND sheet) { Press(sheet, PSBTN_CANCEL); }));
    EXPECT_EQ(GetDword(L"ViewLine"), 3u); // stored again although cancelled
}

TEST_F(OptionsTest, DeletedSettingsAreNotStoredAgain) {
    Start("", "");
    EXPECT_TRUE(Options([](HWND sheet) {
        HWND page = ShowPage(sheet, 0);
        SendMessageW(page, WM_COMMAND, IDC_BASIC_DELETE_SETTINGS, 0); // 設定削除, answered yes
        Press(sheet, PSBTN_OK);
    }));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(Prompts().find("Warning\t保存されている設定をすべて削除します"), std::string::npos);
}

TEST_F(OptionsTest, PastStartFilterAndColumnPositions) {
    Start("", "");
    EXPECT_TRUE(Options([](HWND sheet) {
        HWND basic = ShowPage(sheet, 0);
        SetChecked(basic, IDC_BASIC_FILTER_BOX, true);
        Pick(basic, IDC_BASIC_FILTER_LIST, 11); // 過去
        HWND display = ShowPage(sheet, 2);
        EXPECT_EQ(Picked(display, IDC_DISPLAY2_POS_DAY_COUNT), 0); // 日数 at 1, 日付 at 2
        Pick(display, IDC_DISPLAY2_POS_DAY_COUNT, 1);              // 日数 to 2: 日付 takes 1
        EXPECT_EQ(Picked(display, IDC_DISPLAY2_POS_DATE), 0);
        EXPECT_EQ(Picked(display, IDC_DISPLAY2_POS_MEMO), 2);
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(GetDword(L"StartFilter"), 12u);
    EXPECT_EQ(GetDword(L"SaveFilter"), 0u);
    EXPECT_EQ(GetDword(L"PosDayCount"), 2u);
    EXPECT_EQ(GetDword(L"PosDate"), 1u);
    EXPECT_EQ(GetDword(L"PosMemo"), 3u);
    int shownAt = -1;
    EXPECT_TRUE(Options([&](HWND sheet) {
        shownAt = Picked(ShowPage(sheet, 0), IDC_BASIC_FILTER_LIST);
        Press(sheet, PSBTN_CANCEL);
    }));
    EXPECT_EQ(shownAt, 11);
}

TEST_F(OptionsTest, DayRangesToDoSpanAndOverdueDays) {
    Start("", "");
    struct Case {
        int days;
        DWORD stored;
    };
    for (const Case c : {Case{0, 2100000000u}, Case{-1, 2099997120u}, Case{-3, 2099994240u}}) {
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, 4);
            Type(page, IDC_DAY_RANGE_PLUS1, 500); // 範囲＋１ above 範囲＋２ (366)
            EXPECT_EQ(Shown(page, IDC_DAY_RANGE_PLUS1), 500); // typing goes on
            Leave(page, IDC_DAY_RANGE_PLUS1);
            EXPECT_EQ(Shown(page, IDC_DAY_RANGE_PLUS1), 366);
            SetChecked(page, IDC_DAY_RANGE_TODO_BOX, true);
            Type(page, IDC_DAY_RANGE_TODO_SPAN, 5);
            Type(page, IDC_DAY_RANGE_OVER_DAYS, c.days);
            Press(sheet, PSBTN_OK);
        }));
        EXPECT_EQ(GetDword(L"DSpan4"), 366u);
        EXPECT_EQ(GetDword(L"DSpanTs"), 1u);
        EXPECT_EQ(GetDword(L"OverMinutes"), c.stored) << c.days;
        int shown = 99;
        EXPECT_TRUE(Options([&](HWND sheet) {
            shown = Shown(ShowPage(sheet, 4), IDC_DAY_RANGE_OVER_DAYS);
            Press(sheet, PSBTN_CANCEL);
        }));
        EXPECT_EQ(shown, c.days);
    }
}

// The sheet fills the device's screen, as the device maximises it.
TEST_F(OptionsTest, TheSheetFillsTheScreen) {
    Start("", "");
    RECT sheetRect{}, screen{};
    EXPECT_TRUE(Options([&](HWND sheet) {
        GetWindowRect(sheet, &sheetRect);
        Press(sheet, PSBTN_CANCEL);
    }));
    GetClientRect(GetAncestor(item, GA_ROOT), &screen);
    EXPECT_EQ(sheetRect.right - sheetRect.left, screen.right);
    EXPECT_EQ(sheetRect.bottom - sheetRect.top, screen.bottom);
}

// A negative boundary is typed from its "-" on; a box left out of order is
// settled when the sheet applies.
TEST_F(OptionsTest, NegativeRangeBoundariesCanBeTyped) {
    Start("", "");
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, 4);
        SetDlgItemTextW(page, IDC_DAY_RANGE_FILTER_START, L"-");
        EXPECT_EQ(TextIn(page, IDC_DAY_RANGE_FILTER_START), L"-");
        SetDlgItemTextW(page, IDC_DAY_RANGE_FILTER_START, L"-14");
        Leave(page, IDC_DAY_RANGE_FILTER_START);
        EXPECT_EQ(Shown(page, IDC_DAY_RANGE_FILTER_START), -14);
        Type(page, IDC_DAY_RANGE_PLUS1, 500); // not left: Apply settles it
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(static_cast<int>(GetDword(L"DSpanFs")), -14);
    EXPECT_EQ(GetDword(L"DSpan4"), 366u);
}

// Choosing an existing file: the item shows and writes it from then on, and
// the file before it keeps its bytes.
TEST_F(OptionsTest, AnExistingDataFileChosenIsReadAndTheOldOneKept) {
    const std::string old = "2013/11/03,,a,,,\r\n";
    Start(old, "");
    const std::wstring chosen = DriveRoot() + L"vantrel_chosen.vrl";
    const std::string chosenBytes = "2013/11/04,,chosen,,,\r\n";
    PutFile(chosen, chosenBytes);
    EXPECT_TRUE(Options([&](HWND sheet) {
        SetDlgItemTextW(ShowPage(sheet, 0), IDC_BASIC_PATH, chosen.c_str());
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(FileBytes(chosen), chosenBytes);
    EXPECT_EQ(FileBytes(kDataFile), old);
    EXPECT_NE(Selected().find(L"chosen"), std::wstring::npos);
    Menu(IDM_PIN); // a change is written to the chosen file
    EXPECT_EQ(FileBytes(chosen), "2013/11/04,,chosen,,1,\r\n");
    EXPECT_EQ(FileBytes(kDataFile), old);
    DeleteFileW(chosen.c_str());
}

// Answering No to クリーンデータ changes nothing and leaves the polls
// refreshing: the next day's poll drops the entry that has passed.
TEST_F(OptionsTest, CleanDataAnsweredNoKeepsRefreshing) {
    const std::string two = "2013/11/03,,a,,,\r\n2013/11/08,,b,,,\r\n";
    Start(two, "");
    Answer(L"no");
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BASIC_CLEAN_DATA, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BASIC_CLEAN_DATA)));
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(Data(), two);
    SetEnvironmentVariableW(L"VANTREL_NOW", L"2013-11-05 09:30");
    Query(); // refreshes: "a" has passed
    EXPECT_EQ(Selected(), L"2013-11-08\tb\t0");
}

TEST_F(OptionsTest, ANewDataFilePathIsCreatedWithTheData) {
    Start("2013/11/03,,a,,,\r\n", "");
    const std::wstring moved = DriveRoot() + L"vantrel_moved.vrl";
    DeleteFileW(moved.c_str());
    EXPECT_TRUE(Options([&](HWND sheet) {
        SetDlgItemTextW(ShowPage(sheet, 0), IDC_BASIC_PATH, moved.c_str());
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(FileBytes(moved), "2013/11/03,,a,,,\r\n");
    DeleteFileW(moved.c_str());
}

} // namespace
