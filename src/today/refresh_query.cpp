#include "today/refresh_query.h"

#include "model/date_time.h"

namespace vantrel {

int RefreshStamp(int autoUpdate, const SystemTime& t, int previous) {
    const int day = (t.month * 100 + t.day) * 10000;
    switch (autoUpdate) {
    case 1:
        return day;
    case 2:
        return day + t.hour * 60 + t.minute;
    case 3:
        return day + t.hour * 60;
    default:
        return previous;
    }
}

bool QueryRefresh(TodayViewState& state, Settings& s, const SystemTime& now, int& cyp,
                  const RefreshQueryActions& a) {
    const int stamp = RefreshStamp(s.AutoUpdate, now, state.refreshStamp);
    if (state.menuPending != 0 || state.modalDepth > 0) {
        return false;
    }
    const bool visible = a.desktopVisible ? a.desktopVisible() : false;
    if ((visible ? 1 : 0) != state.desktopVisible) {
        state.desktopVisible = visible ? 1 : 0;
        state.repaintPending = 1;
    }
    if (state.enlargeState == kEnlargeTiming && s.ExFocusTime != 0) {
        state.enlargeTicks += 2;
        if (state.enlargeTicks > s.ExFocusTime) {
            state.enlargeState = kEnlargeOff;
            state.repaintPending = 1;
        }
    }
    const SystemTime& last = state.lastInputTime;
    const int idle = MinutesSince(now, last.year, last.month, last.day, last.hour, last.minute);
    if (s.ResetTime != 0 && state.viewChanged != 0 && idle >= s.ResetTime) {
        state.view.sourceMask = state.homeSourceMask;
        s.FilterTag = state.homeFilterTag;
        state.view.currentFilter = state.homeFilter;
        if (a.refresh) {
            a.refresh(state.homeFilter);
        }
        if (a.layout) {
            a.layout();
        }
        if (a.invalidate) {
            a.invalidate();
        }
        state.lastInputTime = now;
        state.refreshStamp = stamp;
        state.viewChanged = 0;
    } else if (stamp != state.refreshStamp) {
        state.refreshStamp = stamp;
        if (a.refresh) {
            a.refresh(state.view.currentFilter);
        }
        if (a.layout) {
            a.layout();
        }
        if (a.invalidate) {
            a.invalidate();
        }
    }
    if (cyp != state.itemHeight) {
        cyp = state.itemHeight;
        state.repaintPending = 1;
        return true;
    }
    if (state.repaintPending != 0) {
        if (a.invalidate) {
            a.invalidate();
        }
        state.repaintPending = 0;
    }
    return false;
}

} // namespace vantrel
