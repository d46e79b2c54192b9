#include "today/commands.h"

#include "outlook/item_actions.h"
#include "text/text_ids.h"
#include "today/copy_text.h"
#include "today/navigation.h"
#include "view/check_toggle.h"

namespace vantrel {
namespace {

int Ask(const CommandActions& a, const TextTable& texts, int textId, unsigned style) {
    return a.prompt != nullptr ? a.prompt->ShowMessage(LoadText(texts, textId), u"Warning", style)
                               : kIdNo;
}

void Refresh(ViewContext& view) {
    refresh(view, view.state.currentFilter);
}

void Save(const CommandActions& a) {
    if (a.save) {
        a.save();
    }
}

void Outlook(const CommandActions& a, int source, int oid, int operation, const SystemTime& when) {
    if (a.outlook) {
        a.outlook(source, oid, operation, when);
    }
}

// The moment an occurrence operation addresses: the entry's start day at
// the given time of day.
SystemTime OnStartDay(const Item& entry, SystemTime t) {
    t.year = static_cast<std::uint16_t>(entry.startDate.year);
    t.month = static_cast<std::uint16_t>(entry.startDate.month);
    t.day = static_cast<std::uint16_t>(entry.startDate.day);
    return t;
}

void EditDialog(ViewContext& view, TodayViewState& state, const CommandActions& a, int mode) {
    state.dialogMode = mode;
    if (a.editDialog) {
        a.editDialog();
    }
    state.menuPending = 0;
    if (state.dialogMode != 0) {
        Refresh(view);
        Save(a);
    }
}

void EditOrView(ViewContext& view, TodayViewState& state, const CommandActions& a, bool edit) {
    const Item* entry = SelectedEntry(view.store, state);
    if (entry == nullptr) {
        return;
    }
    if (entry->source == kOwnEntry) {
        EditDialog(view, state, a, edit ? 1 : -1);
        return;
    }
    SystemTime when = view.clock.Now();
    int operation = edit ? kOutlookEdit : kOutlookView;
    if (entry->recurring != 0) {
        operation += kOutlookOccurrence;
        when = OnStartDay(*entry, when);
    }
    Outlook(a, entry->source, entry->index, operation, when);
    state.menuPending = 0;
    Refresh(view);
}

void Delete(ViewContext& view, TodayViewState& state, const CommandActions& a) {
    const Item* selected = SelectedEntry(view.store, state);
    if (selected == nullptr) {
        state.menuPending = 0;
        return;
    }
    // The questions run modal loops; work on a copy of the line.
    const Item entry = *selected;
    const bool warn = view.settings.DelWarn != 0;
    if (entry.source != kOwnEntry) {
        const SystemTime now = view.clock.Now();
        int operation = kOutlookDelete;
        SystemTime when = now;
        if (entry.recurring != 0) {
            const int answer = Ask(a, view.texts, text_id::kAskDeleteSeries, kAskYesNoCancel);
            if (answer != kIdYes && answer != kIdNo) {
                state.menuPending = 0;
                return;
            }
            operation = answer == kIdYes ? kOutlookDelete : kOutlookDeleteOccurrence;
            when = OnStartDay(entry, now);
        } else if (warn && Ask(a, view.texts, text_id::kAskDelete, kAskYesNo) != kIdYes) {
            return;
        }
        Outlook(a, entry.source, entry.index, operation, when);
        state.menuPending = 0;
        Refresh(view);
        return;
    }
    if (warn && Ask(a, view.texts, text_id::kAskDelete, kAskYesNo) != kIdYes) {
        return;
    }
    EraseAt(view.store.own, entry.index);
    state.menuPending = 0;
    Refresh(view);
    Save(a);
}

void Duplicate(ViewContext& view, TodayViewState& state, const CommandActions& a) {
    ItemStore& store = view.store;
    const Item* selected = SelectedEntry(store, state);
    if (selected == nullptr) {
        return;
    }
    const bool fromOutlook = selected->source != kOwnEntry;
    DuplicateEntry(store.own, store.view, state.view.pageTop + state.view.cursor);
    if (fromOutlook) {
        state.view.cursor = 0;
        state.view.pageTop = static_cast<int>(store.view.size()) - 1;
    }
    state.dialogMode = 1;
    if (a.editDialog) {
        a.editDialog();
    }
    if (state.dialogMode == 0) {
        EraseAt(store.own, static_cast<int>(store.own.size()) - 1);
    }
    state.menuPending = 0;
    Refresh(view);
    Save(a);
}

void Pin(ViewContext& view, TodayViewState& state, const CommandActions& a) {
    Item* entry = SelectedEntry(view.store, state);
    if (!view.store.own.empty() && entry != nullptr && entry->source == kOwnEntry) {
        entry->pinned = entry->pinned != 0 ? 0 : 1;
        WriteBack(view.store.own, *entry);
    }
    state.menuPending = 0;
    Save(a);
}

void ToggleSource(ViewContext& view, TodayViewState& state, int bit) {
    state.view.sourceMask ^= bit;
    state.viewChanged = 1;
    state.menuPending = 0;
    Refresh(view);
}

void NewOutlookItem(ViewContext& view, TodayViewState& state, const CommandActions& a, int source) {
    Outlook(a, source, 0, kOutlookCreate, view.clock.Now());
    state.menuPending = 0;
    Refresh(view);
}

void Filter(ViewContext& view, TodayViewState& state, int kind) {
    state.view.viewShift = 0;
    refresh(view, kind);
    state.viewChanged = 1;
}

void Popup(TodayViewState& state, const CommandActions& a, int popup, int x, int y) {
    if (popup == kPopupCommand) {
        state.menuPending = 1;
    }
    if (a.popupMenu) {
        a.popupMenu(popup, x, y);
    }
}

} // namespace

Item* SelectedEntry(ItemStore& store, const TodayViewState& state) {
    const int position = state.view.pageTop + state.view.cursor;
    if (position < 0 || static_cast<std::size_t>(position) >= store.view.size()) {
        return nullptr;
    }
    return &store.view[static_cast<std::size_t>(position)];
}

void ToggleSelectedCheck(ViewContext& view, TodayViewState& state, const CommandActions& a) {
    CheckActions check;
    check.confirm = [&a, &view] {
        return Ask(a, view.texts, text_id::kAskToggleCheck, kAskYesNo) == kIdYes;
    };
    check.toggleTask = [&a](int oid, const SystemTime& now) {
        Outlook(a, kTask, oid, kOutlookToggleComplete, now);
    };
    check.save = [&a] { Save(a); };
    ToggleCheck(view, state.view.pageTop + state.view.cursor, check);
}

int RunCommand(ViewContext& view, TodayViewState& state, const CommandActions& a, int code, int x,
               int y) {
    switch (code) {
    case kCmdAdd:
        EditDialog(view, state, a, 0);
        return 1;
    case kCmdEdit:
    case kCmdView:
        EditOrView(view, state, a, code == kCmdEdit);
        return 1;
    case kCmdMenu:
        Popup(state, a, kPopupCommand, x, y);
        return 1;
    case kCmdFilterMenu:
        Popup(state, a, kPopupFilter, x, y);
        return 1;
    case kCmdDataMenu:
        Popup(state, a, kPopupData, x, y);
        return 1;
    case kCmdCheck:
        ToggleSelectedCheck(view, state, a);
        state.menuPending = 0;
        return 1;
    case kCmdPin:
        Pin(view, state, a);
        return 1;
    case kCmdRefresh:
        state.menuPending = 0;
        Refresh(view);
        return 1;
    case kCmdDelete:
        Delete(view, state, a);
        return 1;
    case kCmdDuplicate:
        Duplicate(view, state, a);
        return 1;
    case kCmdToggleOwn:
        ToggleSource(view, state, kSourceOwnBit);
        return 1;
    case kCmdToggleAppointments:
        ToggleSource(view, state, kSourceAppointmentsBit);
        return 1;
    case kCmdToggleTasks:
        ToggleSource(view, state, kSourceTasksBit);
        return 1;
    case kCmdNewAppointment:
        NewOutlookItem(view, state, a, kAppointment);
        return 1;
    case kCmdNewTask:
        NewOutlookItem(view, state, a, kTask);
        return 1;
    case kCmdFilterTag:
    case kCmdFilterSearch:
        state.dialogMode = code == kCmdFilterTag ? 0 : 1;
        if (a.tagDialog) {
            a.tagDialog();
        }
        return 1;
    case kCmdFilterPast:
        Filter(view, state, kFilterPast);
        return 1;
    case kCmdCopy:
        if (const Item* entry = SelectedEntry(view.store, state); entry != nullptr && a.copy) {
            a.copy(CopyText(*entry, view.clock.Now()));
        }
        return 1;
    case kCmdUp:
    case kCmdDown:
    case kCmdPrevPage:
    case kCmdNextPage:
    case kCmdLeft:
    case kCmdRight:
    case kCmdEnlarge:
        return MoveCursor(state, view.settings, code, view.store.view.size(),
                          [&view] { Refresh(view); });
    default:
        if (code >= kCmdFilterAll && code <= kCmdFilterToDo) {
            Filter(view, state, code - kCmdFilterAll);
        }
        return 1;
    }
}

void ConfirmTagSearch(ViewContext& view, TodayViewState& state, int mode,
                      std::u16string_view text) {
    if (mode == 0) {
        view.settings.FilterTag = text;
    } else {
        state.view.searchText = text;
    }
    refresh(view, mode == 0 ? kFilterTag : kFilterSearch);
    state.viewChanged = 1;
}

} // namespace vantrel
