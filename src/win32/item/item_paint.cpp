// Layout on the real screen and the painting of one page of the ViewList.

#include "platform/shell.h"
#include "platform/today.h"
#include "resource_ids.h"
#include "text/text_ids.h"
#include "today/layout.h"
#include "win32/bindings/debug_trace.h"
#include "win32/bindings/wide_text.h"
#include "win32/item/item_window.h"
#include "win32/scoped.h"

#include <algorithm>
#include <optional>

namespace vantrel {
namespace {

// An image strip of square cells, selected into a DC of its own. Members are
// released in reverse order: the bitmap is deselected, then the DC deleted,
// then the bitmap.
struct Strip {
    Bitmap bitmap;
    MemoryDc dc{nullptr};
    std::optional<Selected> selected;
    int cell = 0;
    COLORREF transparent = 0;

    bool Load(const wchar_t* path) {
        bitmap.reset(SHLoadImageFile(path));
        if (!bitmap || !dc) {
            TraceFailure(std::wstring(L"loading the image strip ") + path, GetLastError());
            return false;
        }
        BITMAP info{};
        GetObjectW(bitmap.get(), sizeof info, &info);
        cell = info.bmHeight;
        selected.emplace(dc.get(), bitmap.get());
        transparent = GetPixel(dc.get(), 0, 0);
        return cell > 0;
    }
    void Draw(HDC target, int index, int x, int y, int size) const {
        TransparentImage(target, x, y, size, size, dc.get(), index * cell, 0, cell, cell,
                         transparent);
    }
};

void FillWith(HDC dc, const RECT& r, COLORREF colour) {
    const Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

HFONT MakeFont(const LOGFONTW& base, const FaceNameText& face, int charSet, int height,
               bool strikeOut = false) {
    LOGFONTW font = base;
    if (!face.empty()) {
        const std::wstring name = ToWide(face.view());
        wcsncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        font.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    font.lfCharSet = static_cast<BYTE>(charSet);
    font.lfHeight = height;
    font.lfStrikeOut = strikeOut ? TRUE : FALSE;
    return CreateFontIndirectW(&font);
}

int TextWidth(HDC dc, const std::u16string& text) {
    SIZE size{};
    const std::wstring wide = ToWide(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

void DrawTextIn(HDC dc, const std::u16string& text, RECT r, bool right) {
    if (r.right <= r.left) {
        return;
    }
    std::wstring wide = ToWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              (right ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE | DT_NOPREFIX | DT_TOP);
}

struct LinePlace {
    int ox = 0; // list column offset minus shift
    int top = 0;
    int height = 0;
    int shift = 0;
    int column = 0;
    bool highlight = false;
    LineGeometry columns; // the column extents (measured ones when enlarged)
};

class Painter {
  public:
    Painter(TodayItem& item, HDC dc)
        : item_(item), s_(item.settings), state_(item.state), dc_(dc) {}

    void Paint() {
        ComputeItemLayout(item_);
        const Selected pen(dc_, GetStockObject(NULL_PEN));
        const Brush pin(CreateSolidBrush(static_cast<COLORREF>(s_.CrPin)));
        const Selected pinBrush(dc_, pin.get());
        if (s_.DrawCheck == 0 || !checks_.Load(L"\\Windows\\vantrelcb.png")) {
            s_.DrawCheck = 0;
        }
        haveIcons_ = s_.DrawIcon != 0 && icons_.Load(L"\\Windows\\vantrelpo.png");
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, TodayColour(TODAYCOLOR_TEXT));

        const LOGFONTW base = TodayFont(dc_);
        base_ = base;
        listFont_.reset(MakeFont(base, s_.FontName, s_.CharSet, state_.lineTextHeight));
        bigFont_.reset(MakeFont(base, s_.ExFontName, s_.ExCharSet, s_.ExFontSize));
        {
            const Selected font(dc_, listFont_.get());
            PaintLines();
            if (state_.lastCursor >= 0) {
                PaintPositionBar();
            }
        }
        if (state_.lastCursor < 0) {
            const Font today(CreateFontIndirectW(&base_));
            const Selected font(dc_, today.get());
            PaintEmpty(); // in the Today screen's font
        }
    }

  private:
    // The options' colour page paints its labels on the last answer.
    COLORREF TodayColour(DWORD index) {
        const auto colour =
            static_cast<COLORREF>(SendMessageW(GetParent(item_.window), TODAYM_GETCOLOR, index, 0));
        state_.lastTodayColour = static_cast<std::int32_t>(colour);
        return colour;
    }

    void PaintLines() {
        const ItemList& view = item_.store.view;
        int& pageTop = state_.view.pageTop;
        pageTop = std::max(pageTop, 0);
        state_.lastCursor = -1;
        const std::size_t perPage = static_cast<std::size_t>(state_.columnCount) *
                                    static_cast<std::size_t>(state_.rowsPerColumn);
        int column = 0, row = 0;
        int top = state_.clientRect.top + s_.LineSpace;
        bool remembered = false;
        std::size_t rememberedIndex = 0;
        int rememberedTop = 0;
        for (std::size_t i = static_cast<std::size_t>(pageTop);
             i < static_cast<std::size_t>(pageTop) + perPage && i < view.size(); ++i) {
            if (row == state_.rowsPerColumn) {
                if (column >= state_.columnCount - 1) {
                    break;
                }
                ++column;
                row = 0;
                top = state_.clientRect.top + s_.LineSpace;
            }
            ++state_.lastCursor;
            const bool isCursor =
                state_.hasSelection != 0 && static_cast<int>(i) - pageTop == state_.view.cursor;
            if (isCursor) {
                remembered = true;
                rememberedIndex = i;
                rememberedTop = top;
                state_.enlargedColumn = column;
                state_.enlargedRow = row;
            }
            LinePlace place;
            place.ox = column * state_.geometry.columnWidth;
            place.top = top;
            place.height = state_.lineTextHeight;
            place.column = column;
            place.columns = state_.geometry;
            DrawLine(view[i], place, isCursor);
            top += state_.lineTextHeight + s_.LineSpace;
            ++row;
        }
        if (remembered) {
            Highlight(view[rememberedIndex], rememberedTop);
        }
    }

    void Highlight(const Item& e, int rememberedTop) {
        const bool enlarged = state_.enlargeState != kEnlargeOff;
        const int h = enlarged ? s_.ExFontSize : state_.lineTextHeight;
        int top = rememberedTop, bottom = rememberedTop + state_.lineTextHeight;
        if (enlarged) {
            top = std::max(0, rememberedTop - (s_.ExFontSize - state_.lineTextHeight) / 2);
            bottom = top + s_.ExFontSize;
            if (bottom > state_.clientRect.bottom) {
                top = state_.clientRect.bottom - s_.ExFontSize;
                bottom = state_.clientRect.bottom;
            }
            if (top < 0) {
                top = 0;
                bottom = s_.ExFontSize;
            }
        }
        const int j = state_.enlargedColumn;
        LinePlace place;
        place.top = top;
        place.height = h;
        place.column = j;
        place.highlight = true;
        place.columns = state_.geometry;
        int width = state_.geometry.columnWidth;
        std::optional<Selected> bigFont; // the list font comes back with the line
        if (enlarged) {
            bigFont.emplace(dc_, bigFont_.get());
            width = std::max(width, MeasureEnlarged(e, place.columns));
        }
        RECT r{j * state_.geometry.columnWidth + state_.clientRect.left + s_.WidthSep, top,
               j * state_.geometry.columnWidth - s_.WidthSep + width, bottom};
        int shift = 0;
        if (enlarged && r.right > state_.clientRect.right) {
            shift = r.right - state_.clientRect.right + s_.WidthSep;
            const int unshifted = r.left;
            r.left -= shift;
            if (r.left < 0) {
                r.left = state_.clientRect.left + s_.WidthSep;
                shift = unshifted - r.left;
            }
            r.right = state_.clientRect.right - s_.WidthSep;
        }
        state_.enlargedRect = {r.left, r.top, r.right, r.bottom};
        FillWith(dc_, r,
                 s_.FocusBk != 0 ? static_cast<COLORREF>(s_.CrFocusBk)
                                 : TodayColour(TODAYCOLOR_HIGHLIGHT));
        place.shift = shift;
        place.ox = j * state_.geometry.columnWidth - shift;
        DrawLine(e, place, true);
    }

    // The enlarged line's columns, each as wide as its text, in slot order.
    int MeasureEnlarged(const Item& e, LineGeometry& g) {
        const bool hasIcon = haveIcons_ && e.source != kOwnEntry;
        int x = g.lineLeft + (s_.DrawCheck != 0 ? s_.ExFontSize + s_.WidthSep : 0) + s_.WidthSep;
        for (int slot = 1; slot <= 3; ++slot) {
            int *left, *right;
            int width;
            if (slot == s_.PosMemo) {
                left = &g.memoLeft;
                right = &g.memoRight;
                width = TextWidth(dc_, e.title) + (hasIcon ? s_.ExFontSize + s_.WidthSep : 0);
            } else if (slot == s_.PosDate) {
                left = &g.dateLeft;
                right = &g.dateRight;
                width = TextWidth(dc_, e.dateText);
            } else {
                left = &g.countLeft;
                right = &g.countRight;
                width = TextWidth(dc_, e.countText);
            }
            *left = x;
            *right = x + width;
            x += width + 2 * s_.WidthSep;
        }
        return x - g.lineLeft;
    }

    void DrawLine(const Item& e, const LinePlace& p, bool isCursor) {
        const int h = p.height;
        const LineGeometry& g = p.columns;
        if (s_.DrawCheck != 0 && checks_.cell > 0) {
            checks_.Draw(dc_, e.checkState + 1, p.ox + g.lineLeft, p.top, h);
        }
        SetTextColor(dc_, static_cast<COLORREF>(LineTextColour(e, s_, isCursor)));
        RECT memo{p.ox + g.memoLeft, p.top, p.ox + g.memoRight, p.top + h};
        if (haveIcons_ && e.source != kOwnEntry) {
            const int cell = e.source == kAppointment ? e.busyStatus + 4 : e.importance + 1;
            icons_.Draw(dc_, cell, memo.left, p.top, h);
            memo.left += h + s_.WidthSep;
        }
        if (memo.right > memo.left) {
            if (s_.CheckStrikeOut != 0 && e.checkState == 1) {
                const Font struck(
                    p.highlight && state_.enlargeState != kEnlargeOff
                        ? MakeFont(base_, s_.ExFontName, s_.ExCharSet, s_.ExFontSize, true)
                        : MakeFont(base_, s_.FontName, s_.CharSet, state_.lineTextHeight, true));
                const Selected chosen(dc_, struck.get());
                DrawTextIn(dc_, e.title, memo, false);
            } else {
                DrawTextIn(dc_, e.title, memo, false);
            }
        }
        const bool forced = p.highlight && s_.ExFocus != 0;
        if (s_.WidthDate != 0 || forced) {
            DrawTextIn(dc_, e.dateText,
                       RECT{p.ox + g.dateLeft, p.top, p.ox + g.dateRight, p.top + h},
                       s_.PosDate == 1);
        }
        if (s_.WidthDayCount != 0 || forced) {
            DrawTextIn(dc_, e.countText,
                       RECT{p.ox + g.countLeft, p.top, p.ox + g.countRight, p.top + h},
                       s_.PosDayCount == 1);
        }
        if (e.pinned != 0) {
            const int scale = state_.scale;
            const int x0 = p.column * state_.geometry.columnWidth + s_.WidthSep - p.shift;
            int x1 = x0 + h - 6 * scale;
            if (x1 < scale) {
                x1 = s_.WidthSep + 2 * scale;
            }
            POINT corners[3] = {{x0, p.top}, {x1, p.top}, {x0, p.top + h - 6 * scale}};
            Polygon(dc_, corners, 3);
        }
    }

    void PaintEmpty() {
        const int scale = state_.scale;
        const bool large = state_.smallIconSize == 21;
        state_.itemHeight = large ? 27 : 20 * scale;
        RECT client{state_.clientRect.left, state_.clientRect.top, state_.clientRect.right,
                    state_.clientRect.bottom};
        if (state_.hasSelection != 0) {
            FillWith(dc_, client, TodayColour(TODAYCOLOR_HIGHLIGHT));
            SetTextColor(dc_, TodayColour(TODAYCOLOR_HIGHLIGHTEDTEXT));
        } else {
            SetTextColor(dc_, TodayColour(TODAYCOLOR_TEXT));
        }
        const Icon icon(static_cast<HICON>(LoadImageW(item_.instance, MAKEINTRESOURCEW(IDI_VANTREL),
                                                      IMAGE_ICON, 16 * scale, 16 * scale, 0)));
        const int k = large ? 3 : 2;
        if (icon) {
            DrawIconEx(dc_, k * scale, k * scale, icon.get(), 16 * scale, 16 * scale, 0, nullptr,
                       DI_NORMAL);
        }
        RECT text{(large ? 38 : 28) * scale, 3 * scale, state_.clientRect.right - s_.WidthSep,
                  state_.smallIconSize};
        DrawTextIn(dc_, LoadText(*item_.texts, text_id::kNoData), text, false);
    }

    void PaintPositionBar() {
        const int count = static_cast<int>(item_.store.view.size());
        const int perPage = state_.columnCount * state_.rowsPerColumn;
        if (count <= perPage || s_.DrawPosBar == 0) {
            return;
        }
        const PixelRect& c = state_.clientRect;
        RECT bar{c.left, c.bottom - s_.LineSpace, c.right, c.bottom};
        if (s_.DrawPosBarBk != 0) {
            FillWith(dc_, bar, static_cast<COLORREF>(s_.CrPosBarBk));
        }
        const int top = state_.view.pageTop;
        int left = c.right * top / count;
        int right = top + perPage >= count ? c.right : c.right * (top + perPage) / count;
        if (left + 2 * state_.scale > c.right) {
            left = c.right - 2 * state_.scale;
        }
        right = std::max(right, left + 2 * state_.scale); // keep the marker visible
        RECT marker{left, bar.top, right, bar.bottom};
        FillWith(dc_, marker, static_cast<COLORREF>(s_.CrPosBarTx));
    }

    TodayItem& item_;
    Settings& s_;
    TodayViewState& state_;
    HDC dc_;
    Strip checks_, icons_;
    bool haveIcons_ = false;
    LOGFONTW base_{};
    Font listFont_;
    Font bigFont_;
};

} // namespace

SIZE DeviceScreenSize(HWND window) {
    RECT r{};
    GetClientRect(GetAncestor(window, GA_ROOT), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void ComputeItemLayout(TodayItem& item) {
    HWND window = item.window;
    LayoutInputs in;
    RECT client{};
    GetClientRect(window, &client);
    in.clientRect = {client.left, client.top, client.right, client.bottom};
    in.smallIconSize = SmallIconSize();
    const SIZE screen = DeviceScreenSize(window);
    in.screenWidth = screen.cx;
    in.screenHeight = screen.cy;
    HWND desktop = reinterpret_cast<HWND>(item.state.desktopWindow);
    if (desktop != nullptr && IsWindowVisible(desktop)) {
        RECT r{};
        GetClientRect(desktop, &r);
        in.desktopHeight = r.bottom - r.top;
    }
    in.menuBarHeight = MenuBarHeight(FindWindowW(L"DesktopExplorerWindow", nullptr));
    POINT origin{0, 0}, screenOrigin{0, 0};
    ClientToScreen(window, &origin);
    ClientToScreen(GetAncestor(window, GA_ROOT), &screenOrigin);
    in.clientTop = origin.y - screenOrigin.y;
    in.viewCount = item.store.view.size();
    ComputeLayout(item.state, item.settings, in);
}

void PaintItem(TodayItem& item, HDC dc) {
    Painter(item, dc).Paint();
}

} // namespace vantrel
