#include "today/navigation.h"

namespace vantrel {
namespace {

bool IsDateFilter(int code) {
    return code == kFilterToday || code == kFilterYesterday || code == kFilterTomorrow ||
           code == kFilterThisWeek || code == kFilterNextWeek;
}

void Settle(TodayViewState& state, const Settings& s) {
    if (s.ExFocus != 0) {
        state.enlargeState = kEnlargeRequested;
    }
    state.viewChanged = 1;
}

void Page(TodayViewState& state, const Settings& s, int direction, std::size_t count,
          const std::function<void()>& refresh) {
    const int perPage = state.columnCount * state.rowsPerColumn;
    const int top = state.view.pageTop + direction * perPage;
    if (direction < 0 ? top >= 0 : top < static_cast<int>(count)) {
        state.view.cursor = 0;
        state.view.pageTop = top;
        Settle(state, s);
    } else if (IsDateFilter(state.view.currentFilter)) {
        state.view.viewShift += direction;
        if (refresh) {
            refresh();
        }
        Settle(state, s);
    } else {
        state.viewChanged = 1;
    }
}

} // namespace

TapHit HitTest(const TodayViewState& state, const Settings& s, int x, int y) {
    TapHit hit;
    const int h = state.lineTextHeight;
    const int l = state.geometry.lineLeft;
    const PixelRect& e = state.enlargedRect;
    if (state.enlargeState != kEnlargeOff && e.left <= x && x <= e.right && e.top <= y &&
        y <= e.bottom) {
        hit.column = state.enlargedColumn;
        hit.row = state.enlargedRow;
        hit.onCheckBox = s.DrawCheck != 0 && x <= h + l + e.left;
    } else {
        const int width = state.geometry.columnWidth > 0 ? state.geometry.columnWidth : 1;
        hit.row = y / (s.LineSpace + h > 0 ? s.LineSpace + h : 1);
        hit.column = x / width;
        hit.onCheckBox =
            s.DrawCheck != 0 && l + width * hit.column <= x && x <= h + width * hit.column + l;
    }
    const int strip = 3 * state.smallIconSize;
    if (h + l < x && x <= h + l + strip) {
        hit.onPrevStrip = true;
    } else if (x >= state.clientRect.right - strip) {
        hit.onNextStrip = true;
    }
    return hit;
}

int MoveCursor(TodayViewState& state, const Settings& s, int code, std::size_t count,
               const std::function<void()>& refresh) {
    int& cursor = state.view.cursor;
    const int rows = state.rowsPerColumn > 0 ? state.rowsPerColumn : 1;
    switch (code) {
    case kCmdUp:
        if (cursor == 0) {
            return 0;
        }
        --cursor;
        Settle(state, s);
        return 1;
    case kCmdDown:
        if (cursor >= state.lastCursor) {
            return 0;
        }
        ++cursor;
        Settle(state, s);
        return 1;
    case kCmdPrevPage:
        Page(state, s, -1, count, refresh);
        return 1;
    case kCmdNextPage:
        Page(state, s, 1, count, refresh);
        return 1;
    case kCmdLeft:
        if (cursor - rows >= 0) {
            cursor -= rows;
            Settle(state, s);
        } else {
            Page(state, s, -1, count, refresh);
        }
        return 1;
    case kCmdRight:
        if (cursor + rows < state.lastCursor) {
            cursor += rows;
            Settle(state, s);
        } else if (state.lastCursor / rows > cursor / rows) {
            cursor = state.lastCursor;
            Settle(state, s);
        } else {
            Page(state, s, 1, count, refresh);
        }
        return 1;
    case kCmdEnlarge:
        state.menuPending = 0;
        state.enlargeState = state.enlargeState != kEnlargeOff ? kEnlargeOff : kEnlargeRequested;
        return 1;
    default:
        return 1;
    }
}

} // namespace vantrel
