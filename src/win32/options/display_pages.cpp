// 表示1, 表示2 and 表示3: switches, fonts, sizes, widths and the column
// order.

#include "options/option_rules.h"
#include "resource_ids.h"
#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"
#include "win32/scoped.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// 表示1
constexpr CheckBinding kDisplay1Checks[] = {
    {IDC_DISPLAY1_DRAW_CHECK, &Settings::DrawCheck},
    {IDC_DISPLAY1_DRAW_ICON, &Settings::DrawIcon},
    {IDC_DISPLAY1_DRAW_WDAY, &Settings::DrawWDay},
    {IDC_DISPLAY1_DRAW_SPAN, &Settings::DrawSpan},
    {IDC_DISPLAY1_DRAW_TOMORROW, &Settings::DrawTomorrow},
    {IDC_DISPLAY1_CHECK_DATE, &Settings::CheckDate},
    {IDC_DISPLAY1_CHECK_STRIKE_OUT, &Settings::CheckStrikeOut},
};
constexpr NumberBinding kDisplay1Numbers[] = {
    {IDC_DISPLAY1_RESET_TIME, &Settings::ResetTime, 0, 99},
    {IDC_DISPLAY1_MAX_MINUTES, &Settings::MaxMinutes, 60, 999},
};
constexpr std::array<int, 4> kAutoUpdateNames{42230, 42231, 42232, 42260};

// 表示2
constexpr NumberBinding kDisplay2Numbers[] = {
    {IDC_DISPLAY2_FONT_SIZE, &Settings::FontSize, 0, 99},
    {IDC_DISPLAY2_LINE_SPACE, &Settings::LineSpace, 0, 99},
    {IDC_DISPLAY2_WIDTH_SEP, &Settings::WidthSep, 0, 99},
};
constexpr std::array<int, 3> kWidthBoxes{IDC_DISPLAY2_WIDTH_DAY_COUNT, IDC_DISPLAY2_WIDTH_DATE,
                                         IDC_DISPLAY2_WIDTH_MEMO};
// The column lists are addressed as the first one + column.
static_assert(IDC_DISPLAY2_POS_DATE == IDC_DISPLAY2_POS_DAY_COUNT + 1 &&
              IDC_DISPLAY2_POS_MEMO == IDC_DISPLAY2_POS_DAY_COUNT + 2);
constexpr std::array<std::int32_t Settings::*, 3> kWidths{
    &Settings::WidthDayCount, &Settings::WidthDate, &Settings::WidthMemo};
constexpr std::array<std::int32_t Settings::*, 3> kPositions{
    &Settings::PosDayCount, &Settings::PosDate, &Settings::PosMemo};

// 表示3
constexpr NumberBinding kDisplay3Numbers[] = {
    {IDC_DISPLAY3_EX_FONT_SIZE, &Settings::ExFontSize, 0, 99},
    {IDC_DISPLAY3_EX_FOCUS_TIME, &Settings::ExFocusTime, 0, 9999},
};

HWND TodayDesktop() {
    return FindWindowW(L"DesktopExplorerWindow", nullptr);
}

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
    auto& names = *reinterpret_cast<std::vector<std::wstring>*>(list);
    const std::wstring name = font->lfFaceName;
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
    }
    return 1;
}

// The font families of the Today screen's desktop, with `faceName`
// selected, else the face the desktop's device context uses.
void FillFonts(HWND page, int id, std::u16string_view faceName) {
    std::vector<std::wstring> names;
    wchar_t current[LF_FACESIZE] = {};
    {
        const WindowDc dc(TodayDesktop());
        EnumFontFamiliesW(dc.get(), nullptr, AddFamily, reinterpret_cast<LPARAM>(&names));
        GetTextFaceW(dc.get(), LF_FACESIZE, current);
    }
    for (const std::wstring& name : names) {
        SendDlgItemMessageW(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const std::wstring wanted = ToWide(faceName);
    LRESULT index = SendDlgItemMessageW(page, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(wanted.c_str()));
    // CB_FINDSTRINGEXACT ignores case; the face name must match exactly.
    if (index != CB_ERR && std::wstring(names[static_cast<std::size_t>(index)]) != wanted) {
        index = CB_ERR;
    }
    if (index == CB_ERR) {
        index = SendDlgItemMessageW(page, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(current));
    }
    SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The chosen family's name, and its item data (none: 0) as the char set.
void StoreFont(HWND page, int id, FaceNameText& faceName, std::int32_t& charSet) {
    const LRESULT index = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return;
    }
    wchar_t name[LF_FACESIZE + 1] = {};
    if (SendDlgItemMessageW(page, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) <=
        LF_FACESIZE) {
        SendDlgItemMessageW(page, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(name));
    }
    faceName = FromWide(name);
    charSet = static_cast<std::int32_t>(
        SendDlgItemMessageW(page, id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

std::array<int, 3> ShownPositions(HWND page) {
    return {ListIndex(page, IDC_DISPLAY2_POS_DAY_COUNT) + 1,
            ListIndex(page, IDC_DISPLAY2_POS_DATE) + 1, ListIndex(page, IDC_DISPLAY2_POS_MEMO) + 1};
}

void ShowPositions(HWND page, const std::array<int, 3>& positions) {
    for (int i = 0; i < 3; ++i) {
        SendDlgItemMessageW(page, IDC_DISPLAY2_POS_DAY_COUNT + i, CB_SETCURSEL,
                            static_cast<WPARAM>(positions[static_cast<std::size_t>(i)] - 1), 0);
    }
}

void ShowDisplay2(HWND page, Settings& s) {
    FillFonts(page, IDC_DISPLAY2_FONT, s.FontName.view());
    ShowNumbers(page, s, kDisplay2Numbers);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    for (std::size_t i = 0; i < 3; ++i) {
        SetNumber(page, kWidthBoxes[i], 0, screen, s.*kWidths[i]);
    }
    SetChecked(page, IDC_DISPLAY2_SHORT_VIEW, s.ShortView != 0);
    std::array<int, 3> positions{s.PosDayCount, s.PosDate, s.PosMemo};
    RepairPositions(positions);
    for (std::size_t i = 0; i < 3; ++i) {
        s.*kPositions[i] = positions[i];
        for (const wchar_t* n : {L"1", L"2", L"3"}) {
            SendDlgItemMessageW(page, IDC_DISPLAY2_POS_DAY_COUNT + static_cast<int>(i),
                                CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n));
        }
    }
    ShowPositions(page, positions);
}

void ApplyDisplay2(HWND page, Settings& s) {
    StoreFont(page, IDC_DISPLAY2_FONT, s.FontName, s.CharSet);
    StoreNumbers(page, s, kDisplay2Numbers);
    for (std::size_t i = 0; i < 3; ++i) {
        s.*kWidths[i] = NumberOf(page, kWidthBoxes[i]);
    }
    s.ShortView = Checked(page, IDC_DISPLAY2_SHORT_VIEW) ? 1 : 0;
    const std::array<int, 3> positions = ShownPositions(page);
    for (std::size_t i = 0; i < 3; ++i) {
        s.*kPositions[i] = positions[i];
    }
}

// The list that held the picked position takes the changed one's old one.
std::array<int, 3> positionsShown{1, 2, 3};

void ShowDisplay1(HWND page, const Settings& s, const TextTable& texts) {
    ShowChecks(page, s, kDisplay1Checks);
    FillList(page, IDC_DISPLAY1_AUTO_UPDATE, texts, kAutoUpdateNames, s.AutoUpdate);
    ShowNumbers(page, s, kDisplay1Numbers);
}

void ApplyDisplay1(HWND page, Settings& s) {
    StoreChecks(page, s, kDisplay1Checks);
    s.AutoUpdate = ListIndex(page, IDC_DISPLAY1_AUTO_UPDATE);
    StoreNumbers(page, s, kDisplay1Numbers);
}

void ShowDisplay2AndPositions(HWND page, Settings& s) {
    ShowDisplay2(page, s);
    positionsShown = ShownPositions(page);
}

void ShowDisplay3(HWND page, const Settings& s) {
    SetChecked(page, IDC_DISPLAY3_EX_FOCUS, s.ExFocus != 0);
    FillFonts(page, IDC_DISPLAY3_EX_FONT, s.ExFontName.view());
    ShowNumbers(page, s, kDisplay3Numbers);
}

void ApplyDisplay3(HWND page, Settings& s) {
    s.ExFocus = Checked(page, IDC_DISPLAY3_EX_FOCUS) ? 1 : 0;
    StoreFont(page, IDC_DISPLAY3_EX_FONT, s.ExFontName, s.ExCharSet);
    StoreNumbers(page, s, kDisplay3Numbers);
}

} // namespace

INT_PTR CALLBACK DisplayPage1Proc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    TodayItem& item = TheItem();
    return PageMessage(
               page, message, lParam, [&] { ShowDisplay1(page, item.settings, *item.texts); },
               [&] { ApplyDisplay1(page, item.settings); })
        .value_or(FALSE);
}

INT_PTR CALLBACK DisplayPage2Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    Settings& s = TheItem().settings;
    if (const auto handled = PageMessage(
            page, message, lParam, [&] { ShowDisplay2AndPositions(page, s); },
            [&] { ApplyDisplay2(page, s); })) {
        return *handled;
    }
    const int id = LOWORD(wParam);
    if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE ||
        id < IDC_DISPLAY2_POS_DAY_COUNT || id > IDC_DISPLAY2_POS_MEMO) {
        return FALSE;
    }
    std::array<int, 3> positions = positionsShown;
    PickPosition(positions, id - IDC_DISPLAY2_POS_DAY_COUNT, ListIndex(page, id) + 1);
    ShowPositions(page, positions);
    positionsShown = positions;
    return TRUE;
}

INT_PTR CALLBACK DisplayPage3Proc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    Settings& s = TheItem().settings;
    return PageMessage(
               page, message, lParam, [&] { ShowDisplay3(page, s); },
               [&] { ApplyDisplay3(page, s); })
        .value_or(FALSE);
}

} // namespace vantrel
