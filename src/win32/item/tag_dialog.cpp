// The tag and search dialog (template 109): one editable drop-down whose
// text becomes the tag filter's tag or the search text.

#include "platform/shell.h"
#include "text/text_table.h"
#include "win32/bindings/wide_text.h"
#include "win32/item/item_window.h"

namespace vantrel {
namespace {

enum : int {
    kDialogTemplate = 109,
    kMenuBarResource = 109,
    kIdText = 1019,
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
    session.menuBar = OpenFullScreenDialog(dialog, item.instance, kMenuBarResource);
    SetWindowTextW(
        dialog,
        ToWide(LoadText(*item.texts, session.mode == 0 ? kTagTitle : kSearchTitle)).c_str());

    if (session.mode != 0) {
        SetDlgItemTextW(dialog, kIdText, ToWide(item.state.view.searchText).c_str());
        return;
    }
    const ItemStore& store = item.store;
    for (const std::u16string& tag :
         TagVocabulary(store.ownTags, store.appointmentTags, store.taskTags)) {
        SendDlgItemMessageW(dialog, kIdText, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }
    SetDlgItemTextW(dialog, kIdText, ToWide(item.settings.FilterTag).c_str());
}

void Confirm(TagSession& session, HWND dialog) {
    wchar_t text[kTextCapacity + 1] = {};
    GetDlgItemTextW(dialog, kIdText, text, kTextCapacity + 1);
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
        case kMenuOk:
        case IDOK:
            Confirm(*session, dialog);
            return TRUE;
        case kMenuCancel:
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
    RunDialogResource(item.instance, kDialogTemplate, window, TagDialogProc,
                      reinterpret_cast<LPARAM>(&session));
}

} // namespace vantrel
