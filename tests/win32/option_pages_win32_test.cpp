// The 表示1, 表示3, 操作, 予定表 and 仕事 pages through their real dialog
// procedures: the stored settings are shown by the right controls, and
// what the controls are changed to is stored on OK. Each page runs as many
// rounds as its longest list or bit set has values, so every list index,
// every bit combination and both states of every box are shown and stored.

#include "resource_ids.h"
#include "win32/item_fixture.h"
#include "win32/options_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using namespace vantrel::testing;

class OptionPagesTest : public ItemCommandTest {};

// How a control shows its setting.
enum class Shows {
    kCheck,    // checked = 1
    kInverted, // checked = 0
    kBit,      // checked = the bit is set
    kList,     // list index = value - low
    kNumber,   // up-down position, within low..high
};

struct Control {
    const wchar_t* setting;
    int id;
    Shows shows;
    int low = 0, high = 1; // the values the control can show; the bit for kBit
};

Control Check(const wchar_t* setting, int id) {
    return {setting, id, Shows::kCheck};
}
Control Inverted(const wchar_t* setting, int id) {
    return {setting, id, Shows::kInverted};
}
Control Bit(const wchar_t* setting, int id, int bit) {
    return {setting, id, Shows::kBit, bit, bit};
}
Control List(const wchar_t* setting, int id, int low, int high) {
    return {setting, id, Shows::kList, low, high};
}
Control Number(const wchar_t* setting, int id, int low, int high) {
    return {setting, id, Shows::kNumber, low, high};
}

struct TextBox {
    const wchar_t* setting;
    int id;
};

struct Page {
    const char* name;
    int index; // in the sheet
    std::vector<Control> controls;
    std::vector<TextBox> texts;
};

// The controls of one setting (several for a bit set).
std::vector<Control> ControlsOf(const Page& page, const std::wstring& setting) {
    std::vector<Control> found;
    for (const Control& c : page.controls) {
        if (setting == c.setting) {
            found.push_back(c);
        }
    }
    return found;
}

std::vector<std::wstring> SettingsOf(const Page& page) {
    std::vector<std::wstring> names;
    for (const Control& c : page.controls) {
        if (std::find(names.begin(), names.end(), c.setting) == names.end()) {
            names.emplace_back(c.setting);
        }
    }
    return names;
}

int BitsOf(const std::vector<Control>& controls) {
    int mask = 0;
    for (const Control& c : controls) {
        mask |= c.shows == Shows::kBit ? c.low : 0;
    }
    return mask;
}

// How many values a setting takes: a bit set every combination, a list
// every entry, a number its two ends and one between.
int ValueCount(const std::vector<Control>& controls) {
    const Control& c = controls.front();
    switch (c.shows) {
    case Shows::kBit:
        return BitsOf(controls) + 1;
    case Shows::kList:
        return c.high - c.low + 1;
    case Shows::kNumber:
        return 3;
    default:
        return 2;
    }
}

// The value of the `n`th setting of a page in round `round`: the settings
// of a page go through their values out of step with each other.
int ValueIn(const std::vector<Control>& controls, int n, int round) {
    const Control& c = controls.front();
    const int count = ValueCount(controls);
    switch (c.shows) {
    case Shows::kBit:
        return (round * 5 + n * 3) % count; // 5 is prime to 8 and 16: every combination
    case Shows::kList:
        return c.low + (round + 5 * n) % count;
    case Shows::kNumber: {
        const int step = (round + n) % count;
        return step == 0 ? c.low : step == 1 ? c.high : c.low + (c.high - c.low) / 3;
    }
    default:
        return (round + n) % 2;
    }
}

std::wstring TextFor(int n, int round) {
    // An empty text in some rounds, Japanese and commas in the others.
    return (round + n) % 3 == 0 ? L"" : L"休日" + std::to_wstring(round) + L",仕事 " + L"x";
}

int ShownValue(HWND page, const std::vector<Control>& controls) {
    int value = 0;
    for (const Control& c : controls) {
        switch (c.shows) {
        case Shows::kCheck:
            value = IsChecked(page, c.id) ? 1 : 0;
            break;
        case Shows::kInverted:
            value = IsChecked(page, c.id) ? 0 : 1;
            break;
        case Shows::kBit:
            value |= IsChecked(page, c.id) ? c.low : 0;
            break;
        case Shows::kList:
            value = Picked(page, c.id) + c.low;
            break;
        case Shows::kNumber:
            value = static_cast<int>(SendDlgItemMessageW(page, c.id + 1, UDM_GETPOS32, 0, 0));
            break;
        }
    }
    return value;
}

// Changes the controls as the user would.
void Enter(HWND page, const std::vector<Control>& controls, int value) {
    for (const Control& c : controls) {
        switch (c.shows) {
        case Shows::kCheck:
            SetChecked(page, c.id, value != 0);
            break;
        case Shows::kInverted:
            SetChecked(page, c.id, value == 0);
            break;
        case Shows::kBit:
            SetChecked(page, c.id, (value & c.low) != 0);
            break;
        case Shows::kList:
            Pick(page, c.id, value - c.low);
            break;
        case Shows::kNumber:
            Type(page, c.id, value);
            break;
        }
    }
}

const Page kDisplay1{"表示1",
                     1,
                     {
                         Check(L"DrawCheck", IDC_DISPLAY1_DRAW_CHECK),
                         Check(L"DrawIcon", IDC_DISPLAY1_DRAW_ICON),
                         Check(L"DrawWDay", IDC_DISPLAY1_DRAW_WDAY),
                         Check(L"DrawSpan", IDC_DISPLAY1_DRAW_SPAN),
                         Check(L"DrawTomorrow", IDC_DISPLAY1_DRAW_TOMORROW),
                         Check(L"CheckDate", IDC_DISPLAY1_CHECK_DATE),
                         Check(L"CheckStrikeOut", IDC_DISPLAY1_CHECK_STRIKE_OUT),
                         List(L"AutoUpdate", IDC_DISPLAY1_AUTO_UPDATE, 0, 3),
                         Number(L"ResetTime", IDC_DISPLAY1_RESET_TIME, 0, 99),
                         Number(L"MaxMinutes", IDC_DISPLAY1_MAX_MINUTES, 60, 999),
                     },
                     {}};

const Page kDisplay3{"表示3",
                     3,
                     {
                         Check(L"ExFocus", IDC_DISPLAY3_EX_FOCUS),
                         Number(L"ExFontSize", IDC_DISPLAY3_EX_FONT_SIZE, 0, 99),
                         Number(L"ExFocusTime", IDC_DISPLAY3_EX_FOCUS_TIME, 0, 9999),
                     },
                     {}};

// Every list offers "なし" (-1) and the commands 0..36.
const Page kOperation{"操作",
                      6,
                      {
                          List(L"ExTapHold", IDC_OPERATION_TAP_HOLD, -1, 36),
                          List(L"ExTap", IDC_OPERATION_TAP, -1, 36),
                          List(L"ExAction", IDC_OPERATION_ACTION, -1, 36),
                          List(L"ExUp", IDC_OPERATION_UP, -1, 36),
                          List(L"ExDown", IDC_OPERATION_DOWN, -1, 36),
                          List(L"ExLeft", IDC_OPERATION_LEFT, -1, 36),
                          List(L"ExRight", IDC_OPERATION_RIGHT, -1, 36),
                          Check(L"DelWarn", IDC_OPERATION_DEL_WARN),
                          Check(L"CheckWarn", IDC_OPERATION_CHECK_WARN),
                          Check(L"CheckSort", IDC_OPERATION_CHECK_SORT),
                          Check(L"CheckTime", IDC_OPERATION_CHECK_TIME),
                      },
                      {}};

// The hide box is checked when ViewHoliday is 0.
const Page kAppointments{
    "予定表",
    7,
    {
        Inverted(L"ViewHoliday", IDC_APPT_HIDE_CATEGORIES),
        Check(L"ApptVRL", IDC_APPT_SHOW_CATEGORIES),
        Bit(L"BusyStatus", IDC_APPT_BUSY_FREE, 1),
        Bit(L"BusyStatus", IDC_APPT_BUSY_TENTATIVE, 2),
        Bit(L"BusyStatus", IDC_APPT_BUSY_BUSY, 4),
        Bit(L"BusyStatus", IDC_APPT_BUSY_OUT_OF_OFFICE, 8),
        Bit(L"ApptSens", IDC_APPT_SENS_NORMAL, 1),
        Bit(L"ApptSens", IDC_APPT_SENS_PERSONAL, 2),
        Bit(L"ApptSens", IDC_APPT_SENS_PRIVATE, 4),
        Bit(L"ApptSens", IDC_APPT_SENS_CONFIDENTIAL, 8),
    },
    {{L"ApptHoliday", IDC_APPT_HIDDEN_CATEGORIES}, {L"ApptVRLCat", IDC_APPT_SHOWN_CATEGORIES}}};

// Unlike 予定表, the hide box stores TaskNoVRL as it is.
const Page kTasks{
    "仕事",
    8,
    {
        Check(L"TaskNoVRL", IDC_TASK_HIDE_CATEGORIES),
        Check(L"TaskVRL", IDC_TASK_SHOW_CATEGORIES),
        Bit(L"Importance", IDC_TASK_IMPORTANCE_LOW, 1),
        Bit(L"Importance", IDC_TASK_IMPORTANCE_NORMAL, 2),
        Bit(L"Importance", IDC_TASK_IMPORTANCE_HIGH, 4),
        Bit(L"TaskSens", IDC_TASK_SENS_NORMAL, 1),
        Bit(L"TaskSens", IDC_TASK_SENS_PERSONAL, 2),
        Bit(L"TaskSens", IDC_TASK_SENS_PRIVATE, 4),
        Bit(L"TaskSens", IDC_TASK_SENS_CONFIDENTIAL, 8),
    },
    {{L"TaskNoVRLCat", IDC_TASK_HIDDEN_CATEGORIES}, {L"TaskVRLCat", IDC_TASK_SHOWN_CATEGORIES}}};

// A bit the boxes do not show, stored in every other round: the boxes
// form the whole set, so it is gone once the page applies.
constexpr int kStrayBit = 0x100;

TEST_F(OptionPagesTest, EveryControlShowsAndStoresItsSetting) {
    Start("", "");
    for (const Page* page : {&kDisplay1, &kDisplay3, &kOperation, &kAppointments, &kTasks}) {
        const std::vector<std::wstring> names = SettingsOf(*page);
        int rounds = 0;
        for (const std::wstring& name : names) {
            rounds = std::max(rounds, ValueCount(ControlsOf(*page, name)));
        }
        for (int round = 0; round < rounds; ++round) {
            SCOPED_TRACE(std::string(page->name) + " round " + std::to_string(round));
            for (std::size_t n = 0; n < names.size(); ++n) {
                const std::vector<Control> controls = ControlsOf(*page, names[n]);
                const int stray =
                    controls.front().shows == Shows::kBit && round % 2 == 1 ? kStrayBit : 0;
                SetDword(names[n].c_str(),
                         static_cast<DWORD>(ValueIn(controls, static_cast<int>(n), round) | stray));
            }
            for (std::size_t n = 0; n < page->texts.size(); ++n) {
                SetText(page->texts[n].setting, TextFor(static_cast<int>(n), round));
            }
            EXPECT_TRUE(Options([&](HWND sheet) {
                HWND shown = ShowPage(sheet, page->index);
                for (std::size_t n = 0; n < names.size(); ++n) {
                    const std::vector<Control> controls = ControlsOf(*page, names[n]);
                    const int before = ValueIn(controls, static_cast<int>(n), round);
                    EXPECT_EQ(ShownValue(shown, controls), before) << names[n].c_str();
                    Enter(shown, controls, ValueIn(controls, static_cast<int>(n), round + 1));
                }
                for (std::size_t n = 0; n < page->texts.size(); ++n) {
                    const TextBox& box = page->texts[n];
                    EXPECT_EQ(TextIn(shown, box.id), TextFor(static_cast<int>(n), round))
                        << box.setting;
                    SetDlgItemTextW(shown, box.id, TextFor(static_cast<int>(n), round + 1).c_str());
                }
                Press(sheet, PSBTN_OK);
            }));
            for (std::size_t n = 0; n < names.size(); ++n) {
                const std::vector<Control> controls = ControlsOf(*page, names[n]);
                EXPECT_EQ(static_cast<int>(GetDword(names[n].c_str())),
                          ValueIn(controls, static_cast<int>(n), round + 1))
                    << names[n].c_str();
            }
            for (std::size_t n = 0; n < page->texts.size(); ++n) {
                EXPECT_EQ(GetText(page->texts[n].setting), TextFor(static_cast<int>(n), round + 1))
                    << page->texts[n].setting;
            }
        }
    }
}

// The number boxes hold their ranges: the up-down controls are set to them.
TEST_F(OptionPagesTest, NumberBoxesHaveTheirRanges) {
    Start("", "");
    for (const Page* page : {&kDisplay1, &kDisplay3}) {
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND shown = ShowPage(sheet, page->index);
            for (const Control& c : page->controls) {
                if (c.shows != Shows::kNumber) {
                    continue;
                }
                int low = -1, high = -1;
                SendDlgItemMessageW(shown, c.id + 1, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                    reinterpret_cast<LPARAM>(&high));
                EXPECT_EQ(low, c.low) << c.setting;
                EXPECT_EQ(high, c.high) << c.setting;
            }
            Press(sheet, PSBTN_CANCEL);
        }));
    }
}

std::wstring ListLine(HWND page, int id, int index) {
    wchar_t text[LF_FACESIZE + 1] = {};
    if (SendDlgItemMessageW(page, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) <=
        LF_FACESIZE) {
        SendDlgItemMessageW(page, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text));
    }
    return text;
}

// 表示3's font list: the stored face when it is listed with exactly that
// name, else the face the screen's device context uses; OK stores the
// chosen face and char set 0 (the entries carry none).
TEST_F(OptionPagesTest, TheEnlargedFontListShowsAndStoresTheFace) {
    Start("", "");
    wchar_t current[LF_FACESIZE] = {};
    HDC screen = GetDC(nullptr);
    GetTextFaceW(screen, LF_FACESIZE, current);
    ReleaseDC(nullptr, screen);
    // A listed face other than the current one, whose name has capitals.
    std::wstring other;
    SetText(L"ExFontName", L"NoSuchFace");
    EXPECT_TRUE(Options([&](HWND sheet) {
        HWND page = ShowPage(sheet, 3);
        EXPECT_EQ(ListLine(page, IDC_DISPLAY3_EX_FONT, Picked(page, IDC_DISPLAY3_EX_FONT)),
                  current);
        const int count =
            static_cast<int>(SendDlgItemMessageW(page, IDC_DISPLAY3_EX_FONT, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count && other.empty(); ++i) {
            const std::wstring name = ListLine(page, IDC_DISPLAY3_EX_FONT, i);
            if (name != current && !name.starts_with(L"@") &&
                std::any_of(name.begin(), name.end(),
                            [](wchar_t c) { return std::iswupper(c) != 0; })) {
                other = name;
            }
        }
        Press(sheet, PSBTN_CANCEL);
    }));
    ASSERT_FALSE(other.empty());
    std::wstring lower = other;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    struct Case {
        std::wstring stored, shown;
    };
    for (const Case& c : {Case{other, other}, Case{lower, current}}) {
        SetText(L"ExFontName", c.stored);
        SetDword(L"ExCharSet", 128);
        EXPECT_TRUE(Options([&](HWND sheet) {
            HWND page = ShowPage(sheet, 3);
            EXPECT_EQ(ListLine(page, IDC_DISPLAY3_EX_FONT, Picked(page, IDC_DISPLAY3_EX_FONT)),
                      c.shown);
            Press(sheet, PSBTN_OK);
        }));
        EXPECT_EQ(GetText(L"ExFontName"), c.shown);
        EXPECT_EQ(GetDword(L"ExCharSet"), 0u);
    }
}

} // namespace
