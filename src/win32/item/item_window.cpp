#include "win32/item/item_window.h"
#include "win32/scoped.h"

#include "platform/shell.h"
#include "platform/today.h"
#include "settings/device_defaults.h"
#include "settings/settings_store.h"
#include "text/text_ids.h"
#include "today/layout.h"
#include "today/navigation.h"
#include "today/refresh_query.h"
#include "view/standard_order.h"
#include "win32/bindings/local_now.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_system_time.h"

#include <commctrl.h>

namespace vantrel {
namespace {

void Invalidate(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

void TookSelection(HWND window) {
    SendMessageW(GetParent(window), TODAYM_TOOKSELECTION, reinterpret_cast<WPARAM>(window), 0);
}

COLORREF TodayColour(HWND window, DWORD index) {
    return static_cast<COLORREF>(SendMessageW(GetParent(window), TODAYM_GETCOLOR, index, 0));
}

HWND DesktopWindow() {
    HWND top = FindWindowW(L"DesktopExplorerWindow", nullptr);
    HWND child = top != nullptr ? GetWindow(top, GW_CHILD) : nullptr;
    return child != nullptr ? GetWindow(child, GW_CHILD) : nullptr;
}

OutlookContext OutlookOf(TodayItem& item) {
    return OutlookContext{item.outlook, item.store, item.settings, *item.texts};
}

// Lives as long as the module: the loaders keep a reference to it.
OutlookContext& ItemOutlook(TodayItem& item) {
    static OutlookContext context = OutlookOf(item);
    return context;
}

void StartUp(TodayItem& item, HWND window) {
    // A window created again (the Today screen rebuilds its items) starts
    // from the compiled-in defaults, not from the last window's state.
    const std::uintptr_t instance = item.state.instance;
    item.state = TodayViewState{};
    item.state.instance = instance;
    item.settings = Settings{};
    item.window = window;
    item.prompt = std::make_unique<Win32Prompt>(window, &item.state.modalDepth);
    TodayViewState& state = item.state;
    Settings& s = item.settings;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    HWND desktop = DesktopWindow();
    state.desktopWindow = reinterpret_cast<std::uintptr_t>(desktop);
    state.desktopVisible = desktop != nullptr && IsWindowVisible(desktop) ? 1 : 0;

    // Device defaults from the window's font and the Today colours.
    LOGFONTW font{};
    TEXTMETRICW metrics{};
    {
        const WindowDc dc(window);
        font = TodayFont(dc.get());
        const Font today(CreateFontIndirectW(&font));
        const Selected selected(dc.get(), today.get());
        GetTextMetricsW(dc.get(), &metrics);
    }
    const std::u16string faceName = FromWide(font.lfFaceName);
    DeviceMeasurements device;
    device.faceName = faceName;
    device.charSet = font.lfCharSet;
    device.textHeight = metrics.tmHeight;
    device.highlightText =
        static_cast<std::int32_t>(TodayColour(window, TODAYCOLOR_HIGHLIGHTEDTEXT));
    device.highlight = static_cast<std::int32_t>(TodayColour(window, TODAYCOLOR_HIGHLIGHT));
    {
        const WindowDc screen(nullptr);
        device.dpi = DeviceCaps(screen.get(), LOGPIXELSY);
    }
    state.systemFontHeight = ApplyDeviceDefaults(s, device);

    if (LoadSettings(s, item.registry) == 0) {
        SaveSettings(s, item.registry, 0);
    }
    const SIZE screen = DeviceScreenSize(window);
    state.scale = screen.cx > 320 || screen.cy > 320 ? 2 : 1;
    state.view.sourceMask = state.homeSourceMask = s.StartView;
    if (s.OpenFile.empty()) {
        s.OpenFile = kDefaultDataFile;
    }

    item.file.currentPath = s.OpenFile.view();
    item.store.view.clear();
    DataFileContext data = ItemDataFile(item);
    OpenAtStartUp(data);

    ComputeItemLayout(item);
    state.hasSelection = 0;
    state.enlargeState = kEnlargeOff;

    const SystemTime now = item.clock.Now();
    OpenOutlookSession(item.outlook);
    OutlookContext& outlook = ItemOutlook(item);
    if ((state.view.sourceMask & kSourceAppointmentsBit) != 0) {
        ImportAllAppointments(outlook, now);
    } else {
        item.store.appointments.clear();
        ClearTagIndex(item.store.appointmentTags);
    }
    if ((state.view.sourceMask & kSourceTasksBit) != 0) {
        ImportTasks(outlook, now);
    } else {
        item.store.tasks.clear();
        ClearTagIndex(item.store.taskTags);
    }
    OrderAllLists(item.store);
    ViewContext view = ItemView(item);
    buildView(view, s.StartFilter, now);
    state.homeFilter = state.view.currentFilter;
    state.homeFilterTag = s.FilterTag;
    state.viewChanged = 0;
    state.lastInputTime = item.clock.Now();
    CreateAtStartUp(data);
}

LRESULT QueryRefreshCache(TodayItem& item, HWND window, TODAYLISTITEM* listItem) {
    RefreshQueryActions actions;
    HWND desktop = reinterpret_cast<HWND>(item.state.desktopWindow);
    if (desktop != nullptr) {
        actions.desktopVisible = [desktop] { return IsWindowVisible(desktop) != FALSE; };
    }
    actions.refresh = [&item](int code) {
        ViewContext view = ItemView(item);
        refresh(view, code);
    };
    actions.invalidate = [window] { Invalidate(window); };
    actions.layout = [&item] { ComputeItemLayout(item); };
    if (item.state.menuPending == 0 && item.state.modalDepth == 0) {
        // Another program (a sync tool, an editor) changed the data file.
        DataFileContext data = ItemDataFile(item);
        if (ReloadIfChangedOutside(data)) {
            actions.refresh(item.state.view.currentFilter);
            actions.layout();
            actions.invalidate();
        }
    }
    int cyp = listItem != nullptr ? static_cast<int>(listItem->cyp) : item.state.itemHeight;
    const bool changed = QueryRefresh(item.state, item.settings, item.clock.Now(), cyp, actions);
    if (listItem != nullptr) {
        listItem->cyp = static_cast<DWORD>(cyp);
    }
    return changed ? TRUE : FALSE;
}

void ButtonDown(TodayItem& item, HWND window, int x, int y) {
    TodayViewState& state = item.state;
    state.holdHandled = 0;
    TookSelection(window);
    const TapHit hit = HitTest(state, item.settings, x, y);
    const int position = hit.column * state.rowsPerColumn + hit.row;
    if (position <= state.lastCursor) {
        state.view.cursor = position;
    }
    Invalidate(window);
    SHRGINFO gesture{sizeof gesture, window, {x, y}, SHRG_RETURNCMD};
    SHRecognizeGesture(&gesture);
}

// A hold acts on the held line: when no button-down has put the cursor
// there first, the hold does. A hold from the keyboard (-1, -1) keeps it.
void MoveCursorToHeld(TodayItem& item, HWND window, LPARAM lParam) {
    TodayViewState& state = item.state;
    if (lParam == -1) {
        return;
    }
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(window, &point);
    RECT client{};
    GetClientRect(window, &client);
    if (!PtInRect(&client, point)) {
        return;
    }
    const TapHit hit = HitTest(state, item.settings, point.x, point.y);
    const int position = hit.column * state.rowsPerColumn + hit.row;
    if (position >= 0 && position <= state.lastCursor && position != state.view.cursor) {
        state.view.cursor = position;
        TookSelection(window);
        Invalidate(window);
    }
}

// ExTap may be bound to a popup command, which expects a screen point.
void DispatchTap(TodayItem& item, HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    DispatchCommand(item, window, item.settings.ExTap, point.x, point.y);
}

void ButtonUp(TodayItem& item, HWND window, int x, int y) {
    TodayViewState& state = item.state;
    state.lastInputTime = item.clock.Now();
    if (state.holdHandled != 0) {
        state.holdHandled = 0;
        TookSelection(window);
        Invalidate(window);
        return;
    }
    const TapHit hit = HitTest(state, item.settings, x, y);
    const int position = hit.column * state.rowsPerColumn + hit.row;
    if (position > state.lastCursor) {
        DispatchTap(item, window, x, y);
        return;
    }
    state.view.cursor = position;
    if (hit.onCheckBox) {
        ViewContext view = ItemView(item);
        ToggleSelectedCheck(view, state, ItemCommandActions(item, window));
        TookSelection(window);
        Invalidate(window);
    } else if (hit.onNextStrip) {
        DispatchCommand(item, window, kCmdNextPage, x, y);
    } else if (hit.onPrevStrip) {
        DispatchCommand(item, window, kCmdPrevPage, x, y);
    } else {
        DispatchTap(item, window, x, y);
    }
}

LRESULT Navigate(TodayItem& item, HWND window, WPARAM key, LPARAM lParam) {
    item.state.lastInputTime = item.clock.Now();
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (key) {
    case VK_UP:
        return DispatchCommand(item, window, item.settings.ExUp, x, y);
    case VK_DOWN:
        return DispatchCommand(item, window, item.settings.ExDown, x, y);
    case VK_LEFT:
        return DispatchCommand(item, window, item.settings.ExLeft, x, y);
    case VK_RIGHT:
        return DispatchCommand(item, window, item.settings.ExRight, x, y);
    default:
        return TRUE;
    }
}

} // namespace

SystemTime LocalClock::Now() const {
    return LocalNow();
}

TodayItem& TheItem() {
    static TodayItem item;
    return item;
}

ViewContext ItemView(TodayItem& item) {
    return ViewContext{item.store,
                       item.state.view,
                       item.settings,
                       *item.texts,
                       item.clock,
                       OutlookLoaders(ItemOutlook(item)),
                       [&item] { SaveSettings(item.settings, item.registry, 1); }};
}

DataFileContext ItemDataFile(TodayItem& item) {
    return DataFileContext{item.store, item.settings, item.registry, item.files, *item.prompt,
                           item.codec, item.clock,    *item.texts,   item.file};
}

LRESULT CALLBACK ItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TodayItem& item = TheItem();
    TodayViewState& state = item.state;
    switch (message) {
    case WM_CREATE:
        StartUp(item, window);
        break;
    case WM_PAINT: {
        {
            const Painting paint(window);
            PaintItem(item, paint.dc());
        }
        if (state.enlargeState == kEnlargeRequested) {
            state.enlargeState = kEnlargeTiming;
            state.enlargeTicks = 0;
        }
        break;
    }
    case WM_PRINTCLIENT:
        PaintItem(item, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND: {
        TODAYDRAWWATERMARKINFO info{};
        info.hdc = reinterpret_cast<HDC>(wParam);
        GetClientRect(window, &info.rc);
        info.hwnd = window;
        SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&info));
        return 1;
    }
    case WM_CONTEXTMENU:
        state.lastInputTime = item.clock.Now();
        state.holdHandled = 1;
        MoveCursorToHeld(item, window, lParam);
        DispatchCommand(item, window, item.settings.ExTapHold, static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
        break;
    case WM_COMMAND:
        MenuCommand(item, window, LOWORD(wParam));
        break;
    case WM_LBUTTONDOWN:
        ButtonDown(item, window, static_cast<short>(LOWORD(lParam)),
                   static_cast<short>(HIWORD(lParam)));
        break;
    case WM_LBUTTONUP:
        ButtonUp(item, window, static_cast<short>(LOWORD(lParam)),
                 static_cast<short>(HIWORD(lParam)));
        break;
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        return QueryRefreshCache(item, window, reinterpret_cast<TODAYLISTITEM*>(wParam));
    case WM_TODAYCUSTOM_RECEIVEDSELECTION:
        state.hasSelection = 1;
        if (item.settings.ExFocus != 0) {
            state.enlargeState = kEnlargeRequested;
        }
        Invalidate(window);
        return TRUE;
    case WM_TODAYCUSTOM_LOSTSELECTION:
        state.hasSelection = 0;
        state.enlargeState = kEnlargeOff;
        Invalidate(window);
        break;
    case WM_TODAYCUSTOM_USERNAVIGATION:
        return Navigate(item, window, wParam, lParam);
    case WM_TODAYCUSTOM_ACTION:
        state.lastInputTime = item.clock.Now();
        DispatchCommand(item, window, item.settings.ExAction, static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace vantrel
