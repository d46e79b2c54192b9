// The options sheet on a QVGA screen: after the shell sizes it to the
// screen, its tab control, buttons and pages all lie inside it, and every
// control of every page inside its page.

#include "win32/item_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace vantrel::testing;

constexpr int kApplyButton = 0x3021; // the sheet's Apply button

// The stand-in Today screen with a client area of exactly 240 × 320 for
// the test, its size before restored after it.
class SheetLayoutTest : public ItemCommandTest {
  protected:
    void SetUp() override {
        GetWindowRect(parent, &before_);
        RECT frame{0, 0, 240, 320};
        AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongW(parent, GWL_STYLE)), FALSE);
        SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    void TearDown() override {
        ItemCommandTest::TearDown();
        SetWindowPos(parent, nullptr, 0, 0, before_.right - before_.left,
                     before_.bottom - before_.top, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }

  private:
    RECT before_{};
};

// A window's rectangle in the client coordinates of `owner`.
RECT RectIn(HWND owner, HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// The tab control's display area in the sheet's client coordinates.
RECT DisplayArea(HWND sheet, HWND tab) {
    RECT r{};
    GetClientRect(tab, &r);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(tab, sheet, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(SheetLayoutTest, TabsButtonsAndEveryPageLieInsideTheSheet) {
    Start("", "");
    int pagesSeen = 0;
    EXPECT_TRUE(Options([&](HWND sheet) {
        RECT client{};
        GetClientRect(sheet, &client);
        RECT screen{};
        GetClientRect(parent, &screen);
        EXPECT_EQ(screen.right, 240);
        EXPECT_LE(client.right, 240);
        EXPECT_GE(client.right, 200) << "the sheet covers the screen";

        HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_NE(tab, nullptr);
        const RECT tabRect = RectIn(sheet, tab);
        EXPECT_TRUE(Inside(tabRect, client)) << "tab " << Text(tabRect) << " in " << Text(client);
        // Every tab, in however many rows, within the tab control's width.
        RECT tabClient{};
        GetClientRect(tab, &tabClient);
        const int tabs = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(tabs, 9);
        for (int i = 0; i < tabs; ++i) {
            RECT item{};
            SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            EXPECT_TRUE(Inside(item, tabClient)) << "tab " << i << " " << Text(item);
        }

        // OK, Cancel and Apply (Help where shown) whole, side by side below
        // the tab control.
        std::vector<RECT> buttons;
        for (const int id : {IDOK, IDCANCEL, kApplyButton, IDHELP}) {
            HWND button = GetDlgItem(sheet, id);
            if (id != IDHELP) {
                ASSERT_NE(button, nullptr) << id;
                EXPECT_TRUE(IsWindowVisible(button)) << id;
            }
            if (button == nullptr || !IsWindowVisible(button)) {
                continue;
            }
            const RECT r = RectIn(sheet, button);
            EXPECT_TRUE(Inside(r, client)) << "button " << id << " " << Text(r);
            EXPECT_GE(r.top, tabRect.bottom) << "button " << id;
            for (const RECT& other : buttons) {
                EXPECT_TRUE(r.left >= other.right || r.right <= other.left) << "button " << id;
            }
            buttons.push_back(r);
        }

        // Each page where the tab control shows it, the later ones too (the
        // sheet creates and places a page when it first shows it).
        for (int i = 0; i < tabs; ++i) {
            SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
            HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            ASSERT_NE(page, nullptr) << i;
            const RECT area = DisplayArea(sheet, tab);
            const RECT r = RectIn(sheet, page);
            EXPECT_TRUE(Inside(area, client)) << "display area " << Text(area);
            EXPECT_TRUE(Inside(r, area))
                << "page " << i << " " << Text(r) << " in the display area " << Text(area);
            // and nothing on it cut off by the page's edge.
            RECT pageClient{};
            GetClientRect(page, &pageClient);
            for (HWND control = GetWindow(page, GW_CHILD); control != nullptr;
                 control = GetWindow(control, GW_HWNDNEXT)) {
                const RECT c = RectIn(page, control);
                EXPECT_TRUE(Inside(c, pageClient))
                    << "page " << i << " control " << GetDlgCtrlID(control) << " " << Text(c)
                    << " in " << Text(pageClient);
            }
            ++pagesSeen;
        }
    }));
    EXPECT_EQ(pagesSeen, 9);
}

} // namespace
