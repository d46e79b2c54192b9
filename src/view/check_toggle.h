#pragma once

#include "view/view_list.h"

#include <functional>

namespace vantrel {

// What toggling a check needs from the shell.
struct CheckActions {
    std::function<bool()> confirm;                                  // asked when CheckWarn is on
    std::function<void(int oid, const SystemTime& now)> toggleTask; // Outlook completion
    std::function<void()> save;                                     // the own data file
};

// Toggles the check of ViewList[selected]: a task through Outlook, an own
// entry in place (CheckSort off: the line keeps its place) or followed by
// a refresh (CheckSort on). The data file is saved in every case.
void ToggleCheck(ViewContext& ctx, int selected, const CheckActions& actions);

} // namespace vantrel
