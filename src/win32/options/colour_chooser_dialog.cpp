// 色選択: the palette, the hue variants, the number boxes kept in step,
// the opening / current / kept swatches and the preview.

#include "options/colour_chooser.h"
#include "platform/shell.h"
#include "win32/options/option_pages.h"
#include "win32/scoped.h"

#include <commctrl.h>

namespace vantrel {
namespace {

enum : int {
    kFirstPalette = 2001, // 48 swatches
    kOpening = 2050,
    kCurrent = 2051,
    kFirstVariant = 2052, // hue + 60 .. + 300
    kFirstKept = 2057,    // 4 swatches
    kPreview = 2061,
    kRed = 2070, // edit boxes two apart, each with its up-down one above
    kGreen = 2072,
    kBlue = 2074,
    kHueBox = 2076,
    kSaturationBox = 2078,
    kLightnessBox = 2080,
    kRedCaption = 2082,
    kBlueCaption = 2084,
    kMenuBarResource = 109,
};

struct ChooserRun {
    Colour* handOver = nullptr;
    HINSTANCE module = nullptr; // holds the menu bar resource
    HWND menuBar = nullptr;
};

ColourChooserState chooser;
Brush swatchBrush;

// The colour a swatch stands for, or nothing for other controls.
std::optional<Colour> SwatchColour(int id) {
    if (id >= kFirstPalette && id < kFirstPalette + 48) {
        return kPalette[static_cast<std::size_t>(id - kFirstPalette)];
    }
    if (id >= kFirstVariant && id < kFirstVariant + 5) {
        return HueVariant(chooser.current, 60 * (id - kFirstVariant + 1));
    }
    if (id >= kFirstKept && id < kFirstKept + 4) {
        return chooser.kept[static_cast<std::size_t>(id - kFirstKept)];
    }
    switch (id) {
    case kOpening:
        return chooser.opening;
    case kCurrent:
    case kPreview:
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
         {static_cast<int>(kCurrent), static_cast<int>(kPreview), static_cast<int>(kFirstVariant),
          kFirstVariant + 1, kFirstVariant + 2, kFirstVariant + 3, kFirstVariant + 4}) {
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
        SetDlgItemInt(dialog, kRed + 2 * i, static_cast<UINT>(values[i]), FALSE);
    }
}

void FillFromColour(HWND dialog, Colour colour) {
    FillBoxes(dialog, false, RedOf(colour), GreenOf(colour), BlueOf(colour));
}

void BoxChanged(HWND dialog, int id) {
    if (!BoxEdited(chooser)) {
        return;
    }
    if (id <= kBlue) {
        const int r = NumberOf(dialog, kRed), g = NumberOf(dialog, kGreen),
                  b = NumberOf(dialog, kBlue);
        FillBoxes(dialog, false, r, g, b);
        chooser.current = Rgb(r, g, b);
    } else {
        const int h = NumberOf(dialog, kHueBox), s = NumberOf(dialog, kSaturationBox),
                  l = NumberOf(dialog, kLightnessBox);
        FillBoxes(dialog, true, h, s, l);
        chooser.current = HslToRgb(h, s, l);
    }
    CurrentChanged(dialog);
}

void SwatchTapped(HWND dialog, int id) {
    if (id == kPreview) {
        KeepCurrent(chooser);
        for (int i = 0; i < 4; ++i) {
            Repaint(dialog, kFirstKept + i);
        }
        return;
    }
    const std::optional<Colour> colour = SwatchColour(id);
    if (!colour) {
        return;
    }
    const bool variant = id >= kFirstVariant && id < kFirstVariant + 5;
    TapSwatch(chooser, *colour);
    if (variant) {
        FillBoxes(dialog, true, RgbToHslComponent(*colour, kHue),
                  RgbToHslComponent(*colour, kSaturation), RgbToHslComponent(*colour, kLightness));
    } else {
        FillFromColour(dialog, *colour);
    }
    CurrentChanged(dialog);
}

void Initialise(ChooserRun& run, HWND dialog) {
    run.menuBar = OpenFullScreenDialog(dialog, run.module, kMenuBarResource);
    const int ranges[6] = {255, 255, 255, 359, 255, 511};
    for (int i = 0; i < 6; ++i) {
        SendDlgItemMessageW(dialog, kRed + 2 * i + 1, UDM_SETRANGE32, 0, ranges[i]);
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
    if (id >= kRedCaption && id <= kBlueCaption) {
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
        if (id == IDOK || id == kMenuOk) {
            Close(*run, dialog, id, true);
        } else if (id == kMenuCancel || id == IDCANCEL) {
            Close(*run, dialog, id, false);
        } else if (HIWORD(wParam) == EN_CHANGE && id >= kRed && id <= kLightnessBox) {
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
    RunDialogResource(module, 132, owner, ChooserProc, reinterpret_cast<LPARAM>(&run));
}

} // namespace vantrel
