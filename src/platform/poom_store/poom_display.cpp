#include "platform/poom_store/poom_display.h"

#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_prompt.h"

#include <windows.h>

#include <vector>

namespace vantrel {
namespace {

PoomDisplayHandler& Handler() {
    static PoomDisplayHandler handler;
    return handler;
}

enum : WORD { kIdSubject = 101, kIdStart = 102, kIdEnd = 103 };

// An in-memory dialog template: three labelled edits, OK and Cancel.
class TemplateBuilder {
  public:
    void Align() {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }
    template <class T> void Put(const T& value) {
        const auto* p = reinterpret_cast<const unsigned char*>(&value);
        bytes_.insert(bytes_.end(), p, p + sizeof value);
    }
    void PutText(const wchar_t* text) {
        do {
            Put(static_cast<WORD>(*text));
        } while (*text++ != 0);
    }
    void Control(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls,
                 const wchar_t* text) {
        Align();
        DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, x, y, cx, cy, id};
        Put(item);
        Put(static_cast<WORD>(0xFFFF));
        Put(cls);
        PutText(text);
        Put(static_cast<WORD>(0));
    }
    std::vector<unsigned char>& bytes() { return bytes_; }

  private:
    std::vector<unsigned char> bytes_;
};

INT_PTR CALLBACK FormProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* request = reinterpret_cast<PoomDisplayRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        request = reinterpret_cast<PoomDisplayRequest*>(lParam);
        SetDlgItemTextW(dialog, kIdSubject, ToWide(request->subject).c_str());
        SetDlgItemTextW(dialog, kIdStart, ToWide(request->start).c_str());
        SetDlgItemTextW(dialog, kIdEnd, ToWide(request->end).c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            if (LOWORD(wParam) == IDOK) {
                wchar_t text[260];
                GetDlgItemTextW(dialog, kIdSubject, text, 260);
                request->subject = FromWide(text);
                GetDlgItemTextW(dialog, kIdStart, text, 260);
                request->start = FromWide(text);
                GetDlgItemTextW(dialog, kIdEnd, text, 260);
                request->end = FromWide(text);
            }
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

bool ShowForm(PoomDisplayRequest& request) {
    TemplateBuilder t;
    DLGTEMPLATE header{DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
                       0,
                       8,
                       0,
                       0,
                       150,
                       100};
    t.Put(header);
    t.Put(static_cast<WORD>(0)); // no menu
    t.Put(static_cast<WORD>(0)); // standard class
    t.PutText(request.isTask ? L"新しいタスク" : L"新しい予定");
    t.Put(static_cast<WORD>(9));
    t.PutText(L"MS Shell Dlg");
    constexpr WORD kStatic = 0x0082, kEdit = 0x0081, kButton = 0x0080;
    t.Control(0, 6, 8, 40, 10, 0xFFFF, kStatic, L"件名");
    t.Control(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 6, 96, 12, kIdSubject, kEdit, L"");
    t.Control(0, 6, 26, 40, 10, 0xFFFF, kStatic, L"開始");
    t.Control(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 24, 96, 12, kIdStart, kEdit, L"");
    t.Control(0, 6, 44, 40, 10, 0xFFFF, kStatic, request.isTask ? L"期限" : L"終了");
    t.Control(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 42, 96, 12, kIdEnd, kEdit, L"");
    t.Control(BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 76, 50, 14, IDOK, kButton, L"OK");
    t.Control(WS_TABSTOP, 90, 76, 50, 14, IDCANCEL, kButton, L"キャンセル");
    t.Align();
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<LPCDLGTEMPLATEW>(t.bytes().data()), nullptr,
                                   FormProc, reinterpret_cast<LPARAM>(&request)) == IDOK;
}

} // namespace

void SetPoomDisplayHandler(PoomDisplayHandler handler) {
    Handler() = std::move(handler);
}

bool ShowPoomDisplay(PoomDisplayRequest& request) {
    if (Handler()) {
        return Handler()(request);
    }
    // A scripted run shows nothing: the display is logged, and a new item
    // is kept with its defaults when the answer is "ok" or "yes".
    const wchar_t* caption = request.isTask ? L"タスク" : L"予定";
    if (const std::optional<int> answer = ScriptedAnswer()) {
        LogPromptLine(FromWide(caption), request.isNew ? std::u16string(u"new") : request.summary);
        return !request.isNew || *answer == IDOK || *answer == IDYES;
    }
    if (request.isNew) {
        return ShowForm(request);
    }
    MessageBoxW(nullptr, ToWide(request.summary).c_str(), caption, MB_OK);
    return true;
}

} // namespace vantrel
