// The real item window driven through the Today screen's messages, and the
// substitute host's rendering.

#include "platform/shell.h"
#include "platform/today.h"
#include "resource_ids.h"
#include "win32/item_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace vantrel::testing;

constexpr const wchar_t* kKey = kSettingsKey;

DWORD ValueCount() {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    return count;
}

// One item for the whole suite: the module keeps one window state.
class TodayWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        SetCurrentDirectoryW(std::wstring(windows, 3).c_str());
        CreateDirectoryW(L"\\My Documents", nullptr);
        DeleteFileW(L"\\My Documents\\vantrel.vrl");
        storePath = std::wstring(windows, 3) + L"vantrel_window_store.txt";
        WriteStore("[appointment]\nsubject: a\nstart: 2026-12-31 10:00\nend: 2026-12-31 11:00\n");
        SetEnvironmentVariableW(L"VANTREL_STORE", storePath.c_str());
        SetEnvironmentVariableW(L"VANTREL_NOW", L"2026-12-31 09:00");
        SetEnvironmentVariableW(L"VANTREL_ANSWER", L"ok");
        logPath = std::wstring(windows, 3) + L"vantrel_prompts.txt";
        DeleteFileW(logPath.c_str());
        SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", logPath.c_str());

        parent = CreateTodayScreen();
        module = LoadLibraryW((BinFolder() + L"\\vantrel.dll").c_str());
        ASSERT_NE(module, nullptr);
        auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(reinterpret_cast<void*>(
            GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_INITIALIZECUSTOMITEM))));
        ASSERT_NE(initialize, nullptr);
        item = initialize(&listItem, parent);
        ASSERT_NE(item, nullptr);
        SetWindowPos(item, nullptr, 0, 0, 240, 100, SWP_NOZORDER);
    }
    static void TearDownTestSuite() {
        DestroyWindow(parent);
        DeleteFileW(storePath.c_str());
        SetEnvironmentVariableW(L"VANTREL_NOW", nullptr);
        SetEnvironmentVariableW(L"VANTREL_STORE", nullptr);
        SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
        SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", nullptr);
        DeleteFileW(logPath.c_str());
    }

    static LRESULT Query() {
        return SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE,
                            reinterpret_cast<WPARAM>(&listItem), 0);
    }
    static void Print() {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        DeleteDC(dc);
    }

    // Renders the item into a bitmap and counts the pixels of one colour.
    static int PrintedPixels(COLORREF colour) {
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 240;
        info.bmiHeader.biHeight = -100;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageW(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        const int count = CountPixels(dc, 240, 100, colour);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return count;
    }

    static void WriteStore(const char* text) {
        std::ofstream(storePath.c_str(), std::ios::binary) << text;
    }

    // The clock moves on; the next poll may refresh, and then reports the
    // height of the view it built.
    static void AdvanceTo(const wchar_t* now) { SetEnvironmentVariableW(L"VANTREL_NOW", now); }

    static inline HWND parent = nullptr;
    static inline HWND item = nullptr;
    static inline HMODULE module = nullptr;
    static inline TODAYLISTITEM listItem{};
    static inline std::wstring storePath;
    static inline std::wstring logPath;
};

TEST_F(TodayWindowTest, FreshStartWritesEverySettingAndTheDataFile) {
    EXPECT_EQ(ValueCount(), 91u);
    EXPECT_NE(GetFileAttributesW(L"\\My Documents\\vantrel.vrl"), INVALID_FILE_ATTRIBUTES);
    // The missing file was reported before the start-up save created it.
    std::ifstream log(logPath.c_str(), std::ios::binary);
    const std::string logged((std::istreambuf_iterator<char>(log)), {});
    EXPECT_EQ(logged, "error\tCan't open '\\My Documents\\vantrel.vrl'\n");
}

TEST_F(TodayWindowTest, HeightIsHandedOverOnceAndFollowsTheView) {
    Print();
    EXPECT_TRUE(Query());
    const DWORD oneLine = listItem.cyp;
    EXPECT_GT(oneLine, 0u);
    EXPECT_FALSE(Query());

    // Two more appointments for tomorrow: nothing changes within the day ...
    WriteStore("[appointment]\nsubject: a\nstart: 2026-12-31 10:00\nend: 2026-12-31 11:00\n"
               "[appointment]\nsubject: b\nstart: 2027-01-01 10:00\nend: 2027-01-01 11:00\n"
               "[appointment]\nsubject: c\nstart: 2027-01-01 12:00\nend: 2027-01-01 13:00\n");
    AdvanceTo(L"2026-12-31 23:59");
    EXPECT_FALSE(Query());
    // ... and the new day (31 Dec -> 1 Jan) refreshes: "a" has ended, "b" and
    // "c" lie ahead, two lines.
    AdvanceTo(L"2027-01-01 00:00");
    EXPECT_TRUE(Query());
    EXPECT_GT(listItem.cyp, oneLine);
}

TEST_F(TodayWindowTest, SelectionNavigationAndEmptyTaps) {
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0), TRUE);
    Print();
    // Up on the first line hands the selection on; down moves within the view.
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_UP, 0), 0);
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_DOWN, 0), 1);
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_DOWN, 0), 0); // last line
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, 'A', 0), TRUE);
    // A tap below the lines runs ExTap (nothing by default).
    SendMessageW(item, WM_LBUTTONDOWN, 0, MAKELPARAM(120, 95));
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(120, 95));
    SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
    Print();
}

TEST_F(TodayWindowTest, IdleReturnToTheStartViewRefreshes) {
    // Moving the view (a page key) and then ResetTime (3) idle minutes
    // bring back the start view through a refresh, which finds "d".
    SetEnvironmentVariableW(L"VANTREL_NOW", L"2027-01-01 00:10");
    Print();
    Query();
    const DWORD twoLines = listItem.cyp;
    SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, 0);
    WriteStore("[appointment]\nsubject: b\nstart: 2027-01-01 10:00\nend: 2027-01-01 11:00\n"
               "[appointment]\nsubject: c\nstart: 2027-01-01 12:00\nend: 2027-01-01 13:00\n"
               "[appointment]\nsubject: d\nstart: 2027-01-01 14:00\nend: 2027-01-01 15:00\n");
    AdvanceTo(L"2027-01-01 00:12");
    EXPECT_FALSE(Query());
    AdvanceTo(L"2027-01-01 00:13");
    EXPECT_TRUE(Query());
    EXPECT_GT(listItem.cyp, twoLines);
}

TEST_F(TodayWindowTest, EnlargedSelectionShrinksAfterExFocusTime) {
    // The Today highlight here is white: its rows tell how tall the
    // selected line is drawn.
    SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0); // ExFocus: enlarge
    SendMessageW(item, WM_PAINT, 0, 0);                         // shown, ticks start
    const int enlarged = PrintedPixels(RGB(255, 255, 255));
    Query();
    Query(); // 4 ticks: not yet above ExFocusTime (4)
    EXPECT_EQ(PrintedPixels(RGB(255, 255, 255)), enlarged);
    Query();
    const int normal = PrintedPixels(RGB(255, 255, 255));
    EXPECT_GT(normal, 0);
    EXPECT_LT(normal, enlarged);
    SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
}

TEST_F(TodayWindowTest, EmptyViewKeysAndTaps) {
    WriteStore("# nothing\n");
    AdvanceTo(L"2027-01-02 08:00"); // a new day refreshes
    Query();
    EXPECT_GT(PrintedPixels(RGB(220, 40, 40)), 10); // IDI_VANTREL's red band: the empty state
    SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0);
    Print();
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_UP, 0), 0);
    EXPECT_EQ(SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, VK_DOWN, 0), 0);
    SendMessageW(item, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 5));
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(10, 5)); // ExTap: nothing
    EXPECT_FALSE(Query());
    SendMessageW(item, WM_TODAYCUSTOM_LOSTSELECTION, 0, 0);
}

// Counts the pixels of one exact colour in the host's screenshot.
int CountColour(const std::wstring& png, COLORREF colour) {
    HBITMAP bitmap = vantrel::SHLoadImageFile(png.c_str());
    if (bitmap == nullptr) {
        return -1;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const int count = CountPixels(dc, info.bmWidth, info.bmHeight, colour);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return count;
}

TEST(HostScreenshot, ShowsTheDayRangeColours) {
    SetDword(L"ViewLine", 4);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring shot = std::wstring(windows, 3) + L"vantrel_shot.png";
    DeleteFileW(shot.c_str());
    // A copy: the item may write its data file, and the sample is tracked.
    const std::wstring data = std::wstring(windows, 3) + L"vantrel_shot.vrl";
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\..\\..\\..\\examples\\sample.vrl").c_str(),
                          data.c_str(), FALSE));
    std::wstring command = L"\"" + BinFolder() + L"\\vantrel-host.exe\" --data \"" + data +
                           L"\" --now \"2026-12-08 09:00\" --screenshot \"" + shot + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               BinFolder().c_str(), &startup, &process));
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 0u);
    // The first four lines of the sample on 2026-12-08 with the default
    // colours: the pinned 12/24 and 12/31 entries in CrDataTx1 (8..365 days
    // ahead) with their CrPin triangles, the overdue ToDo entries in
    // CrToDoOverTx; nothing is in the colour of 2..7 days past (CrDataTx4).
    EXPECT_GT(CountColour(shot, 0xD4FFC3), 100);
    EXPECT_GT(CountColour(shot, 0x8000FF), 100);
    EXPECT_GT(CountColour(shot, 0x6464FF), 20);
    EXPECT_EQ(CountColour(shot, 0xF7C3FF), 0);
    DeleteFileW(shot.c_str());
    DeleteFileW(data.c_str());
}

} // namespace
