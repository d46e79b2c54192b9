// vantrel-host: a substitute Today screen. It loads vantrel.dll, creates the
// item through ordinal 240, polls it with the refresh query, owns the Today
// selection, forwards the arrow keys and the action key, answers colour
// queries and paints a watermark. --screenshot renders one frame to a PNG.

#include "host_script.h"
#include "platform/today.h"
#include "resource_ids.h"
#include "win32/scoped.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <wincodec.h>
#include <windowsx.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

using vantrel::Bitmap;
using vantrel::Brush;
using vantrel::DcArea;
using vantrel::Held;
using vantrel::MemoryDc;
using vantrel::Region;
using vantrel::Selected;
using vantrel::WindowDc;

namespace {

struct Options {
    std::wstring data, store, now, screenshot, optionShots, script;
    bool hires = false;
};

struct Host {
    HWND window = nullptr;
    HWND item = nullptr;
    HMODULE module = nullptr;
    PFNCUSTOMINITIALIZEITEM initialize = nullptr;
    std::wstring optionShots; // headless: one PNG per options page here
    TODAYLISTITEM listItem{};
    bool selected = false;
    int top = 8;
} host;

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT_PTR kShotTimer = 2;
constexpr UINT kOptionsCommand = 100;
constexpr int kOptionPages = 9;
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(60, 110, 200);
constexpr COLORREF kHighlightedText = RGB(255, 255, 255);

void Watermark(HDC dc, const RECT& r, int offsetY) {
    // A dark vertical gradient, the same wherever the item asks for a piece.
    for (int y = r.top; y < r.bottom; ++y) {
        const int shade = 20 + (y + offsetY) * 40 / 640;
        const Brush b(CreateSolidBrush(RGB(shade / 2, shade / 2, shade + 20)));
        RECT line{r.left, y, r.right, y + 1};
        FillRect(dc, &line, b.get());
    }
}

void PlaceItem() {
    RECT client{};
    GetClientRect(host.window, &client);
    SetWindowPos(host.item, nullptr, 0, host.top, client.right, static_cast<int>(host.listItem.cyp),
                 SWP_NOZORDER);
}

void Poll() {
    if (host.item != nullptr && SendMessageW(host.item, WM_TODAYCUSTOM_QUERYREFRESHCACHE,
                                             reinterpret_cast<WPARAM>(&host.listItem), 0)) {
        PlaceItem();
    }
}

bool SavePng(HBITMAP bitmap, int width, int height, const std::wstring& path);

// The Today screen's settings page: the item's options host dialog
// (IDD_OPTIONS_HOST) with the procedure at ordinal 241. Changed settings
// show at the next poll.
void OpenOptions() {
    const auto procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(
        GetProcAddress(host.module, MAKEINTRESOURCEA(ORDINAL_CUSTOMITEMOPTIONSDLGPROC))));
    if (procedure == nullptr) {
        return;
    }
    DialogBoxParamW(host.module, MAKEINTRESOURCEW(IDD_OPTIONS_HOST), host.window, procedure, 0);
    InvalidateRect(host.item, nullptr, TRUE);
}

HWND FindSheet() {
    return FirstThreadWindow([](HWND window) {
        wchar_t title[32] = {};
        GetWindowTextW(window, title, 32);
        return std::wstring(title).find(L"VantrelSetting") != std::wstring::npos;
    });
}

// Renders a window and its visible descendants, each through WM_PRINT
// at its place: headless there is no screen to copy from.
void PrintTree(HWND top, HDC dc) {
    struct Walk {
        HWND top;
        HDC dc;
    } walk{top, dc};
    auto print = [](HWND window, LPARAM param) -> BOOL {
        const Walk& w = *reinterpret_cast<const Walk*>(param);
        if (window != w.top && !IsWindowVisible(window)) {
            return TRUE;
        }
        for (HWND up = window; up != w.top && up != nullptr; up = GetParent(up)) {
            if (!IsWindowVisible(up)) {
                return TRUE; // on a hidden page
            }
        }
        RECT r{};
        GetWindowRect(window, &r);
        RECT origin{};
        GetWindowRect(w.top, &origin);
        SetViewportOrgEx(w.dc, r.left - origin.left, r.top - origin.top, nullptr);
        SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(w.dc),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        return TRUE;
    };
    print(top, reinterpret_cast<LPARAM>(&walk));
    EnumChildWindows(top, print, reinterpret_cast<LPARAM>(&walk));
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

// True under a real X display (xvfb-run included): pictures copy its pixels.
bool OnScreen() {
    return std::getenv("DISPLAY") != nullptr || GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

// A bitmap in the screen's format.
HBITMAP ScreenBitmap(int width, int height) {
    const WindowDc screen(nullptr);
    return CreateCompatibleBitmap(screen.get(), width, height);
}

// Writes a window as it shows (its frame and controls) to a PNG.
bool ShootWindow(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const Bitmap bitmap(ScreenBitmap(width, height));
    {
        const MemoryDc dc(nullptr);
        const Selected target(dc.get(), bitmap.get());
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // With a display the window's own pixels are copied; headless the
        // windows are asked to print themselves.
        const WindowDc source(window, DcArea::kWholeWindow);
        if (!(OnScreen() && BitBlt(dc.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY))) {
            PrintTree(window, dc.get());
        }
    }
    return SavePng(bitmap.get(), width, height, path);
}

// Runs inside the sheet's modal loop: renders every page, then cancels.
void ShootOptionPages() {
    HWND sheet = FindSheet();
    if (sheet == nullptr) {
        return;
    }
    KillTimer(host.window, kShotTimer);
    for (int page = 0; page < kOptionPages; ++page) {
        SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
        const std::wstring path =
            host.optionShots + L"\\options-" + std::to_wstring(page + 1) + L".png";
        if (!ShootWindow(sheet, path)) {
            std::fwprintf(stderr, L"vantrel-host: cannot write %ls\n", path.c_str());
        }
    }
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void Select(bool on) {
    if (host.item == nullptr || host.selected == on) {
        return;
    }
    host.selected = on;
    SendMessageW(host.item, on ? WM_TODAYCUSTOM_RECEIVEDSELECTION : WM_TODAYCUSTOM_LOSTSELECTION, 0,
                 0);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TODAYM_GETCOLOR:
        switch (wParam) {
        case TODAYCOLOR_HIGHLIGHT:
            return kHighlight;
        case TODAYCOLOR_HIGHLIGHTEDTEXT:
            return kHighlightedText;
        default:
            return kTextColour;
        }
    case TODAYM_DRAWWATERMARK: {
        const auto* info = reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam);
        RECT r = info->rc;
        POINT origin{0, 0};
        MapWindowPoints(info->hwnd, window, &origin, 1);
        Watermark(info->hdc, r, origin.y);
        return 0;
    }
    case TODAYM_TOOKSELECTION:
        Select(true);
        return 0;
    case WM_ERASEBKGND: {
        RECT r{};
        GetClientRect(window, &r);
        Watermark(reinterpret_cast<HDC>(wParam), r, 0);
        return 1;
    }
    case WM_TIMER:
        if (wParam == kShotTimer) {
            ShootOptionPages();
        } else {
            Poll();
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kOptionsCommand) {
            OpenOptions();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT) {
            if (!host.selected) {
                Select(true);
            } else if (!SendMessageW(host.item, WM_TODAYCUSTOM_USERNAVIGATION, wParam, 0)) {
                Select(false); // the item handed the selection on: nothing else to select
            }
            return 0;
        }
        if (wParam == VK_RETURN && host.selected) {
            SendMessageW(host.item, WM_TODAYCUSTOM_ACTION, 0, 0);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        Select(false);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? full : path;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

void SetValue(HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// What the device would have: the data file path, a font with Japanese
// glyphs, and the two image strips in \Windows.
void PrepareDevice(Options o) {
    // Device paths ("\Windows\...", "\My Documents\...") name the system
    // drive: work from its root, with the given files made absolute first.
    o.data = o.data.empty() ? o.data : FullPath(o.data);
    o.store = o.store.empty() ? o.store : FullPath(o.store);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    SetCurrentDirectoryW(std::wstring(windows, 3).c_str()); // "C:\"
    CreateDirectoryW(L"\\My Documents", nullptr);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane\\Vantrel", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        if (!o.data.empty()) {
            SetValue(key, L"OpenFile", o.data);
        }
        for (const wchar_t* name : {L"FontName", L"ExFontName"}) {
            DWORD size = 0;
            if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
                SetValue(key, name, L"IPAGothic");
            }
        }
        RegCloseKey(key);
    }
    const std::wstring folder = ExeFolder();
    CreateDirectoryW(L"\\Windows", nullptr);
    for (const wchar_t* image : {L"vantrelcb.png", L"vantrelpo.png"}) {
        CopyFileW((folder + L"\\" + image).c_str(), (std::wstring(L"\\Windows\\") + image).c_str(),
                  FALSE);
    }
    if (!o.store.empty()) {
        SetEnvironmentVariableW(L"VANTREL_STORE", o.store.c_str());
    }
    if (!o.now.empty()) {
        SetEnvironmentVariableW(L"VANTREL_NOW", o.now.c_str());
    }
    // The device's screen: QVGA at 96 dpi or VGA at 192 dpi. The item's
    // Today font and small-icon size follow it (platform/shell.h).
    SetEnvironmentVariableW(L"VANTREL_DPI", o.hires ? L"192" : L"96");
}

bool SavePng(HBITMAP bitmap, int width, int height, const std::wstring& path) {
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * 4);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(WindowDc(nullptr).get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Held<IWICImagingFactory> factory;
    Held<IWICStream> stream;
    Held<IWICBitmapEncoder> encoder;
    Held<IWICBitmapFrameEncode> frame;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory,
                                         reinterpret_cast<void**>(factory.out()))) &&
              SUCCEEDED(factory->CreateStream(stream.out())) &&
              SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
              SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(frame.out(), nullptr)) &&
              SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    ok = ok && SUCCEEDED(frame->SetPixelFormat(&format));
    for (size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 255; // GDI leaves alpha at 0
    }
    ok = ok &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width * 4),
                                      static_cast<UINT>(pixels.size()), pixels.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    return ok;
}

// The screen's pixels of the Today window's client area, with whatever
// shows over it (an open popup menu, within that area).
bool ScreenPixels(const std::wstring& path) {
    RECT client{};
    GetClientRect(host.window, &client);
    POINT origin{0, 0};
    ClientToScreen(host.window, &origin);
    const Bitmap bitmap(ScreenBitmap(client.right, client.bottom));
    {
        const MemoryDc dc(nullptr);
        const Selected target(dc.get(), bitmap.get());
        const WindowDc screen(nullptr);
        BitBlt(dc.get(), 0, 0, client.right, client.bottom, screen.get(), origin.x, origin.y,
               SRCCOPY);
    }
    return SavePng(bitmap.get(), client.right, client.bottom, path);
}

bool Screenshot(const std::wstring& path) {
    if (OnScreen()) {
        // The X server shows a window a little after Wine has painted it.
        for (int i = 0; i < 20; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(25);
        }
        return ScreenPixels(path);
    }
    RECT client{};
    GetClientRect(host.window, &client);
    const Bitmap bitmap(ScreenBitmap(client.right, client.bottom));
    {
        const MemoryDc dc(nullptr);
        const Selected target(dc.get(), bitmap.get());
        Watermark(dc.get(), client, 0);
        RECT itemRect{};
        GetWindowRect(host.item, &itemRect);
        MapWindowPoints(nullptr, host.window, reinterpret_cast<POINT*>(&itemRect), 2);
        SetViewportOrgEx(dc.get(), itemRect.left, itemRect.top, nullptr);
        const Region clip(
            CreateRectRgn(itemRect.left, itemRect.top, itemRect.right, itemRect.bottom));
        SelectClipRgn(dc.get(), clip.get()); // the DC keeps a copy of the region
        // The DC keeps its default font, as the window's own DC does.
        SendMessageW(host.item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    return SavePng(bitmap.get(), client.right, client.bottom, path);
}

// What is invalid paints now (WM_PAINT), as the screen lets it after each
// input: headless frames lay the item out and move its enlargement timer
// exactly as a live window does.
void Paint() {
    RedrawWindow(host.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The host's first layout: a paint lays the item out, so the query after
// it hands over the height of the lines it shows.
void LayOut() {
    Paint();
    Poll();
    Paint();
}

int Usage() {
    std::fputs("usage: vantrel-host [--data FILE] [--store FILE] [--now \"YYYY-MM-DD HH:MM\"] "
               "[--hires] [--select] [--screenshot FILE.png] [--option-shots FOLDER] "
               "[--script FILE]\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Options o;
    bool select = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool value = i + 1 < argc;
        if (arg == L"--data" && value) {
            o.data = argv[++i];
        } else if (arg == L"--store" && value) {
            o.store = argv[++i];
        } else if (arg == L"--now" && value) {
            o.now = argv[++i];
        } else if (arg == L"--screenshot" && value) {
            o.screenshot = argv[++i];
        } else if (arg == L"--script" && value) {
            o.script = FullPath(argv[++i]);
        } else if (arg == L"--option-shots" && value) {
            o.optionShots = argv[++i];
        } else if (arg == L"--hires") {
            o.hires = true;
        } else if (arg == L"--select") {
            select = true;
        } else {
            return Usage();
        }
    }
    if (!o.screenshot.empty()) {
        o.screenshot = FullPath(o.screenshot); // before the device's drive becomes current
    }
    if (!o.optionShots.empty()) {
        o.optionShots = FullPath(o.optionShots);
    }
    PrepareDevice(o);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"VantrelTodayHost";
    RegisterClassW(&wc);
    const int width = o.hires ? 480 : 240, height = o.hires ? 640 : 320;
    RECT frame{0, 0, width, height};
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, kOptionsCommand, L"設定");
    AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, TRUE);
    host.window = CreateWindowW(wc.lpszClassName, L"Today - Vantrel",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, menu, instance, nullptr);
    if (host.window == nullptr) {
        std::fputs("vantrel-host: cannot create the Today window\n", stderr);
        return 1;
    }
    HMODULE module = LoadLibraryW((ExeFolder() + L"\\vantrel.dll").c_str());
    const auto initialize =
        module == nullptr
            ? nullptr
            : reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(reinterpret_cast<void*>(
                  GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_INITIALIZECUSTOMITEM))));
    if (initialize == nullptr) {
        std::fputs("vantrel-host: vantrel.dll or its ordinal 240 is missing\n", stderr);
        return 1;
    }
    host.listItem.tlit = tlitCustom;
    host.listItem.fEnabled = TRUE;
    host.listItem.hinstDLL = module;
    host.item = initialize(&host.listItem, host.window);
    if (host.item == nullptr) {
        std::fputs("vantrel-host: the item did not create its window\n", stderr);
        return 1;
    }
    host.listItem.hwndCustom = host.item;
    host.module = module;
    host.initialize = initialize;
    Poll();
    PlaceItem();
    if (!o.optionShots.empty()) {
        host.optionShots = o.optionShots;
        CreateDirectoryW(o.optionShots.c_str(), nullptr);
        SetTimer(host.window, kShotTimer, 200, nullptr);
        OpenOptions();
        return 0;
    }
    // Shown headless too (the null display driver has a screen of its own):
    // the item paints through WM_PAINT there as well.
    ShowWindow(host.window, SW_SHOW);
    if (select) {
        Select(true);
    }
    LayOut();
    if (!o.script.empty()) {
        ScriptHost script;
        script.window = host.window;
        script.item = [] { return host.item; };
        script.poll = Poll;
        script.paint = Paint;
        script.restart = [] {
            DestroyWindow(host.item);
            host.item = host.initialize(&host.listItem, host.window);
            host.listItem.hwndCustom = host.item;
            host.selected = false;
            LayOut();
        };
        script.options = OpenOptions;
        script.select = Select;
        script.shootWindow = ShootWindow;
        script.shootScreen = ScreenPixels;
        script.screenshot = [](const std::wstring& path) {
            Paint();
            return Screenshot(path);
        };
        return RunScript(o.script, script) ? 0 : 1;
    }
    if (!o.screenshot.empty()) {
        if (!Screenshot(o.screenshot)) {
            std::fputs("vantrel-host: the screenshot could not be written\n", stderr);
            return 1;
        }
        return 0;
    }
    SetTimer(host.window, kPollTimer, 2000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The right button stands for the stylus held down: the item gets
        // the hold as the device delivers it, not a bare WM_CONTEXTMENU.
        if (msg.hwnd == host.item && msg.message == WM_RBUTTONDOWN) {
            Hold(host.item, GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            continue;
        }
        if (msg.hwnd == host.item && msg.message == WM_RBUTTONUP) {
            continue; // the hold has ended with its own button-up
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
