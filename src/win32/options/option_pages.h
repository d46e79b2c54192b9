#pragma once

// The options sheet's pages and their shared control bindings. Every page
// edits the Today item's Settings record in place and writes all it shows
// when the sheet applies.

#include "options/colour_space.h"
#include "settings/settings.h"
#include "win32/dialog_controls.h"
#include "win32/item/item_window.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace vantrel {

// One opening of the sheet.
struct OptionsSheet {
    HWND host = nullptr;
    int result = 0;                      // negative: the settings were deleted, store nothing
    std::unique_ptr<Win32Prompt> prompt; // owned by the host dialog
};
// The process's sheet record; only the dialog procedures fetch it.
OptionsSheet& TheSheet();

// The message boxes and file dialogs of the sheet, owned by the host dialog
// and counted in `modalDepth` while they show.
Prompt& SheetPrompt(OptionsSheet& sheet, int& modalDepth);

// A check box for a 0/1 setting, a number box (edit `id` with its up-down
// at id + 1) and a check box for one bit of a bit-set setting.
struct CheckBinding {
    int id;
    std::int32_t Settings::*value;
};
struct NumberBinding {
    int id;
    std::int32_t Settings::*value;
    int min, max;
};
struct BitBinding {
    int id;
    std::int32_t Settings::*value;
    int bit;
};

void ShowChecks(HWND page, const Settings& s, std::span<const CheckBinding> checks);
void StoreChecks(HWND page, Settings& s, std::span<const CheckBinding> checks);
void ShowNumbers(HWND page, const Settings& s, std::span<const NumberBinding> numbers);
void StoreNumbers(HWND page, Settings& s, std::span<const NumberBinding> numbers);
void ShowBits(HWND page, const Settings& s, std::span<const BitBinding> bits);
void StoreBits(HWND page, Settings& s, std::span<const BitBinding> bits);

// An up-down control's range and position.
void SetNumber(HWND page, int id, int min, int max, int value);
int NumberOf(HWND page, int id);
// The decimal number in an edit box; 0 when it is not one.
int TypedNumber(HWND page, int id);
std::u16string TextOf(HWND page, int id);

// A drop-down list of string-table texts, with `selected` chosen.
void FillList(HWND page, int id, const TextTable& texts, std::span<const int> textIds,
              int selected);
int ListIndex(HWND page, int id);

// True for the sheet's apply notification; ApplyDone answers it.
bool IsApply(LPARAM lParam);
INT_PTR ApplyDone(HWND page);

// What every page does: fill its controls on WM_INITDIALOG (`show`) and
// store them on the apply notification (`apply`). The answer for those two,
// nothing for the messages a page handles itself.
template <class Show, class Apply>
std::optional<INT_PTR> PageMessage(HWND page, UINT message, LPARAM lParam, Show show, Apply apply) {
    if (message == WM_INITDIALOG) {
        show();
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!IsApply(lParam)) {
            return FALSE;
        }
        apply();
        return ApplyDone(page);
    }
    return std::nullopt;
}

// The page procedures, in sheet order.
INT_PTR CALLBACK BasicPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK DisplayPage1Proc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK DisplayPage2Proc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK DisplayPage3Proc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK DayRangePageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ColourPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK OperationPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK AppointmentPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK TaskPageProc(HWND, UINT, WPARAM, LPARAM);

// The colour chooser (IDD_COLOUR_CHOOSER) on `colour`; it is changed only by OK.
// It counts in `modalDepth` while it shows.
void RunColourChooser(HINSTANCE module, HWND owner, Colour& colour, int& modalDepth);

} // namespace vantrel
