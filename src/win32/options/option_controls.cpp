#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"

#include <commctrl.h>
#include <prsht.h>

#include <cwchar>

namespace vantrel {

OptionsSheet& TheSheet() {
    static OptionsSheet sheet;
    return sheet;
}

Prompt& SheetPrompt(OptionsSheet& sheet, int& modalDepth) {
    if (!sheet.prompt) {
        sheet.prompt = std::make_unique<Win32Prompt>(sheet.host, &modalDepth);
    }
    return *sheet.prompt;
}

void SetNumber(HWND page, int id, int min, int max, int value) {
    SendDlgItemMessageW(page, id + 1, UDM_SETRANGE32, static_cast<WPARAM>(min), max);
    SendDlgItemMessageW(page, id + 1, UDM_SETPOS32, 0, value);
}

int NumberOf(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageW(page, id + 1, UDM_GETPOS32, 0, 0));
}

std::u16string TextOf(HWND page, int id) {
    wchar_t text[261] = {};
    GetDlgItemTextW(page, id, text, 261);
    return FromWide(text);
}

int TypedNumber(HWND page, int id) {
    wchar_t text[32] = {};
    GetDlgItemTextW(page, id, text, 32);
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    return end != text && *end == L'\0' ? static_cast<int>(value) : 0;
}

void ShowChecks(HWND page, const Settings& s, std::span<const CheckBinding> checks) {
    for (const CheckBinding& c : checks) {
        SetChecked(page, c.id, s.*c.value != 0);
    }
}

void StoreChecks(HWND page, Settings& s, std::span<const CheckBinding> checks) {
    for (const CheckBinding& c : checks) {
        s.*c.value = Checked(page, c.id) ? 1 : 0;
    }
}

void ShowNumbers(HWND page, const Settings& s, std::span<const NumberBinding> numbers) {
    for (const NumberBinding& n : numbers) {
        SetNumber(page, n.id, n.min, n.max, s.*n.value);
    }
}

void StoreNumbers(HWND page, Settings& s, std::span<const NumberBinding> numbers) {
    for (const NumberBinding& n : numbers) {
        s.*n.value = NumberOf(page, n.id);
    }
}

void ShowBits(HWND page, const Settings& s, std::span<const BitBinding> bits) {
    for (const BitBinding& b : bits) {
        SetChecked(page, b.id, (s.*b.value & b.bit) != 0);
    }
}

void StoreBits(HWND page, Settings& s, std::span<const BitBinding> bits) {
    for (const BitBinding& b : bits) {
        s.*b.value = 0;
    }
    for (const BitBinding& b : bits) {
        if (Checked(page, b.id)) {
            s.*b.value |= b.bit;
        }
    }
}

void FillList(HWND page, int id, const TextTable& texts, std::span<const int> textIds,
              int selected) {
    SendDlgItemMessageW(page, id, CB_RESETCONTENT, 0, 0);
    for (int textId : textIds) {
        SendDlgItemMessageW(page, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(LoadText(texts, textId)).c_str()));
    }
    SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int ListIndex(HWND page, int id) {
    const LRESULT index = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : static_cast<int>(index);
}

bool IsApply(LPARAM lParam) {
    return reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY);
}

INT_PTR ApplyDone(HWND page) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}

} // namespace vantrel
