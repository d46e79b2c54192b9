#include "settings/device_defaults.h"
#include "support/moments.h"
#include "today/layout.h"
#include "today/navigation.h"
#include "today/refresh_query.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::At;

LayoutInputs Screen(int width, std::size_t count = 10) {
    LayoutInputs in;
    in.clientRect = {0, 0, width, 100};
    in.screenWidth = width;
    in.viewCount = count;
    return in;
}

TEST(TodayLayout, ColumnsAndHeights) {
    TodayViewState state;
    Settings s;
    s.ViewLine = 4;
    ComputeLayout(state, s, Screen(240, 2));
    EXPECT_EQ(state.rowsPerColumn, 2); // DataLine: no more rows than entries
    EXPECT_EQ(state.itemHeight, 34);
    EXPECT_EQ(s.ExFontSize, 16); // 14 * 1.2, truncated

    const LineGeometry g = state.geometry;
    EXPECT_EQ((std::pair{g.countLeft, g.countRight}), (std::pair{20, 75}));
    EXPECT_EQ((std::pair{g.dateLeft, g.dateRight}), (std::pair{79, 134}));
    EXPECT_EQ((std::pair{g.memoLeft, g.memoRight}), (std::pair{138, 238}));
    EXPECT_EQ(g.columnWidth, 242);
    EXPECT_EQ(state.columnCount, 1);

    s.WidthMemo = 40;
    ComputeLayout(state, s, Screen(240));
    EXPECT_EQ(state.geometry.columnWidth, 182);
    EXPECT_EQ(state.columnCount, 1);
    ComputeLayout(state, s, Screen(480));
    EXPECT_EQ(state.columnCount, 2);

    s = Settings{};
    s.WidthDate = 0; // not placed in slot 2: the title follows the count directly
    ComputeLayout(state, s, Screen(240));
    EXPECT_EQ(state.geometry.memoLeft, 79);

    s = Settings{};
    s.WidthMemo = 5; // narrower than a line: the fixed fall-back
    s.WidthSep = 9;
    ComputeLayout(state, s, Screen(240));
    EXPECT_EQ(s.WidthSep, 2);
    EXPECT_EQ(state.lineTextHeight, 14);
    EXPECT_EQ(state.geometry.lineLeft, 9); // the separator before the fall-back
    EXPECT_EQ((std::pair{state.geometry.countLeft, state.geometry.countRight}),
              (std::pair{27, 82}));
    EXPECT_EQ((std::pair{state.geometry.memoLeft, state.geometry.memoRight}),
              (std::pair{145, 245})); // 240 - 16 - 14 - 55 - 55 wide
    EXPECT_EQ(state.geometry.columnWidth, 249);

    s = Settings{};
    s.ViewLine = 0; // as many lines as the screen holds
    LayoutInputs in = Screen(240);
    in.screenHeight = 320;
    in.clientTop = 100;
    in.viewCount = 100;
    ComputeLayout(state, s, in);
    EXPECT_EQ(state.rowsPerColumn, (320 - 4 - 100) / 16);
}

// With the defaults of a VGA screen (192 dpi, 24 px Today font) every
// column lies where QVGA's (96 dpi, 12 px) does, at twice the pixels: the
// count column holds at 24 px what it holds at 12.
TEST(TodayLayout, VgaDefaultsAreTheQvgaLayoutDoubled) {
    TodayViewState qvgaState, vgaState;
    Settings qvga, vga;
    qvgaState.systemFontHeight = ApplyDeviceDefaults(qvga, {u"IPAGothic", 128, 12, 0, 0, 96});
    vgaState.systemFontHeight = ApplyDeviceDefaults(vga, {u"IPAGothic", 128, 24, 0, 0, 192});
    ComputeLayout(qvgaState, qvga, Screen(240, 3));
    LayoutInputs in = Screen(480, 3);
    in.clientRect = {0, 0, 480, 200};
    ComputeLayout(vgaState, vga, in);

    const LineGeometry q = qvgaState.geometry, v = vgaState.geometry;
    EXPECT_EQ((std::pair{q.countLeft, q.countRight}), (std::pair{18, 73}));
    EXPECT_EQ((std::pair{v.countLeft, v.countRight}), (std::pair{36, 146}));
    EXPECT_EQ((std::pair{v.dateLeft, v.dateRight}), (std::pair{2 * q.dateLeft, 2 * q.dateRight}));
    EXPECT_EQ((std::pair{v.memoLeft, v.memoRight}), (std::pair{2 * q.memoLeft, 2 * q.memoRight}));
    EXPECT_EQ(v.lineLeft, 2 * q.lineLeft);
    EXPECT_EQ(v.columnWidth, 2 * q.columnWidth);
    EXPECT_EQ(vgaState.itemHeight, 2 * qvgaState.itemHeight);
    EXPECT_EQ(vgaState.columnCount, 1);
    EXPECT_EQ(vga.WidthDate, 110); // no fall-back to the fixed figures
}

TEST(TodayLayout, LineColours) {
    Settings s;
    const auto colour = [&](int dayCount, int minuteCount = 10001, int anniversary = 0) {
        Item item = NewOwnEntry();
        item.startDate = {2026, 12, 8, -1, -1};
        item.dayCount = dayCount;
        item.minuteCount = minuteCount;
        item.anniversaryYears = anniversary;
        return LineTextColour(item, s, false);
    };
    EXPECT_EQ(colour(-400), s.CrDataTx0);
    EXPECT_EQ(colour(-30), s.CrDataTx1);
    EXPECT_EQ(colour(-3), s.CrDataTx2);
    EXPECT_EQ(colour(-1), s.CrDataTx3);
    EXPECT_EQ(colour(0), s.CrTodayTx);
    EXPECT_EQ(colour(0, 30), s.CrDataTx4); // today, already passed: counts as one day past
    EXPECT_EQ(colour(30), s.CrDataTx5);
    EXPECT_EQ(colour(400), s.CrDataTx0);
    s.CrAnnivTx = 0x123456;
    EXPECT_EQ(colour(0, 10001, 3), 0x123456);

    Item todo = NewOwnEntry();
    todo.startDate = kNoDate;
    todo.orderKey = 2100000000u + 100u;
    EXPECT_EQ(LineTextColour(todo, s, false), s.CrToDoOverTx);
    todo.orderKey = 2100000000u - 5000u;
    EXPECT_EQ(LineTextColour(todo, s, false), s.CrToDoTx);
    s.FocusTx = 1;
    EXPECT_EQ(LineTextColour(todo, s, true), s.CrFocusTx);
}

TEST(TodayNavigation, PagingAndCursor) {
    TodayViewState state;
    Settings s;
    state.rowsPerColumn = 4;
    state.columnCount = 1;
    state.lastCursor = 3;
    state.view.currentFilter = kFilterAll;
    int refreshes = 0;
    const auto refresh = [&] { ++refreshes; };
    MoveCursor(state, s, kCmdNextPage, 10, refresh);
    EXPECT_EQ(state.view.pageTop, 4);
    MoveCursor(state, s, kCmdNextPage, 10, refresh);
    EXPECT_EQ(state.view.pageTop, 8);
    state.viewChanged = 0;
    MoveCursor(state, s, kCmdNextPage, 10, refresh);
    EXPECT_EQ(state.view.pageTop, 8);
    EXPECT_EQ(state.viewChanged, 1);
    EXPECT_EQ(refreshes, 0);

    // A date filter pages through days.
    state.view.pageTop = 0;
    state.view.currentFilter = kFilterToday;
    MoveCursor(state, s, kCmdNextPage, 3, refresh);
    EXPECT_EQ(state.view.viewShift, 1);
    MoveCursor(state, s, kCmdPrevPage, 3, refresh);
    MoveCursor(state, s, kCmdPrevPage, 3, refresh);
    EXPECT_EQ(state.view.viewShift, -1);
    EXPECT_EQ(refreshes, 3);

    // Up at the top and down at the end hand the selection on.
    state.view.cursor = 0;
    EXPECT_EQ(MoveCursor(state, s, kCmdUp, 3, refresh), 0);
    state.lastCursor = -1;
    EXPECT_EQ(MoveCursor(state, s, kCmdDown, 0, refresh), 0);

    // Two columns of three rows, five entries on the page.
    state.rowsPerColumn = 3;
    state.columnCount = 2;
    state.lastCursor = 4;
    state.view.cursor = 1;
    MoveCursor(state, s, kCmdRight, 5, refresh);
    EXPECT_EQ(state.view.cursor, 4);
    state.view.cursor = 2;
    MoveCursor(state, s, kCmdRight, 5, refresh);
    EXPECT_EQ(state.view.cursor, 4);
    EXPECT_EQ(state.enlargeState, 0); // ExFocus: the moved line is enlarged again
    state.menuPending = 1;
    MoveCursor(state, s, kCmdEnlarge, 5, refresh);
    EXPECT_EQ(state.enlargeState, 2);
    EXPECT_EQ(state.menuPending, 0);
}

TEST(TodayNavigation, HitTestZones) {
    TodayViewState state;
    Settings s;
    ComputeLayout(state, s, Screen(240));
    state.clientRect = {0, 0, 240, 66};
    const TapHit box = HitTest(state, s, 5, 20);
    EXPECT_TRUE(box.onCheckBox);
    EXPECT_EQ(box.row, 1);
    EXPECT_TRUE(HitTest(state, s, 30, 5).onPrevStrip);
    EXPECT_TRUE(HitTest(state, s, 230, 5).onNextStrip);
    const TapHit body = HitTest(state, s, 120, 40);
    EXPECT_FALSE(body.onCheckBox || body.onPrevStrip || body.onNextStrip);
    EXPECT_EQ(body.row, 2);
    const TapHit packed{3, 0, true, false, true};
    EXPECT_EQ(packed.Packed(), 3 | 0x400 | 0x1000);

    state.enlargeState = 1; // the enlarged line answers for what it covers
    state.enlargedRect = {2, 10, 238, 30};
    state.enlargedRow = 1;
    EXPECT_EQ(HitTest(state, s, 120, 28).row, 1);
}

TEST(TodayRefreshQuery, StampsMenuHeightAndReset) {
    EXPECT_EQ(RefreshStamp(1, At(2026, 12, 31, 10, 0), 0), 12310000);
    EXPECT_EQ(RefreshStamp(1, At(2027, 1, 1, 0, 5), 0), 1010000);
    EXPECT_EQ(RefreshStamp(2, At(2027, 1, 1, 1, 5), 0), 1010065);
    EXPECT_EQ(RefreshStamp(3, At(2027, 1, 1, 1, 5), 0), 1010060);
    EXPECT_EQ(RefreshStamp(0, At(2027, 1, 1, 1, 5), 77), 77);

    TodayViewState state;
    Settings s;
    state.itemHeight = 34;
    std::vector<int> refreshed;
    int invalidated = 0;
    RefreshQueryActions actions{nullptr, [&](int code) { refreshed.push_back(code); },
                                [&] { ++invalidated; }, nullptr};
    int cyp = 20;
    state.menuPending = 1;
    EXPECT_FALSE(QueryRefresh(state, s, At(2026, 12, 31, 10, 0), cyp, actions));
    EXPECT_EQ(cyp, 20);
    EXPECT_TRUE(refreshed.empty());
    state.menuPending = 0;
    state.lastInputTime = At(2026, 12, 31, 10, 0);
    EXPECT_TRUE(QueryRefresh(state, s, At(2026, 12, 31, 10, 0), cyp, actions));
    EXPECT_EQ(cyp, 34);
    EXPECT_FALSE(QueryRefresh(state, s, At(2026, 12, 31, 10, 1), cyp, actions));
    EXPECT_EQ(refreshed.size(), 1u); // once for the day
    QueryRefresh(state, s, At(2027, 1, 1, 0, 0), cyp, actions);
    EXPECT_EQ(refreshed.size(), 2u); // the day changed

    // Enlargement times out after ExFocusTime in ticks of 2.
    state.enlargeState = 1;
    state.enlargeTicks = 0;
    QueryRefresh(state, s, At(2027, 1, 1, 0, 0), cyp, actions);
    QueryRefresh(state, s, At(2027, 1, 1, 0, 0), cyp, actions);
    EXPECT_EQ(state.enlargeState, 1);
    QueryRefresh(state, s, At(2027, 1, 1, 0, 0), cyp, actions);
    EXPECT_EQ(state.enlargeState, 2);

    // Back to the start view after ResetTime minutes without input.
    state.homeFilter = kFilterFromNow;
    state.homeSourceMask = 11;
    state.view.currentFilter = kFilterPast;
    state.viewChanged = 1;
    state.lastInputTime = At(2027, 1, 1, 0, 0);
    QueryRefresh(state, s, At(2027, 1, 1, 0, 2), cyp, actions);
    EXPECT_EQ(state.view.currentFilter, kFilterPast);
    QueryRefresh(state, s, At(2027, 1, 1, 0, 3), cyp, actions);
    EXPECT_EQ(refreshed.back(), kFilterFromNow);
    EXPECT_EQ(state.viewChanged, 0);
    EXPECT_EQ(state.view.sourceMask, 11);
}

// DataLine sizes the item to its view: the query whose refresh changed the
// view hands over the new height at once, not one poll later.
TEST(TodayRefreshQuery, HandsOverTheHeightOfTheViewItRefreshed) {
    TodayViewState state;
    Settings s;
    s.ViewLine = 5;
    std::size_t entries = 1;
    ComputeLayout(state, s, Screen(240, entries));
    int cyp = state.itemHeight;
    EXPECT_EQ(cyp, 2 + 1 * 16);
    RefreshQueryActions actions;
    actions.refresh = [&](int) { entries = 3; };
    actions.layout = [&] { ComputeLayout(state, s, Screen(240, entries)); };
    state.lastInputTime = At(2026, 12, 31, 10, 0);
    EXPECT_TRUE(QueryRefresh(state, s, At(2026, 12, 31, 10, 0), cyp, actions));
    EXPECT_EQ(cyp, 2 + 3 * 16);
    actions.refresh = [&](int) { entries = 0; }; // the empty view keeps one line
    EXPECT_TRUE(QueryRefresh(state, s, At(2027, 1, 1, 10, 0), cyp, actions));
    EXPECT_EQ(cyp, 2 + 1 * 16);
}

} // namespace
} // namespace vantrel
