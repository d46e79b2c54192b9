#pragma once

#include "model/item_store.h"
#include "settings/settings.h"
#include "storage/data_file.h"
#include "today/commands.h"
#include "today/today_view_state.h"
#include "win32/bindings/module_text_table.h"
#include "win32/bindings/win32_codec.h"
#include "win32/bindings/win32_file_access.h"
#include "win32/bindings/win32_prompt.h"
#include "win32/bindings/win32_registry.h"
#include "win32/outlook/outlook_session.h"
#include "win32/scoped.h"

#include <windows.h>

#include <memory>

namespace vantrel {

// The local clock; the substitute host may fix it with VANTREL_NOW
// ("YYYY-MM-DD HH:MM") so that a screenshot shows a known day.
class LocalClock : public Clock {
  public:
    SystemTime Now() const override;
};

// Everything the Today item keeps for the life of the module.
struct TodayItem {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    TodayViewState state;
    ItemStore store;
    Settings settings;
    DataFileState file;
    OutlookSession outlook;
    Win32Registry registry;
    Win32FileAccess files;
    Win32Codec codec;
    std::unique_ptr<ModuleTextTable> texts;
    LocalClock clock;
    std::unique_ptr<Win32Prompt> prompt;
};

// The process's item record. Only the window procedure, the dialog
// procedures and the exported entries fetch it; everything below them is
// handed what it needs.
TodayItem& TheItem();

LRESULT CALLBACK ItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The view functions' context over the item's state.
ViewContext ItemView(TodayItem& item);
DataFileContext ItemDataFile(TodayItem& item);

// The commands' bindings to the window: popups, dialogs, Outlook, the
// clipboard, the data file and the message boxes.
CommandActions ItemCommandActions(TodayItem& item, HWND window);

// Command dispatch with its common tail (selection hand-over, invalidate).
LRESULT DispatchCommand(TodayItem& item, HWND window, int code, int x, int y);

// WM_COMMAND from the popups: the menu id's command.
void MenuCommand(TodayItem& item, HWND window, int id);

// The two modal dialogs on the selected entry and the current filter.
void RunEditDialog(TodayItem& item, HWND window);
void RunTagDialog(TodayItem& item, HWND window);

// The substitute device's screen: the client area of the top-level window
// that hosts the Today screen (the real desktop is far larger).
SIZE DeviceScreenSize(HWND window);

// Painting into a device context (WM_PAINT and WM_PRINTCLIENT).
void ComputeItemLayout(TodayItem& item);
void PaintItem(TodayItem& item, HDC dc);

} // namespace vantrel
