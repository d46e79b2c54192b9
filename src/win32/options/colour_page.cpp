// 色: fifteen colours edited on a shadow copy, their labels painted in
// them, and the switches that go with some of them.

#include "resource_ids.h"
#include "win32/options/option_pages.h"
#include "win32/scoped.h"

#include <array>

namespace vantrel {
namespace {

constexpr int kColourCount = 15;
constexpr int kLabelCount = 13;
constexpr int kPosLabel = 11, kFocusLabel = 12;

// In button order; labels 0..10 edit the same colour, "■Pos" and "Focus"
// stand for their text colours (11, 13) painted on their backgrounds.
constexpr std::array<std::int32_t Settings::*, kColourCount> kColours{
    &Settings::CrDataTx5,    &Settings::CrDataTx4, &Settings::CrDataTx3, &Settings::CrDataTx2,
    &Settings::CrDataTx1,    &Settings::CrDataTx0, &Settings::CrTodayTx, &Settings::CrAnnivTx,
    &Settings::CrToDoOverTx, &Settings::CrToDoTx,  &Settings::CrPin,     &Settings::CrPosBarTx,
    &Settings::CrPosBarBk,   &Settings::CrFocusTx, &Settings::CrFocusBk,
};

constexpr CheckBinding kSwitches[] = {
    {IDC_COLOUR_DRAW_TODAY, &Settings::DrawToday},
    {IDC_COLOUR_DRAW_ANNIV, &Settings::DrawAnniv},
    {IDC_COLOUR_DRAW_TODO, &Settings::DrawToDo},
    {IDC_COLOUR_DRAW_POS_BAR, &Settings::DrawPosBar},
    {IDC_COLOUR_DRAW_POS_BAR_BK, &Settings::DrawPosBarBk},
    {IDC_COLOUR_FOCUS_TX, &Settings::FocusTx},
    {IDC_COLOUR_FOCUS_BK, &Settings::FocusBk},
};

// The shadow copy and the label brush live for the process.
std::array<Colour, kColourCount> shadow{};
Brush labelBrush;

void LoadShadow(const Settings& s) {
    for (std::size_t i = 0; i < shadow.size(); ++i) {
        shadow[i] = static_cast<Colour>(s.*kColours[i]);
    }
}

int ColourOfLabel(int label) {
    return label == kPosLabel ? 11 : label == kFocusLabel ? 13 : label;
}

void RepaintLabels(HWND page) {
    for (int i = 0; i < kLabelCount; ++i) {
        InvalidateRect(GetDlgItem(page, IDC_COLOUR_LABEL + i), nullptr, TRUE);
    }
}

void ChooseColour(HWND page, int index, HINSTANCE module, int& modalDepth) {
    Colour colour = shadow[static_cast<std::size_t>(index)];
    RunColourChooser(module, page, colour, modalDepth);
    shadow[static_cast<std::size_t>(index)] = colour;
    RepaintLabels(page);
}

// `todayColour`: the Today screen's last background answer.
INT_PTR PaintLabel(HWND label, HDC dc, Colour todayColour) {
    const int index = GetDlgCtrlID(label) - IDC_COLOUR_LABEL;
    if (index < 0 || index >= kLabelCount) {
        return FALSE;
    }
    const Colour background = index == kPosLabel     ? shadow[12]
                              : index == kFocusLabel ? shadow[14]
                                                     : todayColour;
    SetTextColor(dc, shadow[static_cast<std::size_t>(ColourOfLabel(index))]);
    SetBkMode(dc, TRANSPARENT);
    labelBrush.reset(CreateSolidBrush(background));
    return reinterpret_cast<INT_PTR>(labelBrush.get());
}

void Show(HWND page, const Settings& s) {
    LoadShadow(s);
    ShowChecks(page, s, kSwitches);
}

void Apply(HWND page, Settings& s) {
    for (std::size_t i = 0; i < shadow.size(); ++i) {
        s.*kColours[i] = static_cast<std::int32_t>(shadow[i]);
    }
    StoreChecks(page, s, kSwitches);
}

} // namespace

INT_PTR CALLBACK ColourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    TodayItem& item = TheItem();
    if (const auto handled = PageMessage(
            page, message, lParam, [&] { Show(page, item.settings); },
            [&] { Apply(page, item.settings); })) {
        return *handled;
    }
    if (message == WM_CTLCOLORSTATIC) {
        return PaintLabel(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                          static_cast<Colour>(item.state.lastTodayColour));
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    const int id = LOWORD(wParam);
    if (id == IDC_COLOUR_REVERT) {
        LoadShadow(item.settings);
        RepaintLabels(page);
        return TRUE;
    }
    if (id >= IDC_COLOUR_BUTTON && id < IDC_COLOUR_BUTTON + kColourCount) {
        ChooseColour(page, id - IDC_COLOUR_BUTTON, item.instance, item.state.modalDepth);
        return TRUE;
    }
    if (id >= IDC_COLOUR_LABEL && id < IDC_COLOUR_LABEL + kLabelCount &&
        HIWORD(wParam) == STN_CLICKED) {
        ChooseColour(page, ColourOfLabel(id - IDC_COLOUR_LABEL), item.instance,
                     item.state.modalDepth);
        return TRUE;
    }
    return FALSE;
}

} // namespace vantrel
