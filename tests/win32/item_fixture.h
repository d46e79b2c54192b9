#pragma once

// A fresh item window per test over its own registry, data file and store.

#include "platform/today.h"
#include "resource_ids.h"
#include "win32/item_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vantrel::testing {

inline const wchar_t* const kDataFile = L"\\My Documents\\vantrel.vrl";

// One module per process: every test restarts the item window over a
// fresh registry, data file and store, which re-runs the start-up.
class ItemCommandTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetCurrentDirectoryW(DriveRoot().c_str());
        CreateDirectoryW(L"\\My Documents", nullptr);
        storePath = DriveRoot() + L"vantrel_command_store.txt";
        logPath = DriveRoot() + L"vantrel_command_prompts.txt";
        SetEnvironmentVariableW(L"VANTREL_STORE", storePath.c_str());
        SetEnvironmentVariableW(L"VANTREL_PROMPT_LOG", logPath.c_str());
        parent = CreateTodayScreen();
        module = LoadLibraryW((BinFolder() + L"\\vantrel.dll").c_str());
        ASSERT_NE(module, nullptr);
        initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(reinterpret_cast<void*>(
            GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_INITIALIZECUSTOMITEM))));
        ASSERT_NE(initialize, nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(parent);
        DeleteFileW(storePath.c_str());
        DeleteFileW(logPath.c_str());
        for (const wchar_t* name :
             {L"VANTREL_STORE", L"VANTREL_PROMPT_LOG", L"VANTREL_NOW", L"VANTREL_ANSWER"}) {
            SetEnvironmentVariableW(name, nullptr);
        }
    }
    void TearDown() override {
        if (item != nullptr) {
            DestroyWindow(item);
            item = nullptr;
        }
    }

    // Starts the item on `vrl` and `store` at 2013-11-02 09:30 with the
    // given settings over the defaults.
    void Start(const std::string& vrl, const std::string& store,
               std::vector<std::pair<const wchar_t*, DWORD>> settings = {}) {
        if (item != nullptr) {
            DestroyWindow(item);
        }
        RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
        SetDword(L"ViewLine", 8);
        for (const auto& [name, value] : settings) {
            SetDword(name, value);
        }
        PutFile(kDataFile, vrl);
        PutFile(storePath, store);
        DeleteFileW(logPath.c_str());
        SetEnvironmentVariableW(L"VANTREL_NOW", L"2013-11-02 09:30");
        SetEnvironmentVariableW(L"VANTREL_ANSWER", L"yes");
        item = initialize(&listItem, parent);
        ASSERT_NE(item, nullptr);
        SetWindowPos(item, nullptr, 0, 0, 240, 200, SWP_NOZORDER);
        Print();
        Query(); // hands the height over
    }

    void Menu(int id) { SendMessageW(item, WM_COMMAND, id, 0); }
    void Key(WPARAM key) { SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, key, 0); }
    LRESULT Query() {
        return SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE,
                            reinterpret_cast<WPARAM>(&listItem), 0);
    }
    void Print() {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        DeleteDC(dc);
    }
    static void Answer(const wchar_t* answer) {
        SetEnvironmentVariableW(L"VANTREL_ANSWER", answer);
    }

    // The selected line as the copy command puts it on the clipboard.
    std::wstring Selected() {
        EmptyTheClipboard();
        Menu(IDM_COPY);
        return ClipboardText();
    }

    // Runs a menu command that opens one of the item's dialogs.
    bool InDialog(int id, const std::function<void(HWND)>& action) {
        return WhileModal(action, [&] { Menu(id); });
    }

    // Opens the options as the Today screen's settings page does; `action`
    // gets the property sheet while it runs.
    bool Options(const std::function<void(HWND)>& action) {
        const auto procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(
            GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_CUSTOMITEMOPTIONSDLGPROC))));
        return WhileModal(action, [&] {
            DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_OPTIONS_HOST), parent, procedure, 0);
        });
    }

    static std::string Data() { return FileBytes(kDataFile); }
    static std::string Store() { return FileBytes(storePath); }
    static std::string Prompts() { return FileBytes(logPath); }

    static inline HWND parent = nullptr;
    static inline HMODULE module = nullptr;
    static inline PFNCUSTOMINITIALIZEITEM initialize = nullptr;
    static inline std::wstring storePath, logPath;
    HWND item = nullptr;
    TODAYLISTITEM listItem{};
};

} // namespace vantrel::testing
