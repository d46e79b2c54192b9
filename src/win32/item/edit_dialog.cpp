// The entry edit dialog (template 108): the controls are read into an
// EditForm, one rule runs, and the form is written back.

#include "platform/shell.h"
#include "today/edit_form.h"
#include "win32/bindings/wide_text.h"
#include "win32/dialog_controls.h"
#include "win32/item/item_window.h"

#include <commctrl.h>

#include <optional>
#include <vector>

namespace vantrel {
namespace {

enum : int {
    kDialogTemplate = 108,
    kMenuBarResource = 109,
    kIdTitle = 1000,
    kIdStartDate = 1001,
    kIdStartTime = 1002,
    kIdEndDate = 1003,
    kIdEndTime = 1004,
    kIdTagCombo = 1007,
    kIdPin = 1008,
    kIdTimeBox = 1009,
    kIdEndBox = 1010,
    kIdToDo = 1013,
    kIdTagList = 1039,
    kIdRegister = 1040,
    kIdRemove = 1041,
};

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
    return dateId == kIdStartDate ? session.keptStart : session.keptEnd;
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
    return Lines(GetDlgItem(dialog, kIdTagList), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::u16string> ComboLines(HWND dialog) {
    return Lines(GetDlgItem(dialog, kIdTagCombo), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

EditForm ReadForm(const EditSession& session, HWND dialog) {
    EditForm form;
    form.pinned = Checked(dialog, kIdPin);
    form.todo = Checked(dialog, kIdToDo);
    form.timeBox = Checked(dialog, kIdTimeBox);
    form.endBox = Checked(dialog, kIdEndBox);
    form.start = PickerPair(dialog, kIdStartDate, kIdStartTime);
    form.end = PickerPair(dialog, kIdEndDate, kIdEndTime);
    if (session.keptStart) {
        form.start = WithDateOf(form.start, *session.keptStart);
    }
    if (session.keptEnd) {
        form.end = WithDateOf(form.end, *session.keptEnd);
    }
    form.startDateOn = Enabled(dialog, kIdStartDate);
    form.startTimeOn = Enabled(dialog, kIdStartTime);
    form.endDateOn = Enabled(dialog, kIdEndDate);
    form.endTimeOn = Enabled(dialog, kIdEndTime);
    form.title = WindowText(GetDlgItem(dialog, kIdTitle));
    form.tags = ListLines(dialog);
    return form;
}

// Writes back what the rules change: the boxes, the pickers and which
// of the pickers are enabled.
void WriteForm(EditSession& session, HWND dialog, const EditForm& form) {
    session.writing = true;
    SetChecked(dialog, kIdPin, form.pinned);
    SetChecked(dialog, kIdToDo, form.todo);
    SetChecked(dialog, kIdTimeBox, form.timeBox);
    SetChecked(dialog, kIdEndBox, form.endBox);
    ShowDate(session, dialog, kIdStartDate, form.start);
    SetPicker(dialog, kIdStartTime, kTimePickerDay, form.start.hour, form.start.minute);
    ShowDate(session, dialog, kIdEndDate, form.end);
    SetPicker(dialog, kIdEndTime, kTimePickerDay, form.end.hour, form.end.minute);
    Enable(dialog, kIdStartDate, form.startDateOn);
    Enable(dialog, kIdStartTime, form.startTimeOn);
    Enable(dialog, kIdEndDate, form.endDateOn);
    Enable(dialog, kIdEndTime, form.endTimeOn);
    session.writing = false;
}

void Initialise(EditSession& session, HWND dialog) {
    TodayItem& item = session.item;
    session.menuBar = OpenFullScreenDialog(dialog, item.instance, kMenuBarResource);

    // The title field spans the dialog, keeping its left margin on both sides.
    HWND title = GetDlgItem(dialog, kIdTitle);
    RECT field{}, client{};
    GetWindowRect(title, &field);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&field), 2);
    GetClientRect(dialog, &client);
    MoveWindow(title, field.left, field.top, client.right - 2 * field.left,
               field.bottom - field.top, FALSE);

    item.state.todoMode = 0;
    for (int id : {kIdStartDate, kIdEndDate}) {
        SetFormat(dialog, id, kDateFormat);
    }
    for (int id : {kIdStartTime, kIdEndTime}) {
        SetFormat(dialog, id, L"HH':'mm");
    }
    const ItemStore& store = item.store;
    for (const std::u16string& tag :
         TagVocabulary(store.ownTags, store.appointmentTags, store.taskTags)) {
        SendDlgItemMessageW(dialog, kIdTagCombo, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }

    const Item* entry = session.mode != 0 ? SelectedEntry(item.store, item.state) : nullptr;
    session.index = entry != nullptr ? entry->index : -1;
    const EditForm form =
        OpenEditForm(entry != nullptr ? session.mode : 0, entry, item.clock.Now());
    item.state.todoMode = form.todo ? 1 : 0;
    SetDlgItemTextW(dialog, kIdTitle, ToWide(form.title).c_str());
    for (const std::u16string& tag : form.tags) {
        SendDlgItemMessageW(dialog, kIdTagList, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(ToWide(tag).c_str()));
    }
    WriteForm(session, dialog, form);
    if (form.readOnly) {
        for (int id : {kIdTitle, kIdToDo, kIdTagCombo, kIdTagList, kIdRegister, kIdRemove,
                       kIdTimeBox, kIdEndBox, kIdPin}) {
            Enable(dialog, id, false);
        }
    }
}

void RegisterTypedTag(HWND dialog) {
    const std::u16string tag = WindowText(GetDlgItem(dialog, kIdTagCombo));
    std::vector<std::u16string> listed = ListLines(dialog);
    if (!RegisterTag(listed, tag)) {
        return;
    }
    const std::wstring wide = ToWide(tag);
    SendDlgItemMessageW(dialog, kIdTagList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()));
    std::vector<std::u16string> offered = ComboLines(dialog);
    if (RegisterTag(offered, tag)) {
        SendDlgItemMessageW(dialog, kIdTagCombo, CB_ADDSTRING, 0,
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
    case kIdStartDate:
        ReleaseDate(session, dialog, kIdStartDate);
        Apply(session, dialog, StartDateChanged);
        break;
    case kIdStartTime:
        Apply(session, dialog, StartTimeChanged);
        break;
    case kIdEndDate:
        ReleaseDate(session, dialog, kIdEndDate);
        Apply(session, dialog, EndDateChanged);
        break;
    case kIdEndTime:
        Apply(session, dialog, EndTimeChanged);
        break;
    default:
        break;
    }
}

bool Command(EditSession& session, HWND dialog, int id) {
    switch (id) {
    case kIdToDo:
        Apply(session, dialog, ToDoClicked);
        return true;
    case kIdEndBox:
        Apply(session, dialog, EndBoxClicked);
        return true;
    case kIdTimeBox:
        Apply(session, dialog, TimeBoxClicked);
        return true;
    case kIdRegister:
        RegisterTypedTag(dialog);
        return true;
    case kIdRemove: {
        const LRESULT selected = SendDlgItemMessageW(dialog, kIdTagList, LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR) {
            SendDlgItemMessageW(dialog, kIdTagList, LB_DELETESTRING, static_cast<WPARAM>(selected),
                                0);
        }
        return true;
    }
    case kMenuOk:
    case IDOK:
        if (session.mode < 0) {
            session.item.state.dialogMode = 0;
            CloseFullScreenDialog(dialog, session.menuBar, IDOK);
        } else {
            Confirm(session, dialog);
        }
        return true;
    case kMenuCancel:
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
    if (RunDialogResource(item.instance, kDialogTemplate, window, EditDialogProc,
                          reinterpret_cast<LPARAM>(&session)) == -1) {
        item.state.dialogMode = 0; // no dialog, nothing stored
    }
}

} // namespace vantrel
