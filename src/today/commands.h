#pragma once

#include "today/command_codes.h"
#include "today/today_view_state.h"
#include "ui/prompt.h"
#include "view/view_list.h"

#include <functional>
#include <string_view>

namespace vantrel {

// What the commands need from the shell: the popups, the two modal
// dialogs, Outlook, the clipboard, the data file and the questions.
struct CommandActions {
    std::function<void(int popup, int x, int y)> popupMenu;
    std::function<void()> editDialog; // reads and sets state.dialogMode
    std::function<void()> tagDialog;  // confirms through ConfirmTagSearch
    // Outlook item operation: source 1 appointment, 3 task.
    std::function<void(int source, int oid, int operation, const SystemTime& when)> outlook;
    std::function<void(std::u16string_view text)> copy;
    std::function<void()> save; // the own data file
    Prompt* prompt = nullptr;   // no prompt: every question is answered "no"
};

// The entry under the cursor, or nullptr when the view has none there.
Item* SelectedEntry(ItemStore& store, const TodayViewState& state);

// Toggles the check of the selected entry (asking first when CheckWarn is
// on) and saves the data file; what command 5 and a tap on a check box do.
void ToggleSelectedCheck(ViewContext& view, TodayViewState& state, const CommandActions& actions);

// Runs one command code. 1, except that the cursor commands up and down
// return 0 at the edge. Codes outside 0..36 do nothing.
int RunCommand(ViewContext& view, TodayViewState& state, const CommandActions& actions, int code,
               int x, int y);

// The confirmed text of the tag (mode 0) or search (mode 1) dialog.
void ConfirmTagSearch(ViewContext& view, TodayViewState& state, int mode, std::u16string_view text);

} // namespace vantrel
