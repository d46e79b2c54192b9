#pragma once

#include "settings/settings.h"
#include "today/today_view_state.h"

#include <functional>

namespace vantrel {

// The stamp of AutoUpdate for a moment: the day (1), plus the minute (2) or
// the hour (3); any other value keeps `previous`. The year is not in it.
int RefreshStamp(int autoUpdate, const SystemTime& t, int previous);

// What the refresh query may do to the window.
struct RefreshQueryActions {
    std::function<bool()> desktopVisible; // absent: never visible
    std::function<void(int code)> refresh;
    std::function<void()> invalidate;
    // Lays the item out again for the view a refresh just built, so that
    // the same query hands over its height (DataLine sizes to the view).
    std::function<void()> layout;
};

// The Today screen's periodic poll: auto refresh, return to the start view
// after ResetTime, the enlargement timeout and the height hand-over into
// `cyp`. True when it wrote a new height.
bool QueryRefresh(TodayViewState& state, Settings& settings, const SystemTime& now, int& cyp,
                  const RefreshQueryActions& actions);

} // namespace vantrel
