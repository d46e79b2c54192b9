// The item's popup menus through its window: every menu item does what the
// command of the same name does when it is bound to a key, the Filter
// popup marks the filter in force, and the popups open where the user
// asked for them.

#include "platform/today.h"
#include "resource_ids.h"
#include "today/command_codes.h"
#include "win32/item_fixture.h"
#include "win32/options_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace vantrel::testing;

class ItemMenuTest : public ItemCommandTest {
  protected:
    // What a command did, as the user can see it afterwards.
    struct Outcome {
        std::wstring modal; // the window it opened: class, caption, first menu item
        std::string data, store, prompts;
        DWORD startFilter = 0;
        std::wstring clipboard, selected;
        std::vector<UINT> sources; // the Data popup's check marks
        std::uint64_t picture = 0;
        bool operator==(const Outcome&) const = default;
    };

    // Starts over, lets a day pass (so a refresh shows) and runs `command`;
    // a dialog it opens is confirmed, a popup dismissed.
    Outcome Run(const std::function<void()>& command, int exAction = -1) {
        Start(kOwn, kStore, {{L"SaveFilter", 1}, {L"ExAction", static_cast<DWORD>(exAction)}});
        SendMessageW(item, WM_TODAYCUSTOM_RECEIVEDSELECTION, 0, 0);
        SetEnvironmentVariableW(L"VANTREL_NOW", L"2013-11-04 09:30");
        EmptyTheClipboard();
        Outcome out;
        WhileModal([&](HWND window) { out.modal = Describe(window); }, command);
        out.clipboard = ClipboardText();
        out.picture = Picture();
        out.selected = Selected();
        out.data = Data();
        out.store = Store();
        out.prompts = Prompts();
        out.startFilter = GetDword(L"StartFilter");
        WhileModal(
            [&](HWND menuWindow) {
                HMENU menu = PopupOf(menuWindow);
                for (UINT id : {IDM_SOURCE_OWN, IDM_SOURCE_APPOINTMENTS, IDM_SOURCE_TASKS}) {
                    out.sources.push_back(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED);
                }
            },
            [&] { Menu(IDM_DATA_MENU); });
        return out;
    }

    static HMENU PopupOf(HWND menuWindow) {
        return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    }

    static std::wstring Describe(HWND window) {
        wchar_t name[64] = {}, caption[64] = {};
        GetClassNameW(window, name, 64);
        GetWindowTextW(window, caption, 64);
        std::wstring text = std::wstring(name) + L"|" + caption;
        if (text.starts_with(L"#32768")) {
            text += std::to_wstring(GetMenuItemID(PopupOf(window), 0));
        } else {
            SendMessageW(window, WM_COMMAND, IDM_BAR_OK, 0);
        }
        return text;
    }

    // A hash of the item as it paints.
    std::uint64_t Picture() {
        RECT client{};
        GetClientRect(item, &client);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(item, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        std::uint64_t hash = 1469598103934665603u;
        const auto* pixel = static_cast<const std::uint32_t*>(bits);
        for (LONG i = 0; bits != nullptr && i < client.right * client.bottom; ++i) {
            hash = (hash ^ pixel[i]) * 1099511628211u;
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return hash;
    }

    // The names the 操作 page lists, by command code + 1.
    std::vector<std::wstring> CommandNames() {
        std::vector<std::wstring> names;
        Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, 6);
            const int count = static_cast<int>(
                SendDlgItemMessageW(page, IDC_OPERATION_ACTION, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t text[64] = {};
                SendDlgItemMessageW(page, IDC_OPERATION_ACTION, CB_GETLBTEXT,
                                    static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                names.emplace_back(text);
            }
            Press(sheet, PSBTN_CANCEL);
        });
        return names;
    }

    struct MenuItem {
        int popup;
        UINT id;
        std::wstring text;
    };
    // Every item of the three popups, as the resource holds them.
    std::vector<MenuItem> PopupItems() const {
        std::vector<MenuItem> items;
        HMENU menus = LoadMenuW(module, MAKEINTRESOURCEW(IDR_POPUP_MENUS));
        for (int popup = 0; popup < GetMenuItemCount(menus); ++popup) {
            HMENU sub = GetSubMenu(menus, popup);
            for (int i = 0; i < GetMenuItemCount(sub); ++i) {
                wchar_t text[64] = {};
                if (GetMenuStringW(sub, static_cast<UINT>(i), text, 64, MF_BYPOSITION) > 0) {
                    items.push_back({popup, GetMenuItemID(sub, i), text});
                }
            }
        }
        DestroyMenu(menus);
        return items;
    }

    // Two own entries, an appointment and a task; the first line, "a", is
    // pinned and has passed on the day the commands run.
    static inline const std::string kOwn = "2013/11/03,,a,,1,\r\n2013/11/05,,b,work,,\r\n";
    static inline const std::string kStore =
        "[appointment]\noid: 3\nsubject: meeting\nstart: 2013-11-06 14:00\n"
        "end: 2013-11-06 15:00\ncategories: work\n"
        "[task]\noid: 4\nsubject: report\nstart: none\ndue: 2013-11-07\n";
};

// Each menu item is named as a command on the 操作 page; it runs that
// command.
TEST_F(ItemMenuTest, EveryMenuItemIsTheCommandOfItsName) {
    Start("", "");
    const std::vector<std::wstring> names = CommandNames();
    ASSERT_EQ(names.size(), 38u);
    const std::vector<MenuItem> items = PopupItems();
    ASSERT_EQ(items.size(), 13u + 13u + 3u); // separators aside
    for (const MenuItem& m : items) {
        const std::optional<int> code = vantrel::CommandOfMenuId(static_cast<int>(m.id));
        ASSERT_TRUE(code.has_value()) << m.id;
        EXPECT_EQ(names[static_cast<std::size_t>(*code + 1)], m.text) << m.id;
    }
}

// Through the window: choosing a menu item has the same outcome as the
// action key bound to the command of the item's name, and a different one
// from the action key bound to nothing.
TEST_F(ItemMenuTest, ChoosingAMenuItemRunsItsCommand) {
    Start("", "");
    const std::vector<std::wstring> names = CommandNames();
    ASSERT_EQ(names.size(), 38u);
    const auto actionKey = [this] { SendMessageW(item, WM_TODAYCUSTOM_ACTION, 0, 0); };
    const Outcome nothing = Run(actionKey, -1);
    for (const MenuItem& m : PopupItems()) {
        int code = -1;
        for (std::size_t i = 0; i < names.size(); ++i) {
            code = names[i] == m.text ? static_cast<int>(i) - 1 : code;
        }
        ASSERT_GE(code, 0) << m.id;
        const Outcome chosen = Run([&] { Menu(static_cast<int>(m.id)); });
        const Outcome bound = Run(actionKey, code);
        EXPECT_TRUE(chosen == bound) << m.id << " and command " << code;
        EXPECT_FALSE(chosen == nothing) << m.id << " did nothing";
    }
}

// Started on each filter, the Filter popup marks that filter's item and no
// other.
TEST_F(ItemMenuTest, TheFilterPopupMarksTheFilterInForce) {
    const UINT byFilter[13] = {IDM_FILTER_ALL,       IDM_FILTER_TODAY,     IDM_FILTER_YESTERDAY,
                               IDM_FILTER_TOMORROW,  IDM_FILTER_FROM_NOW,  IDM_FILTER_WEEK_AHEAD,
                               IDM_FILTER_THIS_WEEK, IDM_FILTER_NEXT_WEEK, IDM_FILTER_RANGE,
                               IDM_FILTER_TODO,      IDM_FILTER_TAG,       IDM_FILTER_SEARCH,
                               IDM_FILTER_PAST};
    for (DWORD filter = 0; filter < 13; ++filter) {
        Start(kOwn, "", {{L"StartFilter", filter}});
        std::vector<UINT> marked;
        EXPECT_TRUE(WhileModal(
            [&](HWND menuWindow) {
                HMENU menu = PopupOf(menuWindow);
                for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                    if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) !=
                        0) {
                        marked.push_back(GetMenuItemID(menu, i));
                    }
                }
            },
            [&] { Menu(IDM_FILTER_MENU); }))
            << filter;
        EXPECT_EQ(marked, std::vector<UINT>{byFilter[filter]}) << filter;
    }
}

// A popup opened from the menu or the Filter or Data command opens at the
// item's top-right corner; tap-and-hold opens it at the held point, a tap
// bound to a popup at the tapped point.
TEST_F(ItemMenuTest, PopupsOpenAtTheAnchorOrTheTappedPoint) {
    Start(kOwn, "", {{L"ExTap", 4}});
    RECT client{};
    GetClientRect(item, &client);
    POINT corner{client.right, client.top};
    ClientToScreen(item, &corner);
    POINT held{30, 5};
    ClientToScreen(item, &held);
    const int below = client.bottom - 5; // under the last entry
    POINT tapped{50, below};
    ClientToScreen(item, &tapped);
    struct Case {
        const char* how;
        std::function<void()> open;
        POINT at;
    };
    const Case cases[] = {
        {"Filter menu item", [&] { Menu(IDM_FILTER_MENU); }, corner},
        {"Data menu item", [&] { Menu(IDM_DATA_MENU); }, corner},
        {"tap-and-hold",
         [&] {
             SendMessageW(item, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(item),
                          MAKELPARAM(held.x, held.y));
         },
         held},
        {"tap",
         [&] {
             SendMessageW(item, WM_LBUTTONDOWN, 0, MAKELPARAM(50, below));
             SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(50, below));
         },
         tapped},
    };
    for (const Case& c : cases) {
        RECT placed{-1, -1, -1, -1};
        EXPECT_TRUE(
            WhileModal([&](HWND menuWindow) { GetWindowRect(menuWindow, &placed); }, c.open))
            << c.how;
        EXPECT_EQ(placed.left, c.at.x) << c.how;
        EXPECT_EQ(placed.top, c.at.y) << c.how;
    }
}

} // namespace
