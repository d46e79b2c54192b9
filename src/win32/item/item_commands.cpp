#include "platform/today.h"
#include "resource_ids.h"
#include "text/text_ids.h"
#include "win32/bindings/wide_text.h"
#include "win32/item/item_window.h"

#include <cstring>

namespace vantrel {
namespace {

// The menu anchor: the item's top-right corner on the screen.
POINT MenuPoint(const TodayItem& item, HWND window, int x, int y) {
    POINT point{x, y};
    if (x < 0) {
        point = POINT{item.state.clientRect.right, item.state.clientRect.top};
        ClientToScreen(window, &point);
    }
    return point;
}

void ShowPopup(TodayItem& item, HWND window, int popup, int x, int y) {
    HMENU menu = LoadMenuW(item.instance, MAKEINTRESOURCEW(IDR_POPUP_MENUS));
    if (menu == nullptr) {
        return;
    }
    HMENU sub = GetSubMenu(menu, popup);
    const int mask = item.state.view.sourceMask;
    if (popup == kPopupFilter) {
        CheckMenuItem(sub, static_cast<UINT>(MenuIdOfFilter(item.state.view.currentFilter)),
                      MF_BYCOMMAND | MF_CHECKED);
    } else if (popup == kPopupData) {
        const std::pair<int, int> checks[] = {{kSourceOwnBit, IDM_SOURCE_OWN},
                                              {kSourceAppointmentsBit, IDM_SOURCE_APPOINTMENTS},
                                              {kSourceTasksBit, IDM_SOURCE_TASKS}};
        for (const auto& [bit, id] : checks) {
            if ((mask & bit) != 0) {
                CheckMenuItem(sub, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
            }
        }
    }
    const POINT point = MenuPoint(item, window, x, y);
    TrackPopupMenuEx(sub, 0, point.x, point.y, window, nullptr);
    DestroyMenu(menu);
}

// CF_UNICODETEXT through a movable global block, which the desktop
// clipboard requires; an unavailable clipboard drops the copy.
void CopyToClipboard(std::u16string_view text) {
    if (!OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (void* memory = block != nullptr ? GlobalLock(block) : nullptr) {
        std::memcpy(memory, text.data(), text.size() * sizeof(wchar_t));
        static_cast<wchar_t*>(memory)[text.size()] = L'\0';
        GlobalUnlock(block);
        if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
            GlobalFree(block);
        }
    } else if (block != nullptr) {
        GlobalFree(block);
    }
    CloseClipboard();
}

} // namespace

CommandActions ItemCommandActions(TodayItem& item, HWND window) {
    CommandActions a;
    a.popupMenu = [&item, window](int popup, int x, int y) {
        ShowPopup(item, window, popup, x, y);
    };
    a.editDialog = [&item, window] { RunEditDialog(item, window); };
    a.tagDialog = [&item, window] { RunTagDialog(item, window); };
    a.outlook = [&item](int source, int oid, int operation, const SystemTime& when) {
        ModalScope open(&item.state.modalDepth); // Outlook shows its forms modally
        const std::u16string failed = OutlookItemAction(item.outlook, source, oid, operation, when);
        if (!failed.empty()) {
            std::u16string text = LoadText(*item.texts, text_id::kStoreNotSaved);
            if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) {
                text.replace(at, 2, failed);
            }
            item.prompt->ShowMessage(text, u"error", kMbOk);
        }
    };
    a.copy = CopyToClipboard;
    a.save = [&item] {
        DataFileContext data = ItemDataFile(item);
        item.file.reloaded = false;
        save(data);
        if (item.file.reloaded) {
            // Another program's records joined the list: the view's
            // positions are stale until it is built again.
            item.file.reloaded = false;
            ViewContext view = ItemView(item);
            refresh(view, item.state.view.currentFilter);
        }
    };
    a.prompt = item.prompt.get();
    return a;
}

LRESULT DispatchCommand(TodayItem& item, HWND window, int code, int x, int y) {
    ViewContext view = ItemView(item);
    const int result = RunCommand(view, item.state, ItemCommandActions(item, window), code, x, y);
    SendMessageW(GetParent(window), TODAYM_TOOKSELECTION, reinterpret_cast<WPARAM>(window), 0);
    InvalidateRect(window, nullptr, TRUE);
    return result;
}

void MenuCommand(TodayItem& item, HWND window, int id) {
    switch (id) {
    case IDM_REFRESH:
        item.state.menuPending = 0;
        DispatchCommand(item, window, kCmdRefresh, 0, 0);
        break;
    case IDM_FILTER_MENU:
        item.state.menuPending = 0;
        DispatchCommand(item, window, kCmdFilterMenu, -1, -1);
        break;
    case IDM_DATA_MENU:
        item.state.menuPending = 0;
        DispatchCommand(item, window, kCmdDataMenu, -1, -1);
        break;
    case IDM_DISMISS:
        item.state.menuPending = 0;
        break;
    default:
        if (const std::optional<int> code = CommandOfMenuId(id)) {
            DispatchCommand(item, window, *code, 0, 0);
        }
        break;
    }
    item.state.lastInputTime = item.clock.Now();
}

} // namespace vantrel
