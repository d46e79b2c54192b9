#pragma once

#include "settings/settings.h"
#include "today/today_view_state.h"

#include <cstddef>

namespace vantrel {

// What the layout reads of the screen and the shell.
struct LayoutInputs {
    PixelRect clientRect;
    int smallIconSize = 16;
    int screenWidth = 240;
    int screenHeight = 320;
    int desktopHeight = 0; // client height of the visible desktop window, else 0
    int menuBarHeight = 0;
    int clientTop = 0; // screen y of the window's client origin
    std::size_t viewCount = 0;
};

// Lines, list columns, column extents and the item height. May change
// ExFontSize, WidthDate, WidthDayCount and WidthSep in memory (fall-backs).
void ComputeLayout(TodayViewState& state, Settings& settings, const LayoutInputs& in);

// The colour of an entry's texts before painting: day range, today,
// anniversary, open ToDo, focus; each rule overriding the one before.
std::int32_t LineTextColour(const Item& item, const Settings& settings, bool isFocusLine);

} // namespace vantrel
