#include "platform/shell.h"

#include "win32/scoped.h"

#include <commctrl.h>
#include <prsht.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vantrel {

HBITMAP SHLoadImageFile(const wchar_t* path) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Bitmap bitmap;
    {
        Held<IWICImagingFactory> factory;
        Held<IWICBitmapDecoder> decoder;
        Held<IWICBitmapFrameDecode> frame;
        Held<IWICFormatConverter> converter;
        UINT width = 0, height = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.out()))) &&
            SUCCEEDED(factory->CreateDecoderFromFilename(
                path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.out())) &&
            SUCCEEDED(decoder->GetFrame(0, frame.out())) &&
            SUCCEEDED(factory->CreateFormatConverter(converter.out())) &&
            SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR,
                                            WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = static_cast<LONG>(width);
            info.bmiHeader.biHeight = -static_cast<LONG>(height);
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 24;
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
            const UINT stride = (width * 3 + 3) & ~3u;
            if (bitmap && FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                                       static_cast<BYTE*>(bits)))) {
                bitmap.reset();
            }
        }
    } // the codec objects are released before COM is left
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return bitmap.release();
}

BOOL TransparentImage(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                      int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent) {
    return TransparentBlt(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                          sourceHeight, transparent);
}

DWORD SHRecognizeGesture(SHRGINFO*) {
    return 0;
}

namespace {

// The host's screen dpi, or 0 outside the substitute host.
int HostDpi() {
    wchar_t text[16] = {};
    const DWORD n = GetEnvironmentVariableW(L"VANTREL_DPI", text, 16);
    const int dpi = n > 0 && n < 16 ? _wtoi(text) : 0;
    return dpi >= 48 && dpi <= 480 ? dpi : 0;
}

int DesktopDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace

LOGFONTW TodayFont(HDC dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    if (const int dpi = HostDpi()) {
        font.lfHeight = -MulDiv(12, dpi, 96);
        font.lfWidth = 0;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = SHIFTJIS_CHARSET;
    }
    return font;
}

int SmallIconSize() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    const int dpi = HostDpi();
    return dpi != 0 ? MulDiv(size, dpi, DesktopDpi()) : size;
}

int DeviceCaps(HDC dc, int index) {
    const int dpi = HostDpi();
    const bool screen = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY;
    if (dpi != 0 && screen && (index == LOGPIXELSX || index == LOGPIXELSY)) {
        return dpi;
    }
    return GetDeviceCaps(dc, index);
}

int MenuBarHeight(HWND) {
    return 0;
}

namespace {

constexpr int kApplyButton = 0x3021; // the desktop property sheet's Apply

// The tab control of a property sheet, or nullptr for any other dialog.
HWND SheetTabControl(HWND dialog) {
    HWND tab = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
    if (tab == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(SendMessageW(dialog, PSM_GETTABCONTROL, 0, 0)) == tab ? tab
                                                                                        : nullptr;
}

// Every page the sheet has created, in the tab control's display area.
void PlaceSheetPages(HWND sheet, HWND tab) {
    RECT area{};
    GetClientRect(tab, &area);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(tab, sheet, reinterpret_cast<POINT*>(&area), 2);
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        auto* page =
            reinterpret_cast<HWND>(SendMessageW(sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(i), 0));
        if (page != nullptr) {
            SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// The desktop sheet lays out its tab control and buttons once, for the size
// its pages ask; the device's fills the screen. Laid out again for the size
// it has now: the buttons in a row at the bottom right (narrowed to fit),
// the tab control in rows above them, the pages in its display area.
void LayOutSheet(HWND sheet, HWND tab) {
    RECT client{};
    GetClientRect(sheet, &client);
    RECT unit{0, 0, 4, 4}; // the desktop sheet's margins, in dialog units
    MapDialogRect(sheet, &unit);
    const int marginX = unit.right, marginY = unit.bottom;

    std::array<HWND, 4> buttons{};
    int count = 0;
    for (const int id : {IDOK, IDCANCEL, kApplyButton, IDHELP}) {
        HWND button = GetDlgItem(sheet, id);
        // The style, not IsWindowVisible: the sheet itself is not shown yet.
        if (button != nullptr && (GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0) {
            buttons[static_cast<std::size_t>(count++)] = button;
        }
    }
    int tabBottom = client.bottom - marginY;
    if (count > 0) {
        RECT r{};
        GetWindowRect(buttons[0], &r);
        const int height = r.bottom - r.top;
        const int room = client.right - 2 * marginX;
        int width = r.right - r.left;
        if (count * width + (count - 1) * marginX > room) {
            width = std::max(1, (room - (count - 1) * marginX) / count);
        }
        int x = client.right - marginX - (count * width + (count - 1) * marginX);
        const int y = client.bottom - marginY - height;
        for (int i = 0; i < count; ++i) {
            SetWindowPos(buttons[static_cast<std::size_t>(i)], nullptr, x, y, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            x += width + marginX;
        }
        tabBottom = y - marginY;
    }
    const LONG_PTR style = GetWindowLongPtrW(tab, GWL_STYLE);
    if ((style & TCS_MULTILINE) == 0) {
        SetWindowLongPtrW(tab, GWL_STYLE, style | TCS_MULTILINE);
    }
    // Tabs as wide as their captions: the desktop's minimum tab width puts
    // a row more on a narrow screen, which the pages then lack.
    SendMessageW(tab, TCM_SETMINTABWIDTH, 0, 0);
    SetWindowPos(tab, nullptr, marginX, marginY, client.right - 2 * marginX,
                 std::max(1, tabBottom - marginY), SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceSheetPages(sheet, tab);
}

} // namespace

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (info == nullptr || info->hDlg == nullptr) {
        return FALSE;
    }
    if ((info->dwMask & SHIDIM_FLAGS) != 0 && (info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN) != 0) {
        RECT screen{};
        // The device's screen is the window that owns them all here (a sheet
        // is owned by its host dialog, which the settings page owns).
        HWND owner = GetAncestor(info->hDlg, GA_ROOTOWNER);
        owner = owner == info->hDlg ? nullptr : owner;
        if (owner != nullptr) {
            GetClientRect(owner, &screen);
            MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        } else {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
        }
        MoveWindow(info->hDlg, screen.left, screen.top, screen.right - screen.left,
                   screen.bottom - screen.top, FALSE);
        if (HWND tab = SheetTabControl(info->hDlg)) {
            LayOutSheet(info->hDlg, tab);
        }
    }
    return TRUE;
}

namespace {

constexpr int kMenuBarHeight = 24;
constexpr wchar_t kMenuBarClass[] = L"VantrelMenuBar";

LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        return SendMessageW(GetParent(bar), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0),
                            reinterpret_cast<LPARAM>(bar));
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

} // namespace

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (info == nullptr || info->hwndParent == nullptr || (info->dwFlags & SHCMBF_HMENU) == 0) {
        return FALSE;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = MenuBarProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kMenuBarClass;
    RegisterClassW(&wc); // fails harmlessly when already registered

    HMENU menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(info->nToolBarId));
    if (menu == nullptr) {
        return FALSE;
    }
    RECT client{};
    GetClientRect(info->hwndParent, &client);
    HWND bar = CreateWindowExW(0, kMenuBarClass, L"", WS_CHILD | WS_VISIBLE, 0,
                               client.bottom - kMenuBarHeight, client.right, kMenuBarHeight,
                               info->hwndParent, nullptr, wc.hInstance, nullptr);
    const int count = bar != nullptr ? GetMenuItemCount(menu) : 0;
    const int width = count > 0 ? client.right / count : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        HWND button = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      i * width, 0, width, kMenuBarHeight, bar,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                      wc.hInstance, nullptr);
        SendMessageW(button, WM_SETFONT, SendMessageW(info->hwndParent, WM_GETFONT, 0, 0), FALSE);
    }
    DestroyMenu(menu);
    info->hwndMB = bar;
    return bar != nullptr ? TRUE : FALSE;
}

HWND OpenFullScreenDialog(HWND dialog, HINSTANCE module, UINT menuBar) {
    SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&init);
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = dialog;
    bar.dwFlags = SHCMBF_HMENU;
    bar.nToolBarId = menuBar;
    bar.hInstRes = module;
    SHCreateMenuBar(&bar);
    return bar.hwndMB;
}

void CloseFullScreenDialog(HWND dialog, HWND& menuBar, INT_PTR result) {
    if (menuBar != nullptr) {
        DestroyWindow(menuBar);
        menuBar = nullptr;
    }
    EndDialog(dialog, result);
}

INT_PTR RunDialogResource(HINSTANCE module, int id, HWND owner, DLGPROC procedure, LPARAM param) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* dialog =
        static_cast<LPCDLGTEMPLATEW>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (dialog == nullptr) {
        return -1;
    }
    return DialogBoxIndirectParamW(module, dialog, owner, procedure, param);
}

} // namespace vantrel
