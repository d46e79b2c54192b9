// 基本: the data file, the start-up sources and filter, the number of
// lines, and the two maintenance actions.

#include "options/option_rules.h"
#include "resource_ids.h"
#include "settings/settings_store.h"
#include "text/text_ids.h"
#include "win32/bindings/wide_text.h"
#include "win32/options/option_pages.h"

#include <array>

namespace vantrel {
namespace {

constexpr std::array<int, 12> kFilterNames{42144, 42145, 42146, 42147, 42148, 42149,
                                           42150, 42151, 42219, 42220, 42228, 42258};

constexpr BitBinding kSources[] = {
    {IDC_BASIC_OWN, &Settings::StartView, kSourceOwnBit},
    {IDC_BASIC_APPOINTMENTS, &Settings::StartView, kSourceAppointmentsBit},
    {IDC_BASIC_TASKS, &Settings::StartView, kSourceTasksBit}};

// Label/pattern pairs; the literal's own terminator ends the list.
constexpr char16_t kBrowseFilterText[] = u"Vantrelファイル (*.vrl)\0*.vrl\0"
                                         u"すべてのファイル (*.*)\0*.*\0";
constexpr std::u16string_view kBrowseFilter{kBrowseFilterText, std::size(kBrowseFilterText)};

// `currentFilter`: the view's filter, shown when the filter is remembered.
void Show(HWND page, const Settings& s, const TextTable& texts, int currentFilter) {
    SetDlgItemTextW(page, IDC_BASIC_PATH, ToWide(s.OpenFile.view()).c_str());
    ShowBits(page, s, kSources);
    const bool remembered = s.SaveFilter != 0;
    SetChecked(page, IDC_BASIC_FILTER_BOX, !remembered);
    FillList(page, IDC_BASIC_FILTER_LIST, texts, kFilterNames,
             StartFilterIndex(remembered ? currentFilter : s.StartFilter));
    Enable(page, IDC_BASIC_FILTER_LIST, !remembered);
    SetNumber(page, IDC_BASIC_LINES, 0, 9999, s.ViewLine);
    SetChecked(page, IDC_BASIC_LINES_FOLLOW_DATA, s.DataLine != 0);
}

void Apply(HWND page, Settings& s) {
    s.OpenFile = TextOf(page, IDC_BASIC_PATH);
    StoreBits(page, s, kSources);
    s.StartFilter = StartFilterCode(ListIndex(page, IDC_BASIC_FILTER_LIST));
    s.SaveFilter = Checked(page, IDC_BASIC_FILTER_BOX) ? 0 : 1;
    s.ViewLine = NumberOf(page, IDC_BASIC_LINES);
    s.DataLine = Checked(page, IDC_BASIC_LINES_FOLLOW_DATA) ? 1 : 0;
}

void Browse(HWND page, Prompt& prompt) {
    std::u16string path = TextOf(page, IDC_BASIC_PATH);
    if (prompt.askOpenFileName(path, kBrowseFilter) > 0) {
        SetDlgItemTextW(page, IDC_BASIC_PATH, ToWide(path).c_str());
    }
}

// `sheetResult` becomes negative: the sheet must not store the settings.
void DeleteAllSettings(Prompt& prompt, const TextTable& texts, Registry& registry,
                       int& sheetResult) {
    if (prompt.ShowMessage(LoadText(texts, text_id::kAskDeleteSettings), u"Warning", kAskYesNo) ==
        kIdNo) {
        return;
    }
    sheetResult = -1;
    DeleteSettings(registry);
}

// Keeps only the own entries the view shows, in view order.
void CleanData(TodayItem& item, Prompt& prompt) {
    item.state.menuPending = 1; // no refresh may rebuild the view meanwhile
    if (prompt.ShowMessage(LoadText(*item.texts, text_id::kAskKeepOnlyShown), u"Warning",
                           kAskYesNo) == kIdYes) {
        KeepOnlyShown(item.store.own, item.store.view);
        DataFileContext data = ItemDataFile(item);
        save(data);
    }
    item.state.menuPending = 0; // "No" too: the polls go on refreshing
}

} // namespace

INT_PTR CALLBACK BasicPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    TodayItem& item = TheItem();
    if (const auto handled = PageMessage(
            page, message, lParam,
            [&] { Show(page, item.settings, *item.texts, item.state.view.currentFilter); },
            [&] { Apply(page, item.settings); })) {
        return *handled;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    OptionsSheet& sheet = TheSheet();
    Prompt& prompt = SheetPrompt(sheet, item.state.modalDepth);
    switch (LOWORD(wParam)) {
    case IDC_BASIC_FILTER_BOX:
        Enable(page, IDC_BASIC_FILTER_LIST, Checked(page, IDC_BASIC_FILTER_BOX));
        return TRUE;
    case IDC_BASIC_BROWSE:
        Browse(page, prompt);
        return TRUE;
    case IDC_BASIC_DELETE_SETTINGS:
        DeleteAllSettings(prompt, *item.texts, item.registry, sheet.result);
        return TRUE;
    case IDC_BASIC_CLEAN_DATA:
        CleanData(item, prompt);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace vantrel
