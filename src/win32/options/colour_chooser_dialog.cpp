// 色選択: the palette, the hue variants, the number boxes kept in step,
// the opening / current / kept swatches and the preview.

#include "options/colour_chooser.h"
#include "platform/shell.h"
#include "resource_ids.h"
#include "win32/options/option_pages.h"
#include "win32/scoped.h"

#include <commctrl.h>

namespace vantrel {
namespace {

// The code steps through the six number boxes two at a time.
static_assert(IDC_CHOOSER_GREEN == IDC_CHOOSER_RED + 2 && IDC_CHOOSER_BLUE == IDC_CHOOSER_RED + 4 &&
              IDC_CHOOSER_HUE == IDC_CHOOSER_RED + 6 &&
              IDC_CHOOSER_SATURATION == IDC_CHOOSER_RED + 8 &&
              IDC_CHOOSER_LIGHTNESS == IDC_CHOOSER_RED + 10);
// The R, G and B captions are painted as one range.
static_assert(IDC_CHOOSER_GREEN_CAPTION == IDC_CHOOSER_RED_CAPTION + 1 &&
              IDC_CHOOSER_BLUE_CAPTION == IDC_CHOOSER_RED_CAPTION + 2);

struct ChooserRun {
    Colour* handOver = nullptr;
    HINSTANCE module = nullptr; // holds the menu bar resource
    HWND menuBar = nullptr;
};

ColourChooserState chooser;
Brush swatchBrush;

// The colour a swatch stands for, or nothing for other controls.
std::optional<Colour> SwatchColour(int id) {
    if (id >= IDC_CHOOSER_PALETTE && id < IDC_CHOOSER_PALETTE + 48) {
        return kPalette[static_cast<std::size_t>(id - IDC_CHOOSER_PALETTE)];
    }
    if (id >= IDC_CHOOSER_VARIANT && id < IDC_CHOOSER_VARIANT + 5) {
        return HueVariant(chooser.current, 60 * (id - IDC_CHOOSER_VARIANT + 1));
    }
    if (id >= IDC_CHOOSER_KEPT && id < IDC_CHOOSER_KEPT + 4) {
        return chooser.kept[static_cast<std::size_t>(id - IDC_CHOOSER_KEPT)];
    }
    switch (id) {
    case IDC_CHOOSER_OPENING:
        return chooser.opening;
    case IDC_CHOOSER_CURRENT:
    case IDC_CHOOSER_PREVIEW:
        return chooser.current;
    default:
        return std::nullopt;
    }
}

void Repaint(HWND dialog, int id) {
    InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
}

void CurrentChanged(HWND dialog) {
    for (int id :
         {IDC_CHOOSER_CURRENT, IDC_CHOOSER_PREVIEW, IDC_CHOOSER_VARIANT, IDC_CHOOSER_VARIANT + 1,
          IDC_CHOOSER_VARIANT + 2, IDC_CHOOSER_VARIANT + 3, IDC_CHOOSER_VARIANT + 4}) {
        Repaint(dialog, id);
    }
}

// Writes all six boxes from R, G, B or from H, S, L.
void FillBoxes(HWND dialog, bool fromHsl, int a, int b, int c) {
    Colour colour = fromHsl ? HslToRgb(a, b, c) : Rgb(a, b, c);
    int hue = fromHsl ? a : RgbToHslComponent(colour, kHue);
    const int saturation = fromHsl ? b : RgbToHslComponent(colour, kSaturation);
    const int lightness = fromHsl ? c : RgbToHslComponent(colour, kLightness);
    if (hue > 359) {
        hue -= 360;
    }
    const int values[6] = {RedOf(colour), GreenOf(colour), BlueOf(colour),
                           hue,           saturation,      lightness};
    for (int i = 0; i < 6; ++i) {
        SetDlgItemInt(dialog, IDC_CHOOSER_RED + 2 * i, static_cast<UINT>(values[i]), FALSE);
    }
}

void FillFromColour(HWND dialog, Colour colour) {
    FillBoxes(dialog, false, RedOf(colour), GreenOf(colour), BlueOf(colour));
}

void BoxChanged(HWND dialog, int id) {
    if (!BoxEdited(chooser)) {
        return;
    }
    if (id <= IDC_CHOOSER_BLUE) {
        const int r = NumberOf(dialog, IDC_CHOOSER_RED), g = NumberOf(dialog, IDC_CHOOSER_GREEN),
                  b = NumberOf(dialog, IDC_CHOOSER_BLUE);
        FillBoxes(dialog, false, r, g, b);
        chooser.current = Rgb(r, g, b);
    } else {
        const int h = NumberOf(dialog, IDC_CHOOSER_HUE),
                  s = NumberOf(dialog, IDC_CHOOSER_SATURATION),
                  l = NumberOf(dialog, IDC_CHOOSER_LIGHTNESS);
        FillBoxes(dialog, true, h, s, l);
        chooser.current = HslToRgb(h, s, l);
    }
    CurrentChanged(dialog);
}

void SwatchTapped(HWND dialog, int id) {
    if (id == IDC_CHOOSER_PREVIEW) {
        KeepCurrent(chooser);
        for (int i = 0; i < 4; ++i) {
            Repaint(dialog, IDC_CHOOSER_KEPT + i);
        }
        return;
    }
    const std::optional<Colour> colour = SwatchColour(id);
    if (!colour) {
        return;
    }
    const bool variant = id >= IDC_CHOOSER_VARIANT && id < IDC_CHOOSER_VARIANT + 5;
    // The variant's own H, S, L, taken before the tap changes the current
    // colour: read back from its RGB they may be one off.
    const Hsl hsl = HueVariantHsl(chooser.current, 60 * (id - IDC_CHOOSER_VARIANT + 1));
    TapSwatch(chooser, *colour);
    if (variant) {
        FillBoxes(dialog, true, hsl.hue, hsl.saturation, hsl.lightness);
    } else {
        FillFromColour(dialog, *colour);
    }
    CurrentChanged(dialog);
}

void Initialise(ChooserRun& run, HWND dialog) {
    run.menuBar = OpenFullScreenDialog(dialog, run.module, IDR_DIALOG_MENU_BAR);
    const int ranges[6] = {255, 255, 255, 359, 255, 511};
    for (int i = 0; i < 6; ++i) {
        SendDlgItemMessageW(dialog, IDC_CHOOSER_RED + 2 * i + 1, UDM_SETRANGE32, 0, ranges[i]);
    }
    OpenChooser(chooser, *run.handOver);
    FillFromColour(dialog, chooser.current);
}

void Close(ChooserRun& run, HWND dialog, int result, bool keep) {
    if (keep) {
        *run.handOver = chooser.current;
    }
    swatchBrush.reset();
    CloseFullScreenDialog(dialog, run.menuBar, result);
}

INT_PTR PaintSwatch(HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id >= IDC_CHOOSER_RED_CAPTION && id <= IDC_CHOOSER_BLUE_CAPTION) {
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    const std::optional<Colour> colour = SwatchColour(id);
    if (!colour) {
        return FALSE;
    }
    swatchBrush.reset(CreateSolidBrush(*colour));
    return reinterpret_cast<INT_PTR>(swatchBrush.get());
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<ChooserRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Initialise(*reinterpret_cast<ChooserRun*>(lParam), dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return PaintSwatch(reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: {
        if (run == nullptr) {
            return FALSE;
        }
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDM_BAR_OK) {
            Close(*run, dialog, id, true);
        } else if (id == IDM_BAR_CANCEL || id == IDCANCEL) {
            Close(*run, dialog, id, false);
        } else if (HIWORD(wParam) == EN_CHANGE && id >= IDC_CHOOSER_RED &&
                   id <= IDC_CHOOSER_LIGHTNESS) {
            BoxChanged(dialog, id);
        } else if (HIWORD(wParam) == STN_CLICKED) {
            SwatchTapped(dialog, id);
        } else {
            return FALSE;
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

void RunColourChooser(HINSTANCE module, HWND owner, Colour& colour, int& modalDepth) {
    ModalScope open(&modalDepth);
    ChooserRun run{&colour, module};
    RunDialogResource(module, IDD_COLOUR_CHOOSER, owner, ChooserProc,
                      reinterpret_cast<LPARAM>(&run));
}

} // namespace vantrel
