// The tag and search dialog (IDD_TAG_SEARCH): one editable drop-down whose
// text becomes the tag filter's tag or the search text.

#include "platform/shell.h"
#include "resource_ids.h"
#include "text/text_table.h"
#include "win32/bindings/wide_text.h"
#include "win32/item/item_window.h"

namespace vantrel {
namespace {

enum : int {
    kTagTitle = 42228,    // "タグ"
    kSearchTitle = 42241, // "検索"
};

constexpr int kTextCapacity = 260;

struct TagSession {
    TodayItem& item;
    int mode = 0; // 0 tag, 1 search
    HWND menuBar = nullptr;
};

void Initialise(TagSession& session, HWND dialog) {
    TodayItem& item = session.item;
    session.menuBar = OpenFullScreenDialog(dialog, item.instance, IDR_DIALOG_MENU_BAR);
    SetWindowTextW(
        dialog,
        ToWide(LoadText(*item.texts, session.mode == 0 ? kTagTitle : kSearchTitle)).c_str());

    if (session.mode != 0) {
        SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, ToWide(item.state.view.searchText).c_str());
        return;
    }
    const ItemStore& store = item.store;
    for (const std::u16string& tag :
         TagVocabulary(store.ownTags, store.appointmentTags, store.taskTags)) {
        SendDlgItemMessageW(dialog, IDC_TAG_SEARCH_TEXT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }
    SetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, ToWide(item.settings.FilterTag).c_str());
}

void Confirm(TagSession& session, HWND dialog) {
    wchar_t text[kTextCapacity + 1] = {};
    GetDlgItemTextW(dialog, IDC_TAG_SEARCH_TEXT, text, kTextCapacity + 1);
    CloseFullScreenDialog(dialog, session.menuBar, IDOK);
    TodayItem& item = session.item;
    ViewContext view = ItemView(item);
    ConfirmTagSearch(view, item.state, session.mode, FromWide(text));
}

INT_PTR CALLBACK TagDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* session = reinterpret_cast<TagSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Initialise(*reinterpret_cast<TagSession*>(lParam), dialog);
        return TRUE;
    case WM_COMMAND:
        if (session == nullptr) {
            return FALSE;
        }
        switch (LOWORD(wParam)) {
        case IDM_BAR_OK:
        case IDOK:
            Confirm(*session, dialog);
            return TRUE;
        case IDM_BAR_CANCEL:
        case IDCANCEL:
            CloseFullScreenDialog(dialog, session->menuBar, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

void RunTagDialog(TodayItem& item, HWND window) {
    ModalScope open(&item.state.modalDepth);
    TagSession session{item, item.state.dialogMode};
    RunDialogResource(item.instance, IDD_TAG_SEARCH, window, TagDialogProc,
                      reinterpret_cast<LPARAM>(&session));
}

} // namespace vantrel
