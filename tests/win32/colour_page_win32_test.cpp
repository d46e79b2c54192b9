// The 色 page and its colour chooser through their dialog procedures: the
// colours are edited on a copy that reaches the settings only when the
// sheet applies, 戻す takes the stored ones back, every label and button
// opens the chooser on its own colour, and the chooser's OK, cancel and
// hue variants hand back what they show.

#include "resource_ids.h"
#include "win32/item_fixture.h"
#include "win32/options_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace vantrel::testing;

class ColourPageTest : public ItemCommandTest {
  protected:
    // Every colour setting starts with a colour of its own.
    void StartWithColours() {
        std::vector<std::pair<const wchar_t*, DWORD>> colours;
        for (std::size_t i = 0; i < kSlots.size(); ++i) {
            colours.emplace_back(kSlots[i], Before(i));
        }
        Start("", "", colours);
    }
    static DWORD Before(std::size_t slot) { return RGB(10 + slot, 100 + slot, 200 - slot); }

    // The colour settings in the order of the page's buttons.
    static constexpr std::array<const wchar_t*, 15> kSlots{
        L"CrDataTx5", L"CrDataTx4",  L"CrDataTx3",  L"CrDataTx2",    L"CrDataTx1",
        L"CrDataTx0", L"CrTodayTx",  L"CrAnnivTx",  L"CrToDoOverTx", L"CrToDoTx",
        L"CrPin",     L"CrPosBarTx", L"CrPosBarBk", L"CrFocusTx",    L"CrFocusBk",
    };
};

constexpr int kColourPage = 5;

// The colour slot each of the thirteen labels edits: the first eleven their
// own, "■Pos" and "Focus" their text colours.
constexpr std::array<std::size_t, 13> kLabelSlots{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13};

struct Paint {
    COLORREF text, background;
};

// What a static control is painted with: the text colour the procedure
// sets and the colour of the brush it returns.
Paint PaintOf(HWND dialog, int id) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))));
    LOGBRUSH logBrush{};
    if (brush == nullptr || GetObjectW(brush, sizeof logBrush, &logBrush) == 0) {
        logBrush.lbColor = CLR_INVALID;
    }
    const Paint paint{GetTextColor(dc), logBrush.lbColor};
    DeleteDC(dc);
    return paint;
}

COLORREF SwatchOf(HWND chooser, int id) {
    return PaintOf(chooser, id).background;
}

int Box(HWND chooser, int id) {
    return static_cast<int>(GetDlgItemInt(chooser, id, nullptr, FALSE));
}

COLORREF BoxesRgb(HWND chooser) {
    return RGB(Box(chooser, IDC_CHOOSER_RED), Box(chooser, IDC_CHOOSER_GREEN),
               Box(chooser, IDC_CHOOSER_BLUE));
}

// Clicks control `id` of the page and gives the chooser it opens to
// `action`; true when the chooser opened.
bool InChooser(HWND page, int id, const std::function<void(HWND)>& action) {
    return WhileModal(action, [&] { Notify(page, id); });
}

void Tap(HWND chooser, int id) {
    Notify(chooser, id, STN_CLICKED);
}

TEST_F(ColourPageTest, ColoursReachTheSettingsOnlyWhenTheSheetApplies) {
    StartWithColours();
    COLORREF chosen = CLR_INVALID;
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, kColourPage);
        EXPECT_TRUE(InChooser(page, IDC_COLOUR_BUTTON, [&](HWND chooser) {
            Tap(chooser, IDC_CHOOSER_PALETTE + 8);
            chosen = BoxesRgb(chooser);
            Notify(chooser, IDM_BAR_OK);
        }));
        EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL).text, chosen); // the copy has it
        Press(sheet, PSBTN_CANCEL);
    }));
    EXPECT_NE(chosen, Before(0));
    // Cancel stores the settings, which never saw the copy.
    EXPECT_EQ(GetDword(L"CrDataTx5"), Before(0));

    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, kColourPage);
        EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL).text, Before(0)); // the copy taken again
        EXPECT_TRUE(InChooser(page, IDC_COLOUR_BUTTON, [&](HWND chooser) {
            Tap(chooser, IDC_CHOOSER_PALETTE + 8);
            Notify(chooser, IDM_BAR_OK);
        }));
        Press(sheet, PSBTN_OK);
    }));
    EXPECT_EQ(GetDword(L"CrDataTx5"), chosen);
}

TEST_F(ColourPageTest, RevertTakesTheStoredColoursBack) {
    StartWithColours();
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, kColourPage);
        for (int button : {0, 11, 12, 14}) {
            EXPECT_TRUE(InChooser(page, IDC_COLOUR_BUTTON + button, [](HWND chooser) {
                Tap(chooser, IDC_CHOOSER_PALETTE + 40); // black
                Notify(chooser, IDM_BAR_OK);
            }));
        }
        EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL + 11).background, RGB(0, 0, 0));
        Notify(page, IDC_COLOUR_REVERT);
        for (std::size_t label = 0; label < kLabelSlots.size(); ++label) {
            EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL + static_cast<int>(label)).text,
                      Before(kLabelSlots[label]))
                << label;
        }
        EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL + 11).background, Before(12));
        EXPECT_EQ(PaintOf(page, IDC_COLOUR_LABEL + 12).background, Before(14));
        Press(sheet, PSBTN_OK);
    }));
    for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
        EXPECT_EQ(GetDword(kSlots[slot]), Before(slot)) << slot;
    }
}

// "■Pos" and "Focus" are painted on their own background colours, the
// other labels on the Today screen's (white here).
TEST_F(ColourPageTest, LabelsArePaintedInTheirColours) {
    StartWithColours();
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, kColourPage);
        for (std::size_t label = 0; label < kLabelSlots.size(); ++label) {
            const Paint paint = PaintOf(page, IDC_COLOUR_LABEL + static_cast<int>(label));
            const COLORREF background = label == 11   ? Before(12)
                                        : label == 12 ? Before(14)
                                                      : RGB(255, 255, 255);
            EXPECT_EQ(paint.text, Before(kLabelSlots[label])) << label;
            EXPECT_EQ(paint.background, background) << label;
        }
        Press(sheet, PSBTN_CANCEL);
    }));
}

// A click on a label opens the chooser on that label's colour, and what
// the chooser returns goes to that colour only. Label n gets palette
// swatch n, button n swatch 20 + n.
TEST_F(ColourPageTest, EveryLabelAndButtonChoosesItsOwnColour) {
    struct Control {
        int firstId;
        std::vector<std::size_t> slots; // by control
        int firstSwatch;
    };
    std::vector<std::size_t> buttonSlots;
    for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
        buttonSlots.push_back(slot);
    }
    const Control controls[] = {
        {IDC_COLOUR_LABEL, {kLabelSlots.begin(), kLabelSlots.end()}, 0},
        {IDC_COLOUR_BUTTON, buttonSlots, 20},
    };
    for (const Control& c : controls) {
        StartWithColours();
        std::vector<DWORD> expected;
        for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
            expected.push_back(Before(slot));
        }
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, kColourPage);
            for (std::size_t n = 0; n < c.slots.size(); ++n) {
                const int swatch = IDC_CHOOSER_PALETTE + c.firstSwatch + static_cast<int>(n);
                EXPECT_TRUE(InChooser(page, c.firstId + static_cast<int>(n), [&](HWND chooser) {
                    EXPECT_EQ(BoxesRgb(chooser), Before(c.slots[n])) << n;
                    EXPECT_EQ(SwatchOf(chooser, IDC_CHOOSER_OPENING), Before(c.slots[n])) << n;
                    Tap(chooser, swatch);
                    expected[c.slots[n]] = BoxesRgb(chooser);
                    EXPECT_EQ(SwatchOf(chooser, IDC_CHOOSER_PREVIEW), expected[c.slots[n]]);
                    Notify(chooser, IDM_BAR_OK);
                }));
            }
            Press(sheet, PSBTN_OK);
        }));
        for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
            EXPECT_EQ(GetDword(kSlots[slot]), expected[slot]) << c.firstId << " slot " << slot;
        }
    }
}

// The chooser's Done button and its menu bar's OK hand the colour back;
// its cancel commands leave the caller's colour as it was.
TEST_F(ColourPageTest, ChooserOkReturnsTheColourAndCancelNone) {
    struct Case {
        int command;
        bool returns;
    };
    for (const Case c : {Case{IDOK, true}, Case{IDM_BAR_OK, true}, Case{IDM_BAR_CANCEL, false},
                         Case{IDCANCEL, false}}) {
        StartWithColours();
        COLORREF tapped = CLR_INVALID;
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, kColourPage);
            EXPECT_TRUE(InChooser(page, IDC_COLOUR_BUTTON + 6, [&](HWND chooser) {
                Tap(chooser, IDC_CHOOSER_PALETTE + 3);
                Tap(chooser, IDC_CHOOSER_PALETTE + 17);
                tapped = BoxesRgb(chooser);
                SendMessageW(chooser, WM_COMMAND, static_cast<WPARAM>(c.command), 0);
                EXPECT_FALSE(IsWindowVisible(chooser)) << c.command;
            }));
            Press(sheet, PSBTN_OK);
        }));
        EXPECT_EQ(tapped, RGB(255, 128, 64));
        EXPECT_EQ(GetDword(L"CrTodayTx"), c.returns ? tapped : Before(6)) << c.command;
    }
}

// A hue variant shows the current colour with its hue turned by 60, 120 …
// 300 degrees; a tap fills H, S and L with exactly that hue and the same
// saturation and lightness (not as read back from the variant's rounded
// RGB), R, G and B with the swatch's colour, and OK hands that colour back.
TEST_F(ColourPageTest, HueVariantTapsFillTheBoxesFromTheVariant) {
    struct Case {
        COLORREF colour;
        std::array<COLORREF, 5> variants; // known ones, else none
    };
    const std::array<COLORREF, 5> unknown{CLR_INVALID, CLR_INVALID, CLR_INVALID, CLR_INVALID,
                                          CLR_INVALID};
    const Case cases[] = {
        {RGB(255, 0, 0),
         {RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255), RGB(0, 0, 255), RGB(255, 0, 255)}},
        // Their variants' rounded RGB reads back one off in H, S or L.
        {RGB(74, 82, 129), unknown},
        {RGB(74, 164, 86), unknown},
        // A grey turns its hue and stays grey.
        {RGB(128, 128, 128),
         {RGB(128, 128, 128), RGB(128, 128, 128), RGB(128, 128, 128), RGB(128, 128, 128),
          RGB(128, 128, 128)}},
    };
    for (const Case& c : cases) {
        StartWithColours();
        SetDword(L"CrAnnivTx", c.colour);
        COLORREF last = CLR_INVALID;
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, kColourPage);
            EXPECT_TRUE(InChooser(page, IDC_COLOUR_BUTTON + 7, [&](HWND chooser) {
                const int hue = Box(chooser, IDC_CHOOSER_HUE);
                const int saturation = Box(chooser, IDC_CHOOSER_SATURATION);
                const int lightness = Box(chooser, IDC_CHOOSER_LIGHTNESS);
                for (int n = 0; n < 5; ++n) {
                    SCOPED_TRACE(std::to_string(c.colour) + " variant " + std::to_string(n));
                    Tap(chooser, IDC_CHOOSER_OPENING); // back to the colour opened with
                    ASSERT_EQ(BoxesRgb(chooser), c.colour);
                    const COLORREF variant = SwatchOf(chooser, IDC_CHOOSER_VARIANT + n);
                    if (c.variants[static_cast<std::size_t>(n)] != CLR_INVALID) {
                        EXPECT_EQ(variant, c.variants[static_cast<std::size_t>(n)]);
                    }
                    Tap(chooser, IDC_CHOOSER_VARIANT + n);
                    EXPECT_EQ(Box(chooser, IDC_CHOOSER_HUE), (hue + 60 * (n + 1)) % 360);
                    EXPECT_EQ(Box(chooser, IDC_CHOOSER_SATURATION), saturation);
                    EXPECT_EQ(Box(chooser, IDC_CHOOSER_LIGHTNESS), lightness);
                    EXPECT_EQ(BoxesRgb(chooser), variant);
                    EXPECT_EQ(SwatchOf(chooser, IDC_CHOOSER_CURRENT), variant);
                    last = variant;
                }
                Notify(chooser, IDM_BAR_OK);
            }));
            Press(sheet, PSBTN_OK);
        }));
        EXPECT_EQ(GetDword(L"CrAnnivTx"), last);
    }
}

} // namespace
