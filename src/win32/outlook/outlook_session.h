#pragma once

#include "model/item_store.h"
#include "model/system_time.h"
#include "outlook/item_actions.h"
#include "settings/settings.h"
#include "text/text_table.h"
#include "view/view_list.h"

#include <cstdint>
#include <string>

namespace vantrel {

struct IPOutlookApp;

inline constexpr int kRecentlyEndedMode = 100;

// One session to the Outlook store for the life of the module.
struct OutlookSession {
    IPOutlookApp* app = nullptr;
    int loggedOn = 0;
};

// What the imports read and fill.
struct OutlookContext {
    OutlookSession& session;
    ItemStore& store;
    const Settings& settings;
    const TextTable& texts;
};

std::int32_t OpenOutlookSession(OutlookSession& session); // an HRESULT
int ImportAppointmentsInWindow(OutlookContext& ctx, int mode, int viewShift, const SystemTime& now);
int ImportAllAppointments(OutlookContext& ctx, const SystemTime& now);
int ImportTasks(OutlookContext& ctx, const SystemTime& now);
// Empty when the action's change was made (or it changes nothing), else
// what failed, for the user.
std::u16string OutlookItemAction(OutlookSession& session, int kind, int oid, int action,
                                 const SystemTime& when);

// The refresh's loaders bound to the session: windowed import for codes
// 1-3 and 5-8, the full import otherwise, and the tasks.
SourceLoaders OutlookLoaders(OutlookContext& ctx);

} // namespace vantrel
