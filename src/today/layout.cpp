#include "today/layout.h"

#include <algorithm>

namespace vantrel {

void ComputeLayout(TodayViewState& state, Settings& s, const LayoutInputs& in) {
    state.clientRect = in.clientRect;
    state.smallIconSize = in.smallIconSize;
    state.lineTextHeight = s.FontSize < 4 ? state.systemFontHeight : s.FontSize;
    if (s.ExFontSize < 4) {
        s.ExFontSize = state.lineTextHeight * 12 / 10;
    }
    int lines = s.ViewLine;
    if (lines == 0) {
        lines = (in.screenHeight - 2 * s.LineSpace - in.desktopHeight - in.menuBarHeight -
                 in.clientTop) /
                std::max(1, s.LineSpace + state.lineTextHeight);
    }
    lines = std::max(lines, 1);
    state.rowsPerColumn = lines;
    if (s.DataLine != 0) {
        if (in.viewCount == 0) {
            state.rowsPerColumn = 1;
        } else if (in.viewCount < static_cast<std::size_t>(lines)) {
            state.rowsPerColumn = static_cast<int>(in.viewCount);
        }
    }
    state.itemHeight = s.LineSpace + state.rowsPerColumn * (s.LineSpace + state.lineTextHeight);

    LineGeometry& g = state.geometry;
    g.lineLeft = in.clientRect.left + s.WidthSep;
    int h = state.lineTextHeight;
    const int check = s.DrawCheck != 0 ? 1 : 0;
    int memo = s.WidthMemo;
    if (memo == 0) {
        memo = in.screenWidth - 3 * s.WidthSep;
        memo -= check != 0 ? s.WidthSep + h : 0;
        memo -= s.WidthDate != 0 ? 2 * s.WidthSep + s.WidthDate : 0;
        memo -= s.WidthDayCount != 0 ? 2 * s.WidthSep + s.WidthDayCount : 0;
    }
    if (memo < h) {
        h = 14;
        state.lineTextHeight = 14;
        s.WidthDate = 55;
        s.WidthDayCount = 55;
        s.WidthSep = 2;
        memo = in.screenWidth - 8 * s.WidthSep - check * h - s.WidthDayCount - s.WidthDate;
        // lineLeft keeps the separator the layout started with.
    }
    int x = g.lineLeft + check * (s.WidthSep + h) + s.WidthSep;
    // Three slots: the title at PosMemo, the date at PosDate, the count in
    // the one left over.
    int lastRight = x;
    for (int slot = 1; slot <= 3; ++slot) {
        int* left = nullptr;
        int* right = nullptr;
        int width = 0;
        if (slot == s.PosMemo) {
            left = &g.memoLeft;
            right = &g.memoRight;
            width = memo;
        } else if (slot == s.PosDate) {
            left = &g.dateLeft;
            right = &g.dateRight;
            width = s.WidthDate;
        } else {
            left = &g.countLeft;
            right = &g.countRight;
            width = s.WidthDayCount;
        }
        if (width == 0 && slot < 3 && slot != s.PosMemo) {
            *left = *right = x; // not placed: takes no gap
            continue;
        }
        *left = x;
        *right = x + width;
        lastRight = *right;
        x += width + 2 * s.WidthSep;
    }
    g.columnWidth = lastRight + 2 * s.WidthSep;
    state.columnCount = std::max(1, in.screenWidth / std::max(1, g.columnWidth));
}

std::int32_t LineTextColour(const Item& item, const Settings& s, bool isFocusLine) {
    const int v =
        item.dayCount == 0 && item.minuteCount > 0 && item.minuteCount < 1440 ? 1 : item.dayCount;
    std::int32_t colour = s.CrDataTx0;
    if (v < s.DSpan1) {
        colour = s.CrDataTx0;
    } else if (v < s.DSpan2) {
        colour = s.CrDataTx1;
    } else if (v < s.DSpan3s) {
        colour = s.CrDataTx2;
    } else if (v < s.DSpan3e) {
        colour = s.CrDataTx3;
    } else if (v < s.DSpan4) {
        colour = s.CrDataTx4;
    } else if (v < s.DSpan5) {
        colour = s.CrDataTx5;
    }
    if (v == 0 && s.DrawToday != 0) {
        colour = s.CrTodayTx;
    }
    if (item.anniversaryYears != 0 && s.DrawAnniv != 0) {
        colour = s.CrAnnivTx;
    }
    if (item.checkState == 0 && item.startDate.day == 0 && s.DrawToDo != 0) {
        colour =
            item.orderKey < static_cast<std::uint32_t>(s.OverMinutes) ? s.CrToDoTx : s.CrToDoOverTx;
    }
    if (s.FocusTx != 0 && isFocusLine) {
        colour = s.CrFocusTx;
    }
    return colour;
}

} // namespace vantrel
