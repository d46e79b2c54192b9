#pragma once

#include "model/system_time.h"
#include "view/view_list.h"

#include <cstdint>

namespace vantrel {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the columns of one line lie in list column 0, and how wide a list
// column is.
struct LineGeometry {
    int lineLeft = 0;
    int memoLeft = 0, memoRight = 0;
    int dateLeft = 0, dateRight = 0;
    int countLeft = 0, countRight = 0;
    int columnWidth = 0;
    friend bool operator==(const LineGeometry&, const LineGeometry&) = default;
};

// The enlarged cursor line: asked for (the next paint shows it), shown and
// timing out (ExFocusTime), or not shown.
inline constexpr int kEnlargeRequested = 0;
inline constexpr int kEnlargeTiming = 1;
inline constexpr int kEnlargeOff = 2;

// The one record of the Today window's state. The view part (filter,
// viewShift, search text, pageTop, cursor, source mask) is the ViewState the
// view functions take.
struct TodayViewState {
    ViewState view;
    std::uintptr_t instance = 0;
    int hasSelection = 0;
    int rowsPerColumn = 1;
    int columnCount = 1;
    int lastCursor = -1;
    int viewChanged = 0;
    int homeSourceMask = 0;
    int homeFilter = 0;
    int enlargeState = kEnlargeOff; // kEnlargeRequested, kEnlargeTiming or kEnlargeOff
    int enlargeTicks = 0;
    int smallIconSize = 16;
    int scale = 1;
    PixelRect clientRect;
    PixelRect enlargedRect;
    int enlargedColumn = 0;
    int enlargedRow = 0;
    int itemHeight = 0;
    int lineTextHeight = 14;
    int systemFontHeight = 14;
    LineGeometry geometry;
    std::u16string homeFilterTag;
    SystemTime lastInputTime;
    int dialogMode = 0;
    int todoMode = 0; // the edit dialog's ToDo box is checked
    int menuPending = 0;
    // Dialogs and message boxes of the item now open: their modal loops let
    // refresh queries in, and a refresh would move the entry they work on.
    int modalDepth = 0;
    int refreshStamp = 0;
    int repaintPending = 0;
    int holdHandled = 0;
    std::uintptr_t desktopWindow = 0;
    std::int32_t lastTodayColour = 0; // the Today screen's last colour answer
    int desktopVisible = 0;
};

} // namespace vantrel
