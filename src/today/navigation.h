#pragma once

#include "settings/settings.h"
#include "today/command_codes.h"
#include "today/today_view_state.h"

#include <functional>

namespace vantrel {

// Where a tap landed: list column and row, and the zones it hit.
struct TapHit {
    int column = 0;
    int row = 0;
    bool onCheckBox = false;
    bool onPrevStrip = false;
    bool onNextStrip = false;
    // Column in the low 10 bits, flags 0x400, 0x800, 0x1000.
    int Packed() const {
        return (column & 0x3FF) | (onCheckBox ? 0x400 : 0) | (onPrevStrip ? 0x800 : 0) |
               (onNextStrip ? 0x1000 : 0);
    }
};

TapHit HitTest(const TodayViewState& state, const Settings& settings, int x, int y);

// Cursor and paging commands 16-19, 32, 33 and 35 over the view of
// `viewCount` entries; `refresh` rebuilds the view with the current filter
// (after viewShift moved). 0 only for up at the top and down at the end.
int MoveCursor(TodayViewState& state, const Settings& settings, int code, std::size_t viewCount,
               const std::function<void()>& refresh);

} // namespace vantrel
