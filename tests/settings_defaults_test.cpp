#include "settings/device_defaults.h"
#include "settings/over_minutes.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "support/memory_registry.h"
#include "today/layout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantrel {
namespace {

TEST(DeviceDefaults, TextHeightGivesBothFontSizes) {
    struct Case {
        std::int32_t textHeight, fontSize, exFontSize, systemHeight;
    };
    const Case cases[] = {{10, 10, 12, 10}, {14, 14, 16, 14}, {16, 16, 19, 16},
                          {4, 4, 4, 4},     {3, 14, 18, 14},  {0, 14, 18, 14}};
    for (const Case& c : cases) {
        Settings s;
        const std::int32_t system =
            ApplyDeviceDefaults(s, {u"Tahoma", 128, c.textHeight, 0x112233, 0x445566});
        EXPECT_EQ(s.FontSize, c.fontSize) << c.textHeight;
        EXPECT_EQ(s.ExFontSize, c.exFontSize) << c.textHeight;
        EXPECT_EQ(system, c.systemHeight) << c.textHeight;
        EXPECT_EQ(s.FontName, u"Tahoma");
        EXPECT_EQ(s.CharSet, 128);
        EXPECT_EQ(s.CrFocusTx, 0x112233);
        EXPECT_EQ(s.CrFocusBk, 0x445566);
    }
}

TEST(DeviceDefaults, LongFaceNameIsCut) {
    Settings s;
    const std::u16string face(50, u'x');
    ApplyDeviceDefaults(s, {face, 0, 12, 0, 0});
    EXPECT_EQ(s.FontName.size(), 31u);
}

// The column widths and spacing are QVGA pixels: a denser screen gets them
// grown by dpi / 96, rounded; 96 dpi or less, or no figure, keeps them.
TEST(DeviceDefaults, PixelWidthsFollowTheScreenDensity) {
    struct Case {
        std::int32_t dpi, date, count, sep, lineSpace;
    };
    const Case cases[] = {{96, 55, 55, 2, 2},  {192, 110, 110, 4, 4}, {131, 75, 75, 3, 3},
                          {128, 73, 73, 3, 3}, {144, 83, 83, 3, 3},   {72, 55, 55, 2, 2},
                          {0, 55, 55, 2, 2}};
    for (const Case& c : cases) {
        Settings s;
        ApplyDeviceDefaults(s, {u"IPAGothic", 128, 24, 0, 0, c.dpi});
        EXPECT_EQ(s.WidthDate, c.date) << c.dpi;
        EXPECT_EQ(s.WidthDayCount, c.count) << c.dpi;
        EXPECT_EQ(s.WidthSep, c.sep) << c.dpi;
        EXPECT_EQ(s.LineSpace, c.lineSpace) << c.dpi;
        EXPECT_EQ(s.WidthMemo, 0) << c.dpi; // automatic stays automatic
        EXPECT_EQ(s.FontSize, 24) << c.dpi; // the font is the device's already
    }
}

// Only defaults grow: a value the user stored is read back as it is, and a
// value missing from the key keeps the device's default.
TEST(DeviceDefaults, StoredWidthsWinOverTheDensityDefaults) {
    testing::MemoryRegistry registry;
    Settings stored; // a QVGA user's figures, stored
    stored.WidthDayCount = 60;
    SaveSettings(stored, registry, 0);
    registry.Values(kSettingsKey).erase(u"LineSpace");

    Settings s;
    ApplyDeviceDefaults(s, {u"IPAGothic", 128, 24, 0, 0, 192});
    EXPECT_EQ(LoadSettings(s, registry), 0);
    EXPECT_EQ(s.WidthDate, 55);
    EXPECT_EQ(s.WidthDayCount, 60);
    EXPECT_EQ(s.WidthSep, 2);
    EXPECT_EQ(s.LineSpace, 4); // not stored: the VGA default
}

// A damaged or hand-edited key: the line spacing and the number of lines
// come back within their options ranges, so the layout of the Today item
// works on the same figures the options could have set.
TEST(DeviceDefaults, DamagedLineFiguresStillLayOut) {
    struct Case {
        std::uint32_t lineSpace, viewLine; // as stored
        std::int32_t loadedLineSpace, loadedViewLine, rows, itemHeight;
    };
    const Case cases[] = {
        // 99 spacing, lines from the screen: (320 - 2 * 99) / (99 + 14) = 1
        {0x7FFFFFFF, 0xFFFFFFFF, 99, 0, 1, 99 + (99 + 14)},
        {0x80000000, 0x7FFFFFFF, 0, 9999, 10, 10 * 14}, // no more rows than entries
        {0xFFFFFFFB, 3, 0, 3, 3, 3 * 14},
        {100, 10000, 99, 9999, 10, 99 + 10 * (99 + 14)},
    };
    for (const Case& c : cases) {
        testing::MemoryRegistry registry;
        Settings stored;
        ApplyDeviceDefaults(stored, {u"IPAGothic", 128, 14, 0, 0, 96});
        SaveSettings(stored, registry, 0);
        for (const auto& [name, value] :
             {std::pair{u"LineSpace", c.lineSpace}, std::pair{u"ViewLine", c.viewLine}}) {
            std::vector<std::uint8_t> bytes(4);
            std::memcpy(bytes.data(), &value, 4);
            registry.PutBytes(kSettingsKey, name, testing::ValueType::Dword, bytes);
        }

        Settings s;
        TodayViewState state;
        state.systemFontHeight = ApplyDeviceDefaults(s, {u"IPAGothic", 128, 14, 0, 0, 96});
        EXPECT_EQ(LoadSettings(s, registry), 1);
        EXPECT_EQ(s.LineSpace, c.loadedLineSpace) << c.lineSpace;
        EXPECT_EQ(s.ViewLine, c.loadedViewLine) << c.viewLine;

        LayoutInputs in;
        in.clientRect = {0, 0, 240, 100};
        in.screenWidth = 240;
        in.screenHeight = 320;
        in.viewCount = 10;
        ComputeLayout(state, s, in);
        EXPECT_EQ(state.lineTextHeight, 14);
        EXPECT_EQ(state.rowsPerColumn, c.rows) << c.lineSpace;
        EXPECT_EQ(state.itemHeight, c.itemHeight) << c.lineSpace;
        EXPECT_EQ(state.columnCount, 1);
    }
}

TEST(OverMinutes, DaysRoundTrip) {
    struct Case {
        std::int32_t days;
        std::int64_t stored;
    };
    const Case cases[] = {{0, 2100000000},
                          {-1, 2099997120},
                          {-3, 2099994240},
                          {1, 2100001440},
                          {-99999, 2100000000LL - 100000LL * 1440},
                          {99999, 2100000000LL + 99999LL * 1440}};
    for (const Case& c : cases) {
        const std::int32_t stored = OverMinutesFromDays(c.days);
        EXPECT_EQ(static_cast<std::uint32_t>(stored), static_cast<std::uint32_t>(c.stored))
            << c.days;
        EXPECT_EQ(DaysFromOverMinutes(stored), c.days) << c.days;
    }
    EXPECT_EQ(DaysFromOverMinutes(Settings{}.OverMinutes), -1);
}

// The record's defaults by registry name, before the window sets the fonts
// and focus colours of the device.
TEST(SettingsDefaults, EveryValueStartsAtItsDefault) {
    const struct {
        const char16_t* name;
        std::int32_t value;
    } numbers[] = {
        {u"DataLine", 1},
        {u"ViewLine", 4},
        {u"DrawCheck", 1},
        {u"CheckDate", 1},
        {u"StartView", 11},
        {u"StartFilter", 4},
        {u"SaveFilter", 0},
        {u"AutoUpdate", 1},
        {u"WidthDate", 55},
        {u"WidthDayCount", 55},
        {u"WidthMemo", 0},
        {u"ShortView", 0},
        {u"WidthSep", 2},
        {u"PosMemo", 3},
        {u"PosDate", 2},
        {u"PosDayCount", 1},
        {u"CharSet", 0},
        {u"FontSize", 0},
        {u"LineSpace", 2},
        {u"DrawWDay", 1},
        {u"DrawIcon", 1},
        {u"DrawSpan", 0},
        {u"DrawTomorrow", 1},
        {u"MaxMinutes", 180},
        {u"ResetTime", 3},
        {u"ExFocus", 1},
        {u"ExFocusTime", 4},
        {u"ExCharSet", 0},
        {u"ExFontSize", 0},
        {u"Future", 0},
        {u"StartWeek", 1},
        {u"DSpan1", -365},
        {u"DSpan2", -7},
        {u"DSpan3s", -1},
        {u"DSpan3e", 1},
        {u"DSpan4", 8},
        {u"DSpan5", 366},
        {u"DSpanFs", -1},
        {u"DSpanFe", 1},
        {u"DSpanTs", 1},
        {u"OverMinutes", 2099997120},
        {u"DrawToday", 1},
        {u"DrawAnniv", 1},
        {u"DrawToDo", 1},
        {u"DrawPosBar", 1},
        {u"DrawPosBarBk", 0},
        {u"FocusTx", 0},
        {u"FocusBk", 0},
        {u"CrTodayTx", 0x6464FF},
        {u"CrAnnivTx", 0x6464FF},
        {u"CrToDoOverTx", 0x8000FF},
        {u"CrToDoTx", 0x6464FF},
        {u"CrPin", 0x6464FF},
        {u"CrPosBarTx", 0x00FF7F},
        {u"CrPosBarBk", 0x391400},
        {u"CrFocusTx", 0x391400},
        {u"CrFocusBk", 0x00FF7F},
        {u"CrDataTx0", 0xC8C8C8},
        {u"CrDataTx1", 0xD4FFC3},
        {u"CrDataTx2", 0xC3EBFF},
        {u"CrDataTx3", 0xC4C3FF},
        {u"CrDataTx4", 0xF7C3FF},
        {u"CrDataTx5", 0xFFD7C3},
        {u"ExTapHold", 3},
        {u"ExTap", -1},
        {u"ExAction", 7},
        {u"ExUp", 16},
        {u"ExDown", 17},
        {u"ExLeft", 18},
        {u"ExRight", 19},
        {u"DelWarn", 1},
        {u"CheckWarn", 1},
        {u"CheckSort", 1},
        {u"CheckTime", 1},
        {u"CheckStrikeOut", 0},
        {u"ViewHoliday", 1},
        {u"ApptVRL", 0},
        {u"BusyStatus", 14},
        {u"ApptSens", 15},
        {u"TaskNoVRL", 0},
        {u"TaskVRL", 0},
        {u"Importance", 7},
        {u"TaskSens", 15},
    };
    const struct {
        const char16_t* name;
        const char16_t* value;
    } texts[] = {
        {u"OpenFile", u""},     {u"FilterTag", u""},       {u"FontName", u""},
        {u"ExFontName", u""},   {u"ApptHoliday", u"祝日"}, {u"ApptVRLCat", u"VRL"},
        {u"TaskNoVRLCat", u""}, {u"TaskVRLCat", u"VRL"},
    };
    EXPECT_EQ(std::size(numbers) + std::size(texts), SettingValuesInReadOrder().size());
    const Settings s;
    for (const auto& n : numbers) {
        const SettingValue* value = FindSettingValue(n.name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(s.*std::get<std::int32_t Settings::*>(value->field), n.value)
            << std::string(n.name, n.name + std::char_traits<char16_t>::length(n.name));
    }
    for (const auto& t : texts) {
        const SettingValue* value = FindSettingValue(t.name);
        ASSERT_NE(value, nullptr);
        const std::u16string text = std::visit(
            [&](auto field) -> std::u16string {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, std::int32_t Settings::*>) {
                    return u"(a number)";
                } else if constexpr (std::is_same_v<Field, std::u16string Settings::*>) {
                    return s.*field;
                } else {
                    return (s.*field).str();
                }
            },
            value->field);
        EXPECT_EQ(text, t.value);
    }
}
} // namespace
} // namespace vantrel
