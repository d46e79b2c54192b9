// The options host dialog (IDD_OPTIONS_HOST) at ordinal 241: its
// initialisation runs the nine-page sheet, stores the settings and makes
// sure the data file named in them exists, then closes the host at once.

#include "platform/shell.h"
#include "platform/today.h"
#include "resource_ids.h"
#include "settings/settings_store.h"
#include "text/text_ids.h"
#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"
#include "win32/scoped.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>
#include <cwchar>

namespace vantrel {
namespace {

constexpr DWORD kSheetInitialised = 1; // PSCB_INITIALIZED
constexpr UINT kSheetGetVersion = 3;   // the device's version request
constexpr UINT kSheetGetTitle = 4;     // the device's title request
constexpr int kSheetVersion = 524;
// The settings page that hosts the sheet: Done button, sized, empty menu (35).
constexpr DWORD kHostDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG | SHIDIF_EMPTYMENU;

struct PageSpec {
    int captionId;
    int templateId;
    DLGPROC procedure;
};

constexpr std::array<PageSpec, 9> kPages{{
    {42140, IDD_PAGE_BASIC, BasicPageProc},
    {42233, IDD_PAGE_DISPLAY1, DisplayPage1Proc},
    {42141, IDD_PAGE_DISPLAY2, DisplayPage2Proc},
    {42259, IDD_PAGE_DISPLAY3, DisplayPage3Proc},
    {42142, IDD_PAGE_DAY_RANGE, DayRangePageProc},
    {42143, IDD_PAGE_COLOUR, ColourPageProc},
    {42162, IDD_PAGE_OPERATION, OperationPageProc},
    {42223, IDD_PAGE_APPOINTMENTS, AppointmentPageProc},
    {42234, IDD_PAGE_TASKS, TaskPageProc},
}};

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam) {
    switch (message) {
    case kSheetInitialised: {
        // The device maximises the sheet (its flag 0x2000, a wizard here).
        SHINITDLGINFO init{SHIDIM_FLAGS, sheet, SHIDIF_SIZEDLGFULLSCREEN};
        SHInitDialog(&init);
        SHMENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        bar.hwndParent = sheet;
        bar.dwFlags = SHCMBF_EMPTYBAR;
        SHCreateMenuBar(&bar);
        return 0;
    }
    case kSheetGetVersion:
        return kSheetVersion;
    case kSheetGetTitle:
        if (lParam != 0) {
            const std::wstring title = ToWide(LoadText(*TheItem().texts, text_id::kVersionTitle));
            std::wcsncpy(reinterpret_cast<wchar_t*>(lParam), title.c_str(), 260);
        }
        return 0;
    default:
        return 0;
    }
}

void RunSheet(TodayItem& item, OptionsSheet& sheet, HWND host) {
    std::array<std::wstring, kPages.size()> captions;
    std::array<HPROPSHEETPAGE, kPages.size()> pages{};
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        captions[i] = ToWide(LoadText(*item.texts, kPages[i].captionId));
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_USETITLE;
        page.hInstance = item.instance;
        page.pszTemplate = MAKEINTRESOURCEW(kPages[i].templateId);
        page.pfnDlgProc = kPages[i].procedure;
        page.pszTitle = captions[i].c_str();
        pages[i] = CreatePropertySheetPageW(&page);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    // The device's "maximize" flag (0x2000) means a wizard on the desktop;
    // the sheet is sized to the screen by SHInitDialog's substitute instead.
    header.dwFlags = PSH_USECALLBACK;
    header.hwndParent = host;
    header.hInstance = item.instance;
    header.pszCaption = L"VantrelSetting";
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.phpage = pages.data();
    header.pfnCallback = SheetCallback;
    sheet.result = 0;
    ModalScope open(&item.state.modalDepth);
    PropertySheetW(&header);
}

// A data-file path changed on the 基本 page: an existing file is read and
// shown from now on, a missing one gets the current data; the file before
// it is left as it is.
void MakeDataFile(TodayItem& item, const PathText& before, Prompt& prompt, bool stored) {
    if (item.settings.OpenFile == before.view()) {
        return;
    }
    DataFileContext data{item.store, item.settings, item.registry, item.files, prompt,
                         item.codec, item.clock,    *item.texts,   item.file};
    const bool changed = ChangeDataFile(data, item.settings.OpenFile.view());
    // Kept on the file whose change is still unsaved, or on the name a save
    // writes ("other.txt" is "other.vrl").
    const PathText chosen = changed ? PathText(item.file.currentPath.view()) : before;
    if (!(item.settings.OpenFile == chosen.view())) {
        item.settings.OpenFile = chosen;
        if (stored) {
            SaveOpenFile(item.settings, item.registry);
        }
    }
    if (!changed) {
        return;
    }
    ViewContext view = ItemView(item);
    refresh(view, item.state.view.currentFilter);
}

void InitialiseHost(HWND host, TodayItem& item, OptionsSheet& sheet) {
    sheet.host = host;
    sheet.prompt.reset(); // the next question is owned by this host
    const PathText before = item.settings.OpenFile;
    LoadSettings(item.settings, item.registry);
    for (int i = 0; i < 2; ++i) {
        SHINITDLGINFO init{SHIDIM_FLAGS, host, kHostDialogFlags};
        SHInitDialog(&init);
    }
    RunSheet(item, sheet, host);
    if (sheet.result >= 0) {
        SaveSettings(item.settings, item.registry, 0);
    }
    MakeDataFile(item, before, SheetPrompt(sheet, item.state.modalDepth), sheet.result >= 0);
}

} // namespace

} // namespace vantrel

extern "C" BOOL APIENTRY CustomItemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam,
                                                  LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        vantrel::InitialiseHost(dialog, vantrel::TheItem(), vantrel::TheSheet());
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
        case IDM_BAR_CANCEL:
        case IDM_BAR_OK:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
