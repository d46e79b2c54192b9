// 日数: what これから admits, the first day of the week, the eight day
// ranges kept in order while typed, the ToDo span and 〆過日.

#include "options/option_rules.h"
#include "resource_ids.h"
#include "settings/over_minutes.h"
#include "win32/options/option_pages.h"

#include <array>

namespace vantrel {
namespace {

// The eight range boxes are addressed as the first one + 2 * box.
static_assert(IDC_DAY_RANGE_MINUS1 == IDC_DAY_RANGE_MINUS2 + 2 &&
              IDC_DAY_RANGE_ZERO_START == IDC_DAY_RANGE_MINUS2 + 4 &&
              IDC_DAY_RANGE_ZERO_END == IDC_DAY_RANGE_MINUS2 + 6 &&
              IDC_DAY_RANGE_PLUS1 == IDC_DAY_RANGE_MINUS2 + 8 &&
              IDC_DAY_RANGE_PLUS2 == IDC_DAY_RANGE_MINUS2 + 10 &&
              IDC_DAY_RANGE_FILTER_START == IDC_DAY_RANGE_MINUS2 + 12 &&
              IDC_DAY_RANGE_FILTER_END == IDC_DAY_RANGE_MINUS2 + 14);

constexpr std::array<int, 3> kFutureNames{42255, 42256, 42257};
constexpr std::array<int, 7> kWeekdayNames{42164, 42165, 42166, 42167, 42168, 42169, 42170};

constexpr int RangeBox(int i) {
    return IDC_DAY_RANGE_MINUS2 + 2 * i;
}

// Set once the boxes are filled; cleared while the ordering writes a box.
bool filled = false;

DayRanges TypedRanges(HWND page) {
    DayRanges ranges{};
    for (int i = 0; i < 8; ++i) {
        ranges[static_cast<std::size_t>(i)] = TypedNumber(page, RangeBox(i));
    }
    return ranges;
}

void Show(HWND page, Settings& s, const TextTable& texts) {
    FillList(page, IDC_DAY_RANGE_FUTURE, texts, kFutureNames, s.Future);
    FillList(page, IDC_DAY_RANGE_START_WEEK, texts, kWeekdayNames, s.StartWeek);
    DayRanges ranges = DayRangesOf(s);
    if (ValidateDayRanges(ranges)) {
        StoreDayRanges(s, ranges);
    }
    for (int i = 0; i < 8; ++i) {
        SetNumber(page, RangeBox(i), -99999, 99999, ranges[static_cast<std::size_t>(i)]);
    }
    const ToDoSpanView todo = ShowToDoSpan(s.DSpanTs);
    s.DSpanTs = todo.on ? s.DSpanTs : 1;
    SetChecked(page, IDC_DAY_RANGE_TODO_BOX, todo.on);
    SetNumber(page, IDC_DAY_RANGE_TODO_SPAN, -99999, 0, todo.value);
    // "off" shows 1
    SetDlgItemInt(page, IDC_DAY_RANGE_TODO_SPAN, static_cast<UINT>(todo.value), TRUE);
    SetNumber(page, IDC_DAY_RANGE_OVER_DAYS, -99999, 99999, DaysFromOverMinutes(s.OverMinutes));
}

void Apply(HWND page, Settings& s) {
    s.Future = ListIndex(page, IDC_DAY_RANGE_FUTURE);
    s.StartWeek = ListIndex(page, IDC_DAY_RANGE_START_WEEK);
    DayRanges ranges = TypedRanges(page);
    SettleDayRanges(ranges);
    StoreDayRanges(s, ranges);
    s.DSpanTs = StoreToDoSpan(Checked(page, IDC_DAY_RANGE_TODO_BOX),
                              TypedNumber(page, IDC_DAY_RANGE_TODO_SPAN));
    s.OverMinutes = OverMinutesFromDays(TypedNumber(page, IDC_DAY_RANGE_OVER_DAYS));
}

void ShowFilled(HWND page, Settings& s, const TextTable& texts) {
    filled = false;
    Show(page, s, texts);
    filled = true;
}

void RangeEdited(HWND page, int id) {
    const int box = (id - IDC_DAY_RANGE_MINUS2) / 2;
    if (!filled || (id - IDC_DAY_RANGE_MINUS2) % 2 != 0 || box < 0 || box >= 8) {
        return;
    }
    const DayRanges ranges = TypedRanges(page);
    const int value = ranges[static_cast<std::size_t>(box)];
    const int settled = SettledRange(ranges, box, value);
    if (settled != value) {
        filled = false;
        SetDlgItemInt(page, id, static_cast<UINT>(settled), TRUE);
        filled = true;
    }
}

} // namespace

INT_PTR CALLBACK DayRangePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    TodayItem& item = TheItem();
    if (const auto handled = PageMessage(
            page, message, lParam, [&] { ShowFilled(page, item.settings, *item.texts); },
            [&] { Apply(page, item.settings); })) {
        return *handled;
    }
    // Checked when the box is left (and at Apply), not at every key: a
    // negative boundary starts with a "-" that is no number yet.
    if (message == WM_COMMAND && HIWORD(wParam) == EN_KILLFOCUS) {
        RangeEdited(page, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace vantrel
