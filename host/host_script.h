#pragma once

// A scripted day for the substitute Today screen: taps, keys, menu
// choices, answers to the item's questions, a clock that moves, and
// actions on the dialogs the item opens. See the README for the lines.

#include <windows.h>

#include <functional>
#include <string>

struct ScriptHost {
    HWND window = nullptr;
    std::function<HWND()> item;       // the item's window now
    std::function<void()> poll;       // one refresh query
    std::function<void()> paint;      // what is invalid paints, as the screen would let it
    std::function<void()> restart;    // the item's window created again
    std::function<void()> options;    // the options, as the settings page opens them
    std::function<void(bool)> select; // the Today selection on or off
    std::function<bool(const std::wstring&)> screenshot;
    std::function<bool(HWND, const std::wstring&)> shootWindow; // a dialog as it shows
    std::function<bool(const std::wstring&)> shootScreen;       // the Today window as it shows
};

// A tap-and-hold at the item's client point, as the device delivers it:
// button-down (hit test, cursor, selection), the hold recognised at that
// point (WM_CONTEXTMENU), button-up.
void Hold(HWND item, int x, int y);

// The first top-level window of this thread that `matches`, or nullptr.
HWND FirstThreadWindow(const std::function<bool(HWND)>& matches);

// Runs the script; false (with the line on stderr) on a line it cannot read.
bool RunScript(const std::wstring& path, ScriptHost& host);
