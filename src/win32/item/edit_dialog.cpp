// The entry edit dialog (IDD_ENTRY_EDIT): the controls are read into an
// EditForm, one rule runs, and the form is written back.

#include "platform/shell.h"
#include "resource_ids.h"
#include "today/edit_form.h"
#include "win32/bindings/wide_text.h"
#include "win32/dialog_controls.h"
#include "win32/item/item_window.h"

#include <commctrl.h>

#include <optional>
#include <vector>

namespace vantrel {
namespace {

constexpr int kTextCapacity = 1024;
constexpr const wchar_t* kDateFormat = L"yyy'/'MM'/'dd";
// Time pickers hold only the hour and minute that matter; any date they can
// hold serves.
constexpr DateTime kTimePickerDay{2000, 1, 1};

// The dialog's state: the item, the entry it was opened on (held for the
// dialog's lifetime) and the menu bar.
struct EditSession {
    TodayItem& item;
    int mode = 0;
    int index = -1;
    HWND menuBar = nullptr;
    bool writing = false; // our own picker updates are not user changes
    // A stored date that its date picker cannot hold (the pickers start at
    // 1752-09-14) is kept as it is, and shown as text in the picker, until
    // the user changes that picker.
    std::optional<DateTime> keptStart = std::nullopt;
    std::optional<DateTime> keptEnd = std::nullopt;
};

std::optional<DateTime>& Kept(EditSession& session, int dateId) {
    return dateId == IDC_ENTRY_START_DATE ? session.keptStart : session.keptEnd;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

SYSTEMTIME PickerValue(HWND dialog, int id) {
    SYSTEMTIME t{};
    SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

// True when the picker now holds the day: a date it cannot hold is refused
// without an error (Wine even reports success), so it is read back.
bool SetPicker(HWND dialog, int id, const DateTime& date, int hour, int minute) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(date.year);
    t.wMonth = static_cast<WORD>(date.month);
    t.wDay = static_cast<WORD>(date.day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    const SYSTEMTIME held = PickerValue(dialog, id);
    return held.wYear == t.wYear && held.wMonth == t.wMonth && held.wDay == t.wDay;
}

void SetFormat(HWND dialog, int id, const wchar_t* format) {
    SendDlgItemMessageW(dialog, id, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
}

// Sets a date picker; a date it cannot hold is kept and shown as text.
void ShowDate(EditSession& session, HWND dialog, int id, const DateTime& date) {
    std::optional<DateTime>& kept = Kept(session, id);
    if (SetPicker(dialog, id, date, 0, 0)) {
        if (kept) {
            kept.reset();
            SetFormat(dialog, id, kDateFormat);
        }
        return;
    }
    kept = date;
    SetFormat(dialog, id, ToWide(FixedDateFormat(date)).c_str());
}

// The user changed a date picker: from now on it holds the date.
void ReleaseDate(EditSession& session, HWND dialog, int id) {
    std::optional<DateTime>& kept = Kept(session, id);
    if (kept) {
        kept.reset();
        SetFormat(dialog, id, kDateFormat);
    }
}

DateTime PickerPair(HWND dialog, int dateId, int timeId) {
    const SYSTEMTIME d = PickerValue(dialog, dateId), t = PickerValue(dialog, timeId);
    return DateTime{d.wYear, d.wMonth, d.wDay, t.wHour, t.wMinute};
}

std::u16string WindowText(HWND window) {
    wchar_t text[kTextCapacity + 1] = {};
    GetWindowTextW(window, text, kTextCapacity + 1);
    return FromWide(text);
}

// The lines of a list box or combo box list, in list order.
std::vector<std::u16string> Lines(HWND control, UINT countMessage, UINT lengthMessage,
                                  UINT textMessage) {
    std::vector<std::u16string> lines;
    const LRESULT count = SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(control, textMessage, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(line.data()));
        line.resize(std::wcslen(line.c_str()));
        lines.push_back(FromWide(line));
    }
    return lines;
}

std::vector<std::u16string> ListLines(HWND dialog) {
    return Lines(GetDlgItem(dialog, IDC_ENTRY_TAG_LIST), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::u16string> ComboLines(HWND dialog) {
    return Lines(GetDlgItem(dialog, IDC_ENTRY_TAG_COMBO), CB_GETCOUNT, CB_GETLBTEXTLEN,
                 CB_GETLBTEXT);
}

EditForm ReadForm(const EditSession& session, HWND dialog) {
    EditForm form;
    form.pinned = Checked(dialog, IDC_ENTRY_PIN);
    form.todo = Checked(dialog, IDC_ENTRY_TODO);
    form.timeBox = Checked(dialog, IDC_ENTRY_TIME_BOX);
    form.endBox = Checked(dialog, IDC_ENTRY_END_BOX);
    form.start = PickerPair(dialog, IDC_ENTRY_START_DATE, IDC_ENTRY_START_TIME);
    form.end = PickerPair(dialog, IDC_ENTRY_END_DATE, IDC_ENTRY_END_TIME);
    if (session.keptStart) {
        form.start = WithDateOf(form.start, *session.keptStart);
    }
    if (session.keptEnd) {
        form.end = WithDateOf(form.end, *session.keptEnd);
    }
    form.startDateOn = Enabled(dialog, IDC_ENTRY_START_DATE);
    form.startTimeOn = Enabled(dialog, IDC_ENTRY_START_TIME);
    form.endDateOn = Enabled(dialog, IDC_ENTRY_END_DATE);
    form.endTimeOn = Enabled(dialog, IDC_ENTRY_END_TIME);
    form.title = WindowText(GetDlgItem(dialog, IDC_ENTRY_TITLE));
    form.tags = ListLines(dialog);
    return form;
}

// Writes back what the rules change: the boxes, the pickers and which
// of the pickers are enabled.
void WriteForm(EditSession& session, HWND dialog, const EditForm& form) {
    session.writing = true;
    SetChecked(dialog, IDC_ENTRY_PIN, form.pinned);
    SetChecked(dialog, IDC_ENTRY_TODO, form.todo);
    SetChecked(dialog, IDC_ENTRY_TIME_BOX, form.timeBox);
    SetChecked(dialog, IDC_ENTRY_END_BOX, form.endBox);
    ShowDate(session, dialog, IDC_ENTRY_START_DATE, form.start);
    SetPicker(dialog, IDC_ENTRY_START_TIME, kTimePickerDay, form.start.hour, form.start.minute);
    ShowDate(session, dialog, IDC_ENTRY_END_DATE, form.end);
    SetPicker(dialog, IDC_ENTRY_END_TIME, kTimePickerDay, form.end.hour, form.end.minute);
    Enable(dialog, IDC_ENTRY_START_DATE, form.startDateOn);
    Enable(dialog, IDC_ENTRY_START_TIME, form.startTimeOn);
    Enable(dialog, IDC_ENTRY_END_DATE, form.endDateOn);
    Enable(dialog, IDC_ENTRY_END_TIME, form.endTimeOn);
    session.writing = false;
}

void Initialise(EditSession& session, HWND dialog) {
    TodayItem& item = session.item;
    session.menuBar = OpenFullScreenDialog(dialog, item.instance, IDR_DIALOG_MENU_BAR);

    // The title field spans the dialog, keeping its left margin on both sides.
    HWND title = GetDlgItem(dialog, IDC_ENTRY_TITLE);
    RECT field{}, client{};
    GetWindowRect(title, &field);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&field), 2);
    GetClientRect(dialog, &client);
    MoveWindow(title, field.left, field.top, client.right - 2 * field.left,
               field.bottom - field.top, FALSE);

    item.state.todoMode = 0;
    for (int id : {IDC_ENTRY_START_DATE, IDC_ENTRY_END_DATE}) {
        SetFormat(dialog, id, kDateFormat);
    }
    for (int id : {IDC_ENTRY_START_TIME, IDC_ENTRY_END_TIME}) {
        SetFormat(dialog, id, L"HH':'mm");
    }
    const ItemStore& store = item.store;
    for (const std::u16string& tag :
         TagVocabulary(store.ownTags, store.appointmentTags, store.taskTags)) {
        SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_COMBO, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }

    const Item* entry = session.mode != 0 ? SelectedEntry(item.store, item.state) : nullptr;
    session.index = entry != nullptr ? entry->index : -1;
    const EditForm form =
        OpenEditForm(entry != nullptr ? session.mode : 0, entry, item.clock.Now());
    item.state.todoMode = form.todo ? 1 : 0;
    SetDlgItemTextW(dialog, IDC_ENTRY_TITLE, ToWide(form.title).c_str());
    for (const std::u16string& tag : form.tags) {
        SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }
    WriteForm(session, dialog, form);
    if (form.readOnly) {
        for (int id : {IDC_ENTRY_TITLE, IDC_ENTRY_TODO, IDC_ENTRY_TAG_COMBO, IDC_ENTRY_TAG_LIST,
                       IDC_ENTRY_TAG_REGISTER, IDC_ENTRY_TAG_REMOVE, IDC_ENTRY_TIME_BOX,
                       IDC_ENTRY_END_BOX, IDC_ENTRY_PIN}) {
            Enable(dialog, id, false);
        }
    }
}

void RegisterTypedTag(HWND dialog) {
    const std::u16string tag = WindowText(GetDlgItem(dialog, IDC_ENTRY_TAG_COMBO));
    std::vector<std::u16string> listed = ListLines(dialog);
    if (!RegisterTag(listed, tag)) {
        return;
    }
    const std::wstring wide = ToWide(tag);
    SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()));
    std::vector<std::u16string> offered = ComboLines(dialog);
    if (RegisterTag(offered, tag)) {
        SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_COMBO, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

void Confirm(EditSession& session, HWND dialog) {
    TodayItem& item = session.item;
    const bool stored = session.mode >= 0 && StoreEditForm(ReadForm(session, dialog), session.mode,
                                                           session.index, item.store.own);
    item.state.dialogMode = stored ? 1 : 0;
    CloseFullScreenDialog(dialog, session.menuBar, IDOK);
}

// Runs one rule of the form over the dialog's controls.
void Apply(EditSession& session, HWND dialog, void (*rule)(EditForm&)) {
    EditForm form = ReadForm(session, dialog);
    rule(form);
    session.item.state.todoMode = form.todo ? 1 : 0;
    WriteForm(session, dialog, form);
}

void DateTimeChanged(EditSession& session, HWND dialog, UINT_PTR id) {
    switch (id) {
    case IDC_ENTRY_START_DATE:
        ReleaseDate(session, dialog, IDC_ENTRY_START_DATE);
        Apply(session, dialog, StartDateChanged);
        break;
    case IDC_ENTRY_START_TIME:
        Apply(session, dialog, StartTimeChanged);
        break;
    case IDC_ENTRY_END_DATE:
        ReleaseDate(session, dialog, IDC_ENTRY_END_DATE);
        Apply(session, dialog, EndDateChanged);
        break;
    case IDC_ENTRY_END_TIME:
        Apply(session, dialog, EndTimeChanged);
        break;
    default:
        break;
    }
}

bool Command(EditSession& session, HWND dialog, int id) {
    switch (id) {
    case IDC_ENTRY_TODO:
        Apply(session, dialog, ToDoClicked);
        return true;
    case IDC_ENTRY_END_BOX:
        Apply(session, dialog, EndBoxClicked);
        return true;
    case IDC_ENTRY_TIME_BOX:
        Apply(session, dialog, TimeBoxClicked);
        return true;
    case IDC_ENTRY_TAG_REGISTER:
        RegisterTypedTag(dialog);
        return true;
    case IDC_ENTRY_TAG_REMOVE: {
        const LRESULT selected =
            SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_LIST, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR) {
            SendDlgItemMessageW(dialog, IDC_ENTRY_TAG_LIST, LB_DELETESTRING,
                                static_cast<WPARAM>(selected), 0);
        }
        return true;
    }
    case IDM_BAR_OK:
    case IDOK:
        if (session.mode < 0) {
            session.item.state.dialogMode = 0;
            CloseFullScreenDialog(dialog, session.menuBar, IDOK);
        } else {
            Confirm(session, dialog);
        }
        return true;
    case IDM_BAR_CANCEL:
    case IDCANCEL:
        session.item.state.dialogMode = 0;
        CloseFullScreenDialog(dialog, session.menuBar, IDCANCEL);
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* session = reinterpret_cast<EditSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Initialise(*reinterpret_cast<EditSession*>(lParam), dialog);
        return TRUE;
    case WM_COMMAND:
        return session != nullptr && Command(*session, dialog, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (session != nullptr && !session->writing && header->code == DTN_DATETIMECHANGE) {
            DateTimeChanged(*session, dialog, header->idFrom);
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

} // namespace

void RunEditDialog(TodayItem& item, HWND window) {
    ModalScope open(&item.state.modalDepth);
    EditSession session{item, item.state.dialogMode};
    if (RunDialogResource(item.instance, IDD_ENTRY_EDIT, window, EditDialogProc,
                          reinterpret_cast<LPARAM>(&session)) == -1) {
        item.state.dialogMode = 0; // no dialog, nothing stored
    }
}

} // namespace vantrel
