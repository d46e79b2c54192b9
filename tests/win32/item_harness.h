#pragma once

// What the Wine tests of the item window share: a stand-in Today screen
// window, the settings key, and a way to act on the item's modal menus and
// dialogs while they run.

#include "platform/today.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace vantrel::testing {

inline constexpr const wchar_t* kSettingsKey = L"Software\\Orvane\\Vantrel";

inline std::wstring BinFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

// The clipboard's text, and emptying it before a command that may fill it.
inline std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}
inline void EmptyTheClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// "C:\" of the prefix: the device paths of the item are rooted there.
inline std::wstring DriveRoot() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, 3);
}

// The Today screen's side: white text colours, no watermark.
inline LRESULT CALLBACK TodayScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TODAYM_GETCOLOR) {
        return RGB(255, 255, 255);
    }
    if (message == TODAYM_DRAWWATERMARK || message == TODAYM_TOOKSELECTION) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline HWND CreateTodayScreen() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TodayScreenProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestTodayScreen";
    RegisterClassW(&wc);
    return CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 240, 320, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

inline void SetDword(const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

inline DWORD GetDword(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

inline void SetText(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline std::wstring GetText(const wchar_t* name) {
    wchar_t text[300] = {};
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

inline std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void PutFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

inline int CountPixels(HDC dc, int width, int height, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            count += GetPixel(dc, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// Runs `command`, which opens a modal popup menu or dialog of this thread;
// once it is up, `action` gets its window (the menu's for a popup). A
// dialog opened over another one is found, not its disabled owner. A
// dialog still open after the action is cancelled, a menu is ended. True
// when the action ran.
inline bool WhileModal(const std::function<void(HWND)>& action,
                       const std::function<void()>& command) {
    static const std::function<void(HWND)>* pending = nullptr;
    static bool ran = false;
    pending = &action;
    ran = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM out) -> BOOL {
                wchar_t name[16] = {};
                GetClassNameW(window, name, 16);
                const std::wstring cls = name;
                if ((cls == L"#32770" || cls == L"#32768") && IsWindowVisible(window) &&
                    IsWindowEnabled(window)) {
                    *reinterpret_cast<HWND*>(out) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found == nullptr || pending == nullptr) {
            return;
        }
        KillTimer(nullptr, id);
        const std::function<void(HWND)>* act = pending;
        pending = nullptr;
        ran = true;
        (*act)(found);
        wchar_t name[16] = {};
        GetClassNameW(found, name, 16);
        if (std::wstring(name) == L"#32768") {
            EndMenu();
        } else if (IsWindow(found) && IsWindowVisible(found)) {
            SendMessageW(found, WM_COMMAND, IDCANCEL, 0);
        }
    });
    command();
    KillTimer(nullptr, timer);
    pending = nullptr;
    return ran;
}

// A WM_COMMAND from a dialog's control, as its notification would come.
inline void Notify(HWND dialog, int id, WORD code = BN_CLICKED) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace vantrel::testing
