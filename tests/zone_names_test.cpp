// The time zones the program carries: which IANA zone a TZID as written by
// calendar programs stands for, and whether each carried VTIMEZONE is one
// libical reads with the offsets the zone really has.

#include "ical/zone_data.h"
#include "ical/zone_names.h"

#include <gtest/gtest.h>

#include <libical/ical.h>

#include <memory>
#include <string>
#include <string_view>

namespace vantrel::ical {
namespace {

struct NameCase {
    const char* tzid;
    const char* iana; // "" when no zone is known
};

const NameCase kNames[] = {
    // IANA names as they are, and padded as a TZID parameter may be.
    {"Europe/Berlin", "Europe/Berlin"},
    {"America/Argentina/Buenos_Aires", "America/Argentina/Buenos_Aires"},
    {"Etc/GMT+5", "Etc/GMT+5"},
    {"Etc/GMT-14", "Etc/GMT-14"},
    {"  Europe/Berlin\t", "Europe/Berlin"},
    {"\"Europe/Berlin\"", "Europe/Berlin"},
    {" \"America/New_York\" ", "America/New_York"},
    // Vendor prefixes: the longest tail that is a known name.
    {"/mozilla.org/20050126_1/Europe/Berlin", "Europe/Berlin"},
    {"/mozilla.org/20070129_1/America/Indiana/Indianapolis", "America/Indiana/Indianapolis"},
    {"/softwarestudio.org/Olson_20011030_5/America/New_York", "America/New_York"},
    {"/citadel.org/20220930_1/Europe/Berlin", "Europe/Berlin"},
    {"/freeassociation.sourceforge.net/Tzfile/Europe/London", "Europe/London"},
    {"/freeassociation.sourceforge.net/Europe/London", "Europe/London"},
    {"/softwarestudio.org/Olson_20011030_5/Asia/Calcutta", "Asia/Kolkata"},
    {"\"/mozilla.org/20050126_1/Asia/Tokyo\"", "Asia/Tokyo"},
    // tzdata's links, to the zone they stand for.
    {"US/Eastern", "America/New_York"},
    {"US/Pacific", "America/Los_Angeles"},
    {"Asia/Calcutta", "Asia/Kolkata"},
    {"Europe/Kiev", "Europe/Kyiv"},
    {"America/Buenos_Aires", "America/Argentina/Buenos_Aires"},
    {"Japan", "Asia/Tokyo"},
    {"GMT", "Etc/GMT"},
    {"UTC", "Etc/UTC"},
    {"Etc/UTC", "Etc/UTC"},
    {"Etc/Universal", "Etc/UTC"},
    {"Zulu", "Etc/UTC"},
    // Windows zone names, CLDR's zone for the whole world.
    {"GMT Standard Time", "Europe/London"},
    {"W. Europe Standard Time", "Europe/Berlin"},
    {"Tokyo Standard Time", "Asia/Tokyo"},
    {"Eastern Standard Time", "America/New_York"},
    {"AUS Eastern Standard Time", "Australia/Sydney"},
    {"India Standard Time", "Asia/Kolkata"},
    {"Argentina Standard Time", "America/Argentina/Buenos_Aires"},
    {"Dateline Standard Time", "Etc/GMT+12"},
    {"Central Standard Time (Mexico)", "America/Mexico_City"},
    {"\"Romance Standard Time\"", "Europe/Paris"},
    // Case differs: still found, with the name's own spelling.
    {"europe/berlin", "Europe/Berlin"},
    {"US/EASTERN", "America/New_York"},
    {"w. europe standard time", "Europe/Berlin"},
    {"/mozilla.org/20050126_1/europe/berlin", "Europe/Berlin"},
    {"utc", "Etc/UTC"},
    // Nothing known.
    {"", ""},
    {"   ", ""},
    {"\"\"", ""},
    {"Mars/Olympus_Mons", ""},
    {"Berlin", ""},
    {"Europe", ""},
    {"Europe/", ""},
    {"Europe/Berlin2", ""},
    {"/mozilla.org/20050126_1/Nowhere/Town", ""},
    {"W. Europe Daylight Time", ""},
    {"Europe/Berlin Standard Time", ""},
};

TEST(ZoneNames, MapsEachFormToItsIanaZone) {
    for (const NameCase& c : kNames)
        EXPECT_EQ(IanaZoneName(c.tzid), c.iana) << "TZID " << c.tzid;
}

// The table lookup is a binary search: every key of every table has to be
// found, which fails when the generator and the lookup sort differently.
TEST(ZoneNames, FindsEveryNameOfEveryTable) {
    for (const zone_data::NameEntry& zone : zone_data::Zones()) {
        EXPECT_EQ(IanaZoneName(zone.key), zone.key);
        EXPECT_EQ(ZoneDefinition(zone.key), zone.value) << zone.key;
    }
    for (const zone_data::NameEntry& link : zone_data::Aliases())
        EXPECT_EQ(IanaZoneName(link.key), link.value) << link.key;
}

TEST(ZoneNames, EveryMappedNameHasADefinition) {
    EXPECT_GT(zone_data::WindowsZones().size(), 100u);
    for (const zone_data::NameEntry& windows : zone_data::WindowsZones()) {
        const std::string iana = IanaZoneName(windows.key);
        EXPECT_EQ(iana, windows.value) << windows.key;
        EXPECT_FALSE(ZoneDefinition(iana).empty()) << windows.key << " -> " << iana;
    }
    for (const zone_data::NameEntry& link : zone_data::Aliases())
        EXPECT_FALSE(ZoneDefinition(link.value).empty()) << link.key << " -> " << link.value;
}

TEST(ZoneNames, DefinesOnlyZonesByTheirExactName) {
    EXPECT_FALSE(ZoneDefinition("Europe/Berlin").empty());
    EXPECT_EQ(ZoneDefinition("europe/berlin"), "");
    EXPECT_EQ(ZoneDefinition("US/Eastern"), "");
    EXPECT_EQ(ZoneDefinition("W. Europe Standard Time"), "");
    EXPECT_EQ(ZoneDefinition("Mars/Olympus_Mons"), "");
    EXPECT_EQ(ZoneDefinition(""), "");
}

struct ZoneFree {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using ZonePtr = std::unique_ptr<icaltimezone, ZoneFree>;

// The carried definition of iana as a libical zone, null when it has none
// or libical does not take it.
ZonePtr ParsedZone(std::string_view iana) {
    const std::string text(ZoneDefinition(iana));
    if (text.empty())
        return nullptr;
    icalcomponent* component = icalparser_parse_string(text.c_str());
    if (component == nullptr)
        return nullptr;
    if (icalcomponent_isa(component) != ICAL_VTIMEZONE_COMPONENT) {
        icalcomponent_free(component);
        return nullptr;
    }
    ZonePtr zone(icaltimezone_new());
    if (icaltimezone_set_component(zone.get(), component) == 0) {
        icalcomponent_free(component);
        return nullptr;
    }
    return zone;
}

TEST(ZoneDefinitions, EveryZoneIsAVtimezoneLibicalTakes) {
    EXPECT_GT(zone_data::Zones().size(), 400u);
    for (const zone_data::NameEntry& zone : zone_data::Zones()) {
        const std::string_view text = zone.value;
        EXPECT_TRUE(text.starts_with("BEGIN:VTIMEZONE\r\n")) << zone.key;
        EXPECT_TRUE(text.ends_with("END:VTIMEZONE\r\n")) << zone.key;
        const ZonePtr parsed = ParsedZone(zone.key);
        ASSERT_NE(parsed, nullptr) << zone.key;
        EXPECT_EQ(std::string_view(icaltimezone_get_tzid(parsed.get())), zone.key);
        icalcomponent* component = icaltimezone_get_component(parsed.get());
        EXPECT_EQ(icalcomponent_count_components(component, ICAL_XSTANDARD_COMPONENT) +
                      icalcomponent_count_components(component, ICAL_XDAYLIGHT_COMPONENT),
                  text.find("BEGIN:DAYLIGHT") == std::string_view::npos ? 1 : 2)
            << zone.key;
    }
}

struct OffsetCase {
    const char* tzid; // reduced with IanaZoneName first
    int year, month, day, hour, minute;
    int utc_offset; // seconds east of UTC at that local time
};

const OffsetCase kOffsets[] = {
    {"Europe/Berlin", 2026, 1, 15, 12, 0, 3600},
    {"Europe/Berlin", 2026, 7, 15, 12, 0, 7200},
    // Either side of the change on the last Sunday of March.
    {"Europe/Berlin", 2026, 3, 29, 1, 30, 3600},
    {"Europe/Berlin", 2026, 3, 29, 3, 30, 7200},
    {"America/New_York", 2026, 1, 15, 12, 0, -5 * 3600},
    {"America/New_York", 2026, 7, 15, 12, 0, -4 * 3600},
    {"America/New_York", 2026, 3, 7, 12, 0, -5 * 3600},
    {"America/New_York", 2026, 3, 9, 12, 0, -4 * 3600},
    {"Australia/Sydney", 2026, 1, 15, 12, 0, 11 * 3600},
    {"Australia/Sydney", 2026, 7, 15, 12, 0, 10 * 3600},
    {"Asia/Tokyo", 2026, 1, 15, 12, 0, 9 * 3600},
    {"Asia/Tokyo", 2026, 7, 15, 12, 0, 9 * 3600},
    {"Asia/Kolkata", 2026, 7, 15, 12, 0, 5 * 3600 + 1800},
    {"Europe/London", 2026, 1, 15, 12, 0, 0},
    {"Europe/London", 2026, 7, 15, 12, 0, 3600},
    {"Etc/GMT+5", 2026, 7, 15, 12, 0, -5 * 3600},
    {"Etc/GMT-14", 2026, 1, 15, 12, 0, 14 * 3600},
    {"UTC", 2026, 7, 15, 12, 0, 0},
    {"GMT", 2026, 7, 15, 12, 0, 0},
    {"US/Eastern", 2026, 7, 15, 12, 0, -4 * 3600},
    {"W. Europe Standard Time", 2026, 7, 15, 12, 0, 7200},
    {"Dateline Standard Time", 2026, 7, 15, 12, 0, -12 * 3600},
};

TEST(ZoneDefinitions, GiveTheZonesUtcOffsets) {
    for (const OffsetCase& c : kOffsets) {
        const std::string iana = IanaZoneName(c.tzid);
        const ZonePtr zone = ParsedZone(iana);
        ASSERT_NE(zone, nullptr) << c.tzid;
        icaltimetype local = icaltime_null_time();
        local.year = c.year;
        local.month = c.month;
        local.day = c.day;
        local.hour = c.hour;
        local.minute = c.minute;
        int is_daylight = 0;
        EXPECT_EQ(icaltimezone_get_utc_offset(zone.get(), &local, &is_daylight), c.utc_offset)
            << c.tzid << " " << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":"
            << c.minute;
    }
}

} // namespace
} // namespace vantrel::ical
