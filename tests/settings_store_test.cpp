#include "settings/device_defaults.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vantrel {
namespace {

using testing::MemoryRegistry;
using testing::ValueType;

// The registry names in read order, written out independently of the code.
const std::vector<std::u16string> kReadOrder = {
    u"OpenFile",     u"DataLine",      u"ViewLine",    u"DrawCheck",      u"CheckDate",
    u"StartView",    u"StartFilter",   u"SaveFilter",  u"FilterTag",      u"AutoUpdate",
    u"WidthDate",    u"WidthDayCount", u"WidthMemo",   u"ShortView",      u"WidthSep",
    u"PosMemo",      u"PosDate",       u"PosDayCount", u"FontName",       u"CharSet",
    u"FontSize",     u"LineSpace",     u"DrawWDay",    u"DrawIcon",       u"DrawSpan",
    u"DrawTomorrow", u"MaxMinutes",    u"ResetTime",   u"ExFocus",        u"ExFocusTime",
    u"ExFontName",   u"ExCharSet",     u"ExFontSize",  u"Future",         u"StartWeek",
    u"DSpan1",       u"DSpan2",        u"DSpan3s",     u"DSpan3e",        u"DSpan4",
    u"DSpan5",       u"DSpanFs",       u"DSpanFe",     u"DSpanTs",        u"OverMinutes",
    u"DrawToday",    u"DrawAnniv",     u"DrawToDo",    u"DrawPosBar",     u"DrawPosBarBk",
    u"FocusTx",      u"FocusBk",       u"CrTodayTx",   u"CrAnnivTx",      u"CrToDoOverTx",
    u"CrToDoTx",     u"CrPin",         u"CrPosBarTx",  u"CrPosBarBk",     u"CrFocusTx",
    u"CrFocusBk",    u"CrDataTx0",     u"CrDataTx1",   u"CrDataTx2",      u"CrDataTx3",
    u"CrDataTx4",    u"CrDataTx5",     u"ExTapHold",   u"ExTap",          u"ExAction",
    u"ExUp",         u"ExDown",        u"ExLeft",      u"ExRight",        u"DelWarn",
    u"CheckWarn",    u"CheckSort",     u"CheckTime",   u"CheckStrikeOut", u"ViewHoliday",
    u"ApptHoliday",  u"ApptVRL",       u"ApptVRLCat",  u"BusyStatus",     u"ApptSens",
    u"TaskNoVRL",    u"TaskNoVRLCat",  u"TaskVRL",     u"TaskVRLCat",     u"Importance",
    u"TaskSens"};

std::vector<std::u16string> FullSaveOrder() {
    std::vector<std::u16string> order = {u"StartFilter", u"FilterTag", u"StartView",
                                         u"OpenFile",    u"DataLine",  u"ViewLine",
                                         u"DrawCheck",   u"CheckDate", u"SaveFilter"};
    order.insert(order.end(), kReadOrder.begin() + 9, kReadOrder.end());
    return order;
}

std::int32_t Dword(const testing::StoredValue& v) {
    std::int32_t value = 0;
    EXPECT_EQ(v.bytes.size(), 4u);
    std::memcpy(&value, v.bytes.data(), 4);
    return value;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminate = true) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminate) {
        bytes.insert(bytes.end(), {0, 0});
    }
    return bytes;
}

TEST(SettingsValues, ReadOrderMatchesTheRecord) {
    const auto values = SettingValuesInReadOrder();
    ASSERT_EQ(values.size(), kReadOrder.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(std::u16string(values[i].name), kReadOrder[i]) << i;
    }
}

TEST(SettingsStore, FreshKeyGetsTheFullSetInOrder) {
    MemoryRegistry registry;
    Settings settings;
    EXPECT_EQ(LoadSettings(settings, registry), 0);
    EXPECT_TRUE(registry.keys.contains(std::u16string(kSettingsKey))); // created empty
    EXPECT_TRUE(registry.writes.empty());

    EXPECT_EQ(SaveSettings(settings, registry, 0), 1);
    EXPECT_EQ(registry.writes, FullSaveOrder());
    auto& values = registry.Values(kSettingsKey);
    EXPECT_EQ(values.size(), 91u);
    EXPECT_EQ(Dword(values[u"StartView"]), 11);
    EXPECT_EQ(Dword(values[u"OverMinutes"]), 2099997120);
    EXPECT_EQ(Dword(values[u"ExTap"]), -1);
    EXPECT_EQ(values[u"OpenFile"].bytes, Utf16Bytes(u"")); // still empty in the registry
    EXPECT_EQ(values[u"ApptHoliday"].bytes, Utf16Bytes(u"\u795D\u65E5"));
    EXPECT_EQ(values[u"FilterTag"].bytes.size(), 2u); // empty REG_SZ

    // A second load finds everything and reproduces the record.
    Settings reloaded;
    reloaded.DataLine = 0;
    reloaded.ApptVRLCat = u"x";
    EXPECT_EQ(LoadSettings(reloaded, registry), 1);
    EXPECT_EQ(reloaded, settings);
}

TEST(SettingsStore, MissingValueLoadsTheRestAndTheFullSaveAddsIt) {
    MemoryRegistry registry;
    Settings stored;
    stored.ViewLine = 7;
    stored.TaskSens = 3;
    stored.FontName = u"IPAGothic";
    SaveSettings(stored, registry, 0);
    registry.Values(kSettingsKey).erase(u"TaskSens");

    Settings settings;
    settings.TaskSens = 9;
    EXPECT_EQ(LoadSettings(settings, registry), 0);
    EXPECT_EQ(settings.ViewLine, 7);
    EXPECT_EQ(settings.FontName, u"IPAGothic");
    EXPECT_EQ(settings.TaskSens, 9); // kept

    SaveSettings(settings, registry, 0);
    EXPECT_EQ(Dword(registry.Values(kSettingsKey)[u"TaskSens"]), 9);
}

TEST(SettingsStore, AutoUpdateIsRewrittenOnEveryLoad) {
    MemoryRegistry registry;
    Settings settings;
    settings.AutoUpdate = 2;
    SaveSettings(settings, registry, 0);
    registry.writes.clear();

    Settings loaded;
    LoadSettings(loaded, registry);
    EXPECT_EQ(registry.writes, std::vector<std::u16string>{u"AutoUpdate"});
    EXPECT_EQ(loaded.AutoUpdate, 2);

    // Missing, it is written with the value the field holds.
    registry.Values(kSettingsKey).erase(u"AutoUpdate");
    registry.writes.clear();
    loaded.AutoUpdate = 3;
    EXPECT_EQ(LoadSettings(loaded, registry), 0);
    EXPECT_EQ(registry.writes, std::vector<std::u16string>{u"AutoUpdate"});
    EXPECT_EQ(Dword(registry.Values(kSettingsKey)[u"AutoUpdate"]), 3);
}

// A damaged registry's filter code is no filter: the view starts at これから.
TEST(SettingsStore, AStartFilterOutsideTheCodesLoadsAsFromNow) {
    const struct {
        std::int32_t stored, loaded;
    } cases[] = {{-1, 4}, {-2147483647 - 1, 4}, {13, 4}, {0, 0}, {12, 12}, {7, 7}};
    for (const auto& c : cases) {
        MemoryRegistry registry;
        Settings settings;
        settings.StartFilter = c.stored;
        SaveSettings(settings, registry, 0);
        Settings loaded;
        LoadSettings(loaded, registry);
        EXPECT_EQ(loaded.StartFilter, c.loaded) << c.stored;
    }
}

TEST(SettingsStore, FilterOnlySaveOnAMissingKeyWritesStartFilterAlone) {
    MemoryRegistry registry;
    Settings settings;
    settings.StartFilter = 12;
    EXPECT_EQ(SaveSettings(settings, registry, 1), 1);
    EXPECT_EQ(registry.writes, std::vector<std::u16string>{u"StartFilter"});
    EXPECT_EQ(registry.Values(kSettingsKey).size(), 1u);
    EXPECT_EQ(Dword(registry.Values(kSettingsKey)[u"StartFilter"]), 12);
}

TEST(SettingsStore, SaveOpenFileWritesOnlyThePath) {
    MemoryRegistry registry;
    Settings settings;
    settings.OpenFile = u"\\My Documents\\a.vrl";
    EXPECT_EQ(SaveOpenFile(settings, registry), 1);
    EXPECT_EQ(registry.writes, std::vector<std::u16string>{u"OpenFile"});
    EXPECT_EQ(registry.Values(kSettingsKey)[u"OpenFile"].bytes,
              Utf16Bytes(u"\\My Documents\\a.vrl"));
}

TEST(SettingsStore, FailuresToCreateTheKeyReturnZero) {
    MemoryRegistry registry;
    registry.failCreate = true;
    Settings settings;
    EXPECT_EQ(SaveSettings(settings, registry, 0), 0);
    EXPECT_EQ(SaveSettings(settings, registry, 1), 0);
    EXPECT_EQ(SaveOpenFile(settings, registry), 0);
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_EQ(LoadSettings(settings, registry), 0);
    EXPECT_EQ(settings, Settings{});
}

TEST(SettingsStore, DeleteLeavesTheRecordAlone) {
    MemoryRegistry registry;
    Settings settings;
    settings.ViewLine = 9;
    SaveSettings(settings, registry, 0);
    EXPECT_EQ(DeleteSettings(registry), 1);
    EXPECT_FALSE(registry.keys.contains(std::u16string(kSettingsKey)));
    EXPECT_EQ(settings.ViewLine, 9);
    EXPECT_EQ(DeleteSettings(registry), 0); // nothing left to delete

    // The next load recreates it empty and reports the missing values.
    EXPECT_EQ(LoadSettings(settings, registry), 0);
    EXPECT_TRUE(registry.keys.contains(std::u16string(kSettingsKey)));
    EXPECT_EQ(settings.ViewLine, 9);
}

TEST(SettingsStore, WrongTypesAndSizesNeverOverrunAField) {
    MemoryRegistry registry;
    Settings settings;
    SaveSettings(settings, registry, 0);
    const std::u16string_view key = kSettingsKey;
    // Integers take a value only from exactly four bytes of REG_DWORD.
    registry.PutBytes(key, u"ViewLine", ValueType::Dword, {1, 2});
    registry.PutBytes(key, u"LineSpace", ValueType::Binary, {1, 0, 0, 0, 0, 0, 0, 0});
    registry.PutBytes(key, u"DataLine", ValueType::String, Utf16Bytes(u"7")); // 4 bytes
    registry.PutBytes(key, u"WidthSep", ValueType::Dword, {});
    // Texts only from REG_SZ, cut to their capacity and always terminated.
    registry.PutBytes(key, u"OpenFile", ValueType::String, Utf16Bytes(std::u16string(5000, u'p')));
    registry.PutBytes(key, u"FontName", ValueType::String, Utf16Bytes(std::u16string(40, u'f')));
    registry.PutBytes(key, u"ExFontName", ValueType::String,
                      Utf16Bytes(u"abc", /*terminate=*/false));
    std::vector<std::uint8_t> odd = Utf16Bytes(u"xy", false);
    odd.push_back(0x41);
    registry.PutBytes(key, u"ApptVRLCat", ValueType::String, odd);
    registry.PutBytes(key, u"TaskVRLCat", ValueType::Dword, {0x41, 0, 0x42, 0});
    registry.PutBytes(key, u"FilterTag", ValueType::String, Utf16Bytes(u"tag\0rest"));

    Settings loaded;
    EXPECT_EQ(LoadSettings(loaded, registry), 1);
    EXPECT_EQ(loaded.ViewLine, 4);
    EXPECT_EQ(loaded.LineSpace, 2);
    EXPECT_EQ(loaded.DataLine, 1); // not '7' and its terminator read as a number
    EXPECT_EQ(loaded.WidthSep, 2);
    EXPECT_EQ(loaded.OpenFile.size(), 259u);
    EXPECT_EQ(loaded.FontName, std::u16string(31, u'f'));
    EXPECT_EQ(loaded.ExFontName, u"abc");
    EXPECT_EQ(loaded.ApptVRLCat, u"xy");
    EXPECT_EQ(loaded.TaskVRLCat, u"VRL"); // not "AB"
    EXPECT_EQ(loaded.FilterTag, u"tag");
}

// Stored in a form no field of the record takes: another registry type
// than the record writes, or another size than four bytes for a number.
struct UnreadableValue {
    const char16_t* name;
    ValueType type;
    std::vector<std::uint8_t> bytes;
};

std::vector<UnreadableValue> UnreadableValues() {
    return {
        {u"WidthDate", ValueType::Qword, {70, 0, 0, 0, 0, 0, 0, 0}},
        {u"AutoUpdate", ValueType::Qword, {2, 0, 0, 0, 0, 0, 0, 0}},
        {u"ViewLine", ValueType::Binary, {1, 2}},
        {u"ExTap", ValueType::Binary, {5, 0, 0, 0}},
        {u"CrTodayTx", ValueType::String, Utf16Bytes(u"0x112233")},
        {u"CrPin", ValueType::String, Utf16Bytes(u"7")}, // four bytes, as a number has
        {u"StartFilter", ValueType::String, Utf16Bytes(u"12")},
        {u"TaskVRLCat", ValueType::Dword, {0x41, 0, 0x42, 0}},
        {u"FontName", ValueType::Binary, Utf16Bytes(u"Tahoma")},
        {u"OpenFile", ValueType::Dword, {1, 0, 0, 0}},
    };
}

// Window creation (device defaults, load, full save when something was
// missing, the default data file), then the options (load, sheet without
// changes, full save), the filter save and the data-file save: none of
// them puts a default in place of a value the record could not read.
TEST(SettingsStore, UnreadableValuesStayAsStoredThroughEverySave) {
    MemoryRegistry registry;
    Settings stored;
    stored.TaskSens = 3;
    SaveSettings(stored, registry, 0);
    for (const UnreadableValue& v : UnreadableValues()) {
        registry.PutBytes(kSettingsKey, v.name, v.type, v.bytes);
    }
    registry.Values(kSettingsKey).erase(u"Importance");
    registry.writes.clear();

    Settings s;
    ApplyDeviceDefaults(s, {u"IPAGothic", 128, 14, 0x010203, 0x040506});
    EXPECT_EQ(LoadSettings(s, registry), 0); // Importance is missing
    EXPECT_TRUE(registry.writes.empty());    // not even AutoUpdate
    SaveSettings(s, registry, 0);
    if (s.OpenFile.empty()) {
        s.OpenFile = kDefaultDataFile;
    }
    SaveOpenFile(s, registry); // the missing data file created at start-up
    // In memory the defaults stand in; what could be read is read.
    EXPECT_EQ(s.WidthDate, 55);
    EXPECT_EQ(s.AutoUpdate, 1);
    EXPECT_EQ(s.ViewLine, 4);
    EXPECT_EQ(s.ExTap, -1);
    EXPECT_EQ(s.CrTodayTx, 0x6464FF);
    EXPECT_EQ(s.CrPin, 0x6464FF);
    EXPECT_EQ(s.StartFilter, 4);
    EXPECT_EQ(s.TaskVRLCat, u"VRL");
    EXPECT_EQ(s.FontName, u"IPAGothic");
    EXPECT_EQ(s.OpenFile, kDefaultDataFile);
    EXPECT_EQ(s.TaskSens, 3);

    EXPECT_EQ(LoadSettings(s, registry), 1);
    SaveSettings(s, registry, 0);
    SaveSettings(s, registry, 1);
    SaveOpenFile(s, registry);

    auto& values = registry.Values(kSettingsKey);
    for (const UnreadableValue& v : UnreadableValues()) {
        const std::string name(v.name, v.name + std::char_traits<char16_t>::length(v.name));
        EXPECT_EQ(values[v.name].type, v.type) << name;
        EXPECT_EQ(values[v.name].bytes, v.bytes) << name;
    }
    EXPECT_EQ(Dword(values[u"Importance"]), 7); // missing: written with its default
    EXPECT_EQ(Dword(values[u"TaskSens"]), 3);
    EXPECT_EQ(values.size(), 91u);
}

// What the user sets in the options replaces what could not be read.
TEST(SettingsStore, AnUnreadableValueChangedInTheOptionsIsWritten) {
    MemoryRegistry registry;
    SaveSettings(Settings{}, registry, 0);
    for (const UnreadableValue& v : UnreadableValues()) {
        registry.PutBytes(kSettingsKey, v.name, v.type, v.bytes);
    }
    Settings s;
    LoadSettings(s, registry);
    s.WidthDate = 80;
    s.CrPin = 0x123456;
    s.TaskVRLCat = u"Work";
    s.OpenFile = u"\\Storage Card\\b.vrl";
    SaveSettings(s, registry, 0);

    auto& values = registry.Values(kSettingsKey);
    EXPECT_EQ(values[u"WidthDate"].type, ValueType::Dword);
    EXPECT_EQ(Dword(values[u"WidthDate"]), 80);
    EXPECT_EQ(Dword(values[u"CrPin"]), 0x123456);
    EXPECT_EQ(values[u"TaskVRLCat"].bytes, Utf16Bytes(u"Work"));
    EXPECT_EQ(values[u"OpenFile"].bytes, Utf16Bytes(u"\\Storage Card\\b.vrl"));
    EXPECT_EQ(values[u"ViewLine"].type, ValueType::Binary); // unchanged: left alone

    // A filter the user applies is remembered over an unreadable one.
    s.StartFilter = 2;
    SaveSettings(s, registry, 1);
    EXPECT_EQ(Dword(values[u"StartFilter"]), 2);

    Settings reloaded;
    EXPECT_EQ(LoadSettings(reloaded, registry), 1);
    EXPECT_EQ(reloaded.WidthDate, 80);
    EXPECT_EQ(reloaded.StartFilter, 2);
}

std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

// The integer field `name` after loading `stored` for it as a REG_DWORD.
std::int32_t LoadedInteger(std::u16string_view name, std::int32_t stored) {
    MemoryRegistry registry;
    registry.PutBytes(kSettingsKey, name, ValueType::Dword, DwordBytes(stored));
    Settings settings;
    LoadSettings(settings, registry);
    const SettingValue* value = FindSettingValue(name);
    if (value == nullptr || !std::holds_alternative<std::int32_t Settings::*>(value->field)) {
        ADD_FAILURE() << "no integer value of that name";
        return 0;
    }
    return settings.*std::get<std::int32_t Settings::*>(value->field);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Every integer read is brought within what its options page can set:
// numbers clamp to their box's range, check boxes are 0 or 1, bit sets
// keep their bits, colours their 24 bits, OverMinutes the biased minutes
// of -99999..99999 days.
TEST(SettingsStore, LoadedIntegersStayWithinWhatTheOptionsCanSet) {
    const struct {
        const char16_t* name;
        std::int32_t low, high;
    } ranges[] = {
        {u"ViewLine", 0, 9999},      {u"AutoUpdate", 0, 3},       {u"WidthDate", 0, 9999},
        {u"WidthDayCount", 0, 9999}, {u"WidthMemo", 0, 9999},     {u"WidthSep", 0, 99},
        {u"PosMemo", 1, 3},          {u"PosDate", 1, 3},          {u"PosDayCount", 1, 3},
        {u"CharSet", 0, 255},        {u"FontSize", 0, 99},        {u"LineSpace", 0, 99},
        {u"MaxMinutes", 60, 999},    {u"ResetTime", 0, 99},       {u"ExFocusTime", 0, 9999},
        {u"ExCharSet", 0, 255},      {u"ExFontSize", 0, 99},      {u"Future", 0, 2},
        {u"StartWeek", 0, 6},        {u"DSpan1", -99999, 99999},  {u"DSpan2", -99999, 99999},
        {u"DSpan3s", -99999, 99999}, {u"DSpan3e", -99999, 99999}, {u"DSpan4", -99999, 99999},
        {u"DSpan5", -99999, 99999},  {u"DSpanFs", -99999, 99999}, {u"DSpanFe", -99999, 99999},
        {u"DSpanTs", -99999, 1},     {u"ExTapHold", -1, 36},      {u"ExTap", -1, 36},
        {u"ExAction", -1, 36},       {u"ExUp", -1, 36},           {u"ExDown", -1, 36},
        {u"ExLeft", -1, 36},         {u"ExRight", -1, 36},
    };
    const char16_t* const flags[] = {
        u"DataLine",  u"DrawCheck",      u"CheckDate",   u"SaveFilter",   u"ShortView",
        u"DrawWDay",  u"DrawIcon",       u"DrawSpan",    u"DrawTomorrow", u"ExFocus",
        u"DrawToday", u"DrawAnniv",      u"DrawToDo",    u"DrawPosBar",   u"DrawPosBarBk",
        u"FocusTx",   u"FocusBk",        u"DelWarn",     u"CheckWarn",    u"CheckSort",
        u"CheckTime", u"CheckStrikeOut", u"ViewHoliday", u"ApptVRL",      u"TaskNoVRL",
        u"TaskVRL"};
    const struct {
        const char16_t* name;
        std::int32_t bits;
    } bitSets[] = {{u"StartView", 11},
                   {u"BusyStatus", 15},
                   {u"ApptSens", 15},
                   {u"Importance", 7},
                   {u"TaskSens", 15}};
    const char16_t* const colours[] = {u"CrTodayTx", u"CrAnnivTx",  u"CrToDoOverTx", u"CrToDoTx",
                                       u"CrPin",     u"CrPosBarTx", u"CrPosBarBk",   u"CrFocusTx",
                                       u"CrFocusBk", u"CrDataTx0",  u"CrDataTx1",    u"CrDataTx2",
                                       u"CrDataTx3", u"CrDataTx4",  u"CrDataTx5"};
    const struct {
        std::int64_t stored, loaded; // as unsigned 32-bit values
    } overMinutes[] = {
        {1956000000, 1956000000}, // -99999 days
        {1955999999, 1956000000}, {0, 1956000000},          {2099997120, 2099997120},
        {2147483647, 2147483647}, {2147483648, 2147483648}, {2243998560, 2243998560}, // +99999 days
        {2243998561, 2243998560}, {4294967295, 2243998560},
    };

    std::vector<std::u16string> covered = {u"StartFilter"}; // tested above
    const auto loaded = [](const char16_t* name, std::int32_t stored, std::int32_t expected) {
        const std::string text(name, name + std::char_traits<char16_t>::length(name));
        EXPECT_EQ(LoadedInteger(name, stored), expected) << text << " stored " << stored;
    };
    for (const auto& r : ranges) {
        covered.emplace_back(r.name);
        const struct {
            std::int32_t stored, loaded;
        } edges[] = {{kMin, r.low},    {r.low - 1, r.low},   {r.low, r.low},
                     {r.high, r.high}, {r.high + 1, r.high}, {kMax, r.high}};
        for (const auto& e : edges) {
            loaded(r.name, e.stored, e.loaded);
        }
    }
    for (const char16_t* name : flags) {
        covered.emplace_back(name);
        for (const auto& [stored, expected] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 1},
                                               std::pair{-1, 1}, std::pair{kMin, 1}}) {
            loaded(name, stored, expected);
        }
    }
    for (const auto& b : bitSets) {
        covered.emplace_back(b.name);
        for (const auto& [stored, expected] :
             {std::pair{0, 0}, std::pair{b.bits, b.bits}, std::pair{-1, b.bits},
              std::pair{b.bits | 0x100, b.bits}, std::pair{0x10, 0}}) {
            loaded(b.name, stored, expected);
        }
    }
    for (const char16_t* name : colours) {
        covered.emplace_back(name);
        for (const auto& [stored, expected] :
             {std::pair{0, 0}, std::pair{0xFFFFFF, 0xFFFFFF},
              std::pair{static_cast<std::int32_t>(0xFF123456), 0x123456}, std::pair{-1, 0xFFFFFF},
              std::pair{0x01000000, 0}}) {
            loaded(name, stored, expected);
        }
    }
    covered.emplace_back(u"OverMinutes");
    for (const auto& o : overMinutes) {
        loaded(u"OverMinutes", static_cast<std::int32_t>(static_cast<std::uint32_t>(o.stored)),
               static_cast<std::int32_t>(static_cast<std::uint32_t>(o.loaded)));
    }

    // The cases above name every integer of the record once.
    std::vector<std::u16string> integers;
    for (const SettingValue& value : SettingValuesInReadOrder()) {
        if (std::holds_alternative<std::int32_t Settings::*>(value.field)) {
            integers.emplace_back(value.name);
        }
    }
    std::sort(covered.begin(), covered.end());
    std::sort(integers.begin(), integers.end());
    EXPECT_EQ(covered, integers);
}

// A value out of its range is read, clamped, and stored clamped by the
// next full save.
TEST(SettingsStore, AFullSaveStoresClampedValues) {
    MemoryRegistry registry;
    SaveSettings(Settings{}, registry, 0);
    registry.PutBytes(kSettingsKey, u"LineSpace", ValueType::Dword, DwordBytes(kMax));
    registry.PutBytes(kSettingsKey, u"CrPin", ValueType::Dword, DwordBytes(-1));
    Settings s;
    EXPECT_EQ(LoadSettings(s, registry), 1);
    SaveSettings(s, registry, 0);
    EXPECT_EQ(Dword(registry.Values(kSettingsKey)[u"LineSpace"]), 99);
    EXPECT_EQ(Dword(registry.Values(kSettingsKey)[u"CrPin"]), 0xFFFFFF);
}

TEST(SettingsStore, FilterTagIsGrowable) {
    MemoryRegistry registry;
    Settings settings;
    settings.FilterTag = std::u16string(3000, u't');
    SaveSettings(settings, registry, 0);
    Settings loaded;
    LoadSettings(loaded, registry);
    EXPECT_EQ(loaded.FilterTag.size(), 3000u);
}

// Each value on its own: changed, saved and loaded into a default record,
// it comes back, and the record sees the change.
TEST(SettingsStore, EveryValueRoundTripsOnItsOwn) {
    int n = 0;
    for (const SettingValue& value : SettingValuesInReadOrder()) {
        Settings changed;
        std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), std::int32_t Settings::*>) {
                    // The first of these the options can set and that is
                    // not the default.
                    for (const std::int32_t candidate : {1000 + n, -1000 - n, 0}) {
                        changed.*field = WithinRule(value.rule, candidate, 0);
                        if (changed.*field != Settings{}.*field) {
                            break;
                        }
                    }
                } else {
                    changed.*field = std::u16string(value.name);
                }
            },
            value.field);
        ++n;
        const std::string name(value.name.begin(), value.name.end());
        EXPECT_NE(changed, Settings{}) << name;
        MemoryRegistry registry;
        SaveSettings(changed, registry, 0);
        Settings loaded;
        EXPECT_EQ(LoadSettings(loaded, registry), 1) << name;
        EXPECT_EQ(loaded, changed) << name;
    }
    EXPECT_EQ(n, 91);
}
} // namespace
} // namespace vantrel
