#pragma once

// Driving the options sheet's pages as the user would: a page shown, a
// list picked, a box checked or typed into, the sheet's buttons pressed.

#include "win32/item_harness.h"

#include <commctrl.h>
#include <prsht.h>
#include <windows.h>

#include <string>

namespace vantrel::testing {

inline HWND ShowPage(HWND sheet, int page) {
    SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

inline void Press(HWND sheet, int button) {
    SendMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

inline void Pick(HWND page, int id, int index) {
    SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

inline int Picked(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0));
}

inline int Shown(HWND page, int id) {
    BOOL ok = FALSE;
    return static_cast<int>(GetDlgItemInt(page, id, &ok, TRUE));
}

inline void SetChecked(HWND page, int id, bool on) {
    CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
    Notify(page, id);
}

inline bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

inline void Type(HWND page, int id, int value) {
    SetDlgItemInt(page, id, static_cast<UINT>(value), TRUE); // sends EN_CHANGE
}

inline std::wstring TextIn(HWND page, int id) {
    wchar_t text[300] = {};
    GetDlgItemTextW(page, id, text, 300);
    return text;
}

} // namespace vantrel::testing
