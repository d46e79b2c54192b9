#include "host_script.h"

#include "platform/today.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace {

// "\r", "\n", "\t" and "\\" in a typed text, so a scenario can type line
// breaks; any other backslash stays as it is.
std::wstring Unescaped(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size()) {
            const wchar_t next = text[i + 1];
            const wchar_t plain = next == L'r'    ? L'\r'
                                  : next == L'n'  ? L'\n'
                                  : next == L't'  ? L'\t'
                                  : next == L'\\' ? L'\\'
                                                  : L'\0';
            if (plain != L'\0') {
                out.push_back(plain);
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// One batch of dialog actions: applied to the next dialog that opens.
using Batch = std::vector<std::wstring>;

constexpr int kPopupCancel = 0;

struct Dialogs {
    std::deque<Batch> batches;
    std::set<HWND> handled;
    // Answers for the popup menus to come: a command id, or kPopupCancel,
    // and a picture of the menu to take first (empty: none).
    std::deque<std::pair<int, std::wstring>> popupPicks;
    int pendingCommand = 0; // picked from a popup, sent once the menu is gone
    DWORD menuSince = 0;    // when the open popup was first seen
    UINT_PTR timer = 0;
    ScriptHost* host = nullptr;
    std::wstring folder; // the script's: relative paths start there
} dialogs;

// A path of the script, relative to the script's own folder.
std::wstring Resolved(const std::wstring& path) {
    const bool absolute = (path.size() > 1 && path[1] == L':') ||
                          (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
    return absolute || dialogs.folder.empty() ? path : dialogs.folder + L"\\" + path;
}

std::wstring Widen(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

HWND NewDialog() {
    return FirstThreadWindow([](HWND window) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        return std::wstring(name) == L"#32770" && IsWindowVisible(window) &&
               dialogs.handled.count(window) == 0;
    });
}

} // namespace

HWND FirstThreadWindow(const std::function<bool(HWND)>& matches) {
    struct Search {
        const std::function<bool(HWND)>* matches;
        HWND found = nullptr;
    } search{&matches};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if ((*s->matches)(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

bool IsSheet(HWND dialog) {
    return SendMessageW(dialog, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

void Notify(HWND dialog, int id, WORD code) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// "text ID TEXT", "check ID on|off", "pick ID INDEX", "page N",
// "command ID", "screenshot FILE.png", "ok", "cancel".
void Apply(HWND dialog, const std::wstring& line) {
    std::wistringstream in(line);
    std::wstring verb;
    int id = 0;
    in >> verb;
    HWND target = IsSheet(dialog)
                      ? reinterpret_cast<HWND>(SendMessageW(dialog, PSM_GETCURRENTPAGEHWND, 0, 0))
                      : dialog;
    if (verb == L"page") {
        in >> id;
        SendMessageW(dialog, PSM_SETCURSEL, static_cast<WPARAM>(id), 0);
    } else if (verb == L"text") {
        in >> id;
        std::wstring text;
        std::getline(in, text);
        const std::size_t start = text.find_first_not_of(L' ');
        text = Unescaped(start == std::wstring::npos ? L"" : text.substr(start));
        SetDlgItemTextW(target, id, text.c_str());
    } else if (verb == L"check") {
        std::wstring state;
        in >> id >> state;
        CheckDlgButton(target, id, state == L"on" ? BST_CHECKED : BST_UNCHECKED);
        Notify(target, id, BN_CLICKED);
    } else if (verb == L"pick") {
        int index = 0;
        in >> id >> index;
        SendDlgItemMessageW(target, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(target, id, CBN_SELCHANGE);
    } else if (verb == L"command") {
        in >> id;
        SendMessageW(target, WM_COMMAND, static_cast<WPARAM>(id), 0);
    } else if (verb == L"screenshot") {
        std::wstring path;
        in >> path;
        path = Resolved(path);
        if (!dialogs.host->shootWindow(dialog, path)) {
            std::fprintf(stderr, "vantrel-host: cannot write %s\n", Narrow(path).c_str());
        }
    } else if (verb == L"ok" || verb == L"cancel") {
        if (IsSheet(dialog)) {
            SendMessageW(dialog, PSM_PRESSBUTTON, verb == L"ok" ? PSBTN_OK : PSBTN_CANCEL, 0);
        } else {
            SendMessageW(dialog, WM_COMMAND, verb == L"ok" ? IDM_BAR_OK : IDM_BAR_CANCEL, 0);
        }
    }
}

HWND OpenPopupMenu() {
    return FirstThreadWindow([](HWND window) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        return std::wstring(name) == L"#32768" && IsWindowVisible(window);
    });
}

// Nobody is there to choose from a popup menu: it takes the queued pick,
// or is cancelled, and the script goes on.
bool AnswerPopup() {
    HWND menu = OpenPopupMenu();
    if (menu == nullptr) {
        dialogs.menuSince = 0;
        return false;
    }
    if (dialogs.menuSince == 0) {
        dialogs.menuSince = GetTickCount();
    }
    // A picture waits until the display shows the menu.
    const bool picture = !dialogs.popupPicks.empty() && !dialogs.popupPicks.front().second.empty();
    if (picture && GetTickCount() - dialogs.menuSince < 500) {
        RedrawWindow(menu, nullptr, nullptr, RDW_UPDATENOW);
        return true;
    }
    dialogs.menuSince = 0;
    int pick = kPopupCancel;
    if (!dialogs.popupPicks.empty()) {
        const auto [command, picture] = dialogs.popupPicks.front();
        dialogs.popupPicks.pop_front();
        pick = command;
        if (!picture.empty() && !dialogs.host->shootScreen(picture)) {
            std::fprintf(stderr, "vantrel-host: cannot write %s\n", Narrow(picture).c_str());
        }
    }
    dialogs.pendingCommand = pick;
    EndMenu();
    return true;
}

// Runs inside every modal loop of the script's thread (menus, dialogs).
void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (AnswerPopup() || dialogs.batches.empty()) {
        return;
    }
    HWND dialog = NewDialog();
    if (dialog == nullptr) {
        return;
    }
    dialogs.handled.insert(dialog);
    const Batch batch = dialogs.batches.front();
    dialogs.batches.pop_front();
    for (const std::wstring& line : batch) {
        Apply(dialog, line); // may open a nested dialog: the timer serves it too
    }
}

int Key(const std::wstring& name) {
    if (name == L"up") {
        return VK_UP;
    }
    if (name == L"down") {
        return VK_DOWN;
    }
    if (name == L"left") {
        return VK_LEFT;
    }
    if (name == L"right") {
        return VK_RIGHT;
    }
    return name == L"enter" ? VK_RETURN : 0;
}

// The selected line, through the item's own copy command.
std::wstring CopySelected(HWND item) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SendMessageW(item, WM_COMMAND, IDM_COPY, 0);
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

std::wstring MomentAfter(const std::wstring& now, int minutes) {
    SYSTEMTIME t{};
    if (swscanf(now.c_str(), L"%hu-%hu-%hu %hu:%hu", &t.wYear, &t.wMonth, &t.wDay, &t.wHour,
                &t.wMinute) != 5) {
        GetLocalTime(&t);
        t.wSecond = t.wMilliseconds = 0;
    }
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER ticks{{f.dwLowDateTime, f.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(minutes) * 60ULL * 10000000ULL;
    f = FILETIME{ticks.LowPart, ticks.HighPart};
    FileTimeToSystemTime(&f, &t);
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[64] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 64);
    return n > 0 && n < 64 ? value : L"";
}

// A pick from a popup reaches the menu's owner as its choice would.
void SendPendingCommands(HWND item) {
    while (dialogs.pendingCommand != kPopupCancel) {
        const int command = dialogs.pendingCommand;
        dialogs.pendingCommand = kPopupCancel;
        SendMessageW(item, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
}

} // namespace

void Hold(HWND item, int x, int y) {
    SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    POINT p{x, y};
    ClientToScreen(item, &p);
    SendMessageW(item, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(item), MAKELPARAM(p.x, p.y));
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool RunScript(const std::wstring& path, ScriptHost& host) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "vantrel-host: cannot read the script %s\n", Narrow(path).c_str());
        return false;
    }
    dialogs.host = &host;
    dialogs.folder = path.substr(
        0, path.find_last_of(L"\\/") == std::wstring::npos ? 0 : path.find_last_of(L"\\/"));
    dialogs.timer = SetTimer(nullptr, 0, 50, ScriptTimer);
    std::string raw;
    int number = 0;
    Batch batch;
    std::wstring log;
    while (std::getline(file, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        const std::wstring line = Widen(raw);
        std::wistringstream in(line);
        std::wstring verb;
        in >> verb;
        if (verb.empty() || verb[0] == L'#') {
            continue;
        }
        HWND item = host.item();
        if (verb == L"dialog") {
            std::wstring rest;
            std::getline(in, rest);
            rest = rest.substr(rest.find_first_not_of(L' ') == std::wstring::npos
                                   ? rest.size()
                                   : rest.find_first_not_of(L' '));
            if (rest == L"next") {
                dialogs.batches.push_back(batch);
                batch.clear();
            } else {
                batch.push_back(rest);
            }
            continue;
        }
        if (!batch.empty()) { // a batch ends at the line that opens its dialog
            dialogs.batches.push_back(batch);
            batch.clear();
        }
        int x = 0, y = 0, value = 0;
        std::wstring word;
        if (verb == L"tap" && (in >> x >> y)) {
            SendMessageW(item, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
            SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        } else if (verb == L"hold" && (in >> x >> y)) {
            Hold(item, x, y);
        } else if (verb == L"popup" && (in >> word)) {
            std::wstring picture;
            in >> picture;
            dialogs.popupPicks.emplace_back(word == L"cancel" ? kPopupCancel : _wtoi(word.c_str()),
                                            picture.empty() ? picture : Resolved(picture));
        } else if (verb == L"key" && (in >> word) && Key(word) != 0) {
            host.select(true);
            if (Key(word) == VK_RETURN) {
                SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0);
            } else {
                SendMessageW(item, WM_TODAYCUSTOM_USERNAVIGATION, static_cast<WPARAM>(Key(word)),
                             0);
            }
        } else if (verb == L"menu" && (in >> value)) {
            SendMessageW(item, WM_COMMAND, static_cast<WPARAM>(value), 0);
        } else if (verb == L"answer" && (in >> word)) {
            SetEnvironmentVariableW(L"VANTREL_ANSWER", word.c_str());
        } else if (verb == L"now") {
            std::getline(in, word);
            SetEnvironmentVariableW(L"VANTREL_NOW",
                                    word.substr(word.find_first_not_of(L' ')).c_str());
        } else if (verb == L"advance" && (in >> value)) {
            SetEnvironmentVariableW(L"VANTREL_NOW",
                                    MomentAfter(Environment(L"VANTREL_NOW"), value).c_str());
        } else if (verb == L"poll") {
            host.poll();
        } else if (verb == L"options") {
            host.options();
        } else if (verb == L"restart") {
            host.restart();
        } else if (verb == L"log" && (in >> word)) {
            log = Resolved(word);
        } else if (verb == L"copy") {
            std::wstring label;
            std::getline(in, label);
            std::ofstream out(log.c_str(), std::ios::binary | std::ios::app);
            out << Narrow(label.empty() ? label : label.substr(1)) << '\t'
                << Narrow(CopySelected(item)) << '\n';
        } else if (verb == L"screenshot" && (in >> word)) {
            host.screenshot(Resolved(word));
        } else {
            std::fprintf(stderr, "vantrel-host: script line %d: %s\n", number, raw.c_str());
            KillTimer(nullptr, dialogs.timer);
            return false;
        }
        SendPendingCommands(host.item());
        host.paint();
    }
    KillTimer(nullptr, dialogs.timer);
    return true;
}
