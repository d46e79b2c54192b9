#include "storage/ics_entries.h"

#include "counter/counter_settings.h"
#include "ics_test_zone.h"
#include "native/iconv_codec.h"
#include "settings/settings.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <libical/ical.h>

#include <set>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using testing::At;

struct IcsFixture : ::testing::Test {
    ::LocalZone tokyo{"JST-9"}; // UTC+9, no daylight saving
    IconvCodec codec;
    BuiltinTextTable texts;
    SystemTime now = At(2013, 11, 2, 9, 0);

    // Own entries as the data file reader makes them from UTF-8 records.
    std::vector<Item> Entries(const std::vector<std::string>& records) {
        std::string bytes;
        for (const std::string& record : records) {
            bytes += codec.Encode(FromUtf8(record), record.size() * 2) + "\r\n";
        }
        ItemList own;
        TagIndex tags;
        RecordLoad load{own, tags, codec, now, CounterSettingsFrom(Settings{}), texts};
        ReadVrlRecords(bytes, load);
        return own;
    }

    // The data-file record of an entry, as UTF-8 without its CR LF.
    std::string Record(const Item& item) {
        std::string bytes;
        AppendVrlRecord(bytes, item, codec);
        bytes.resize(bytes.size() - 2);
        return ToUtf8(codec.Decode(bytes, bytes.size()));
    }

    std::string Export(const std::vector<std::string>& records) {
        const std::vector<Item> entries = Entries(records);
        const IcsExport calendar = EntriesToIcs(entries, now, codec);
        EXPECT_TRUE(calendar.leftOut.empty()) << calendar.leftOut.front();
        return calendar.text;
    }

    IcsImport Import(const std::string& text) { return EntriesFromIcs(text, now, codec); }

    std::vector<std::string> Records(const IcsImport& imported) {
        std::vector<std::string> out;
        for (const Item& item : imported.items) {
            out.push_back(Record(item));
        }
        return out;
    }
};

// Content lines with folding undone, each with its CR LF.
std::string Unfolded(std::string text) {
    for (std::size_t at = text.find("\r\n "); at != std::string::npos;
         at = text.find("\r\n ", at)) {
        text.erase(at, 3);
    }
    return text;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\r\n" + Unfolded(text)).find("\r\n" + line + "\r\n") != std::string::npos;
}

// What any reader of the export relies on: CR LF lines of at most 75
// octets, one VCALENDAR that libical parses without an error and that
// passes its restriction check.
void ExpectValidCalendar(const std::string& text) {
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    std::size_t from = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         from = end + 1, end = text.find('\n', from)) {
        ASSERT_GT(end, from) << "an empty line at " << from;
        EXPECT_EQ(text[end - 1], '\r') << "a bare LF at " << end;
        EXPECT_LE(end - 1 - from, 75u) << text.substr(from, end - from);
    }
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalrestriction_check(calendar), 1);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0) << icalcomponent_as_ical_string(calendar);
    EXPECT_TRUE(HasLine(text, "VERSION:2.0"));
    EXPECT_NE(text.find("\r\nPRODID:"), std::string::npos);
    icalcomponent_free(calendar);
}

// Records that must come back exactly from their own export.
const std::vector<std::string> kRoundTrip = {
    "2013/11/05,,会議,仕事,,",
    "2013/11/02 18:00,,飲み会,,1,",
    "2013/11/02 18:00,2013/11/02 21:30,打ち上げ,,,",
    "2013/12/29,2014/01/03,冬休み,休み\t旅行,,",
    "2013/11/02 23:00,2013/11/03 01:00,夜勤,,,",
    ",,買い物,,,",
    ",2013/11/10,レポート,大学,,",
    ",2013/11/10 17:00,申請,,1,",
    "2013/11/01,,健康診断,健康,,1,2013/11/01 11:20",
    "2013/11/01,,掃除,,,1,2013/11/01 -1:-1",
    "2013/10/30,,\"締切,レポート\",仕事,,2,2013/11/01 -1:-1",
    ",2013/11/01,提出,,,1,2013/10/31 22:15",
    ",,メモ,,,1,2013/10/31 -1:-1",
    ",2013/11/01,返却,,,1,0/00/00 -1:-1",
    "2013/11/03,,\"say \"\"hi\"\"; a\\b\tc\",a;b\tc\\d,,",
    "2013/11/04,,空き,A\t\tB,,",
    "2013/11/04,,カンマ,\"x,y\tz\",,",
    "2013/11/06,,①ｱ～㈱,,,",
    "1700/06/01,,古い日付,,,",
    "3000/12/30,,最後の日,,,",
    "3000/12/31 23:59,,最後の時刻,,,",
    "2013/11/07,," + std::string(85, 'x') + "日本語の長い件名" + std::string(40, 'y') + ",,,",
    "2013/11/08,," +
        [] {
            std::string title;
            for (int i = 0; i < 255; ++i) {
                title += "あ";
            }
            return title;
        }() +
        ",,,",
    "2013/11/05,,会議,仕事,,",
};

TEST_F(IcsFixture, ExportIsValidAndImportGivesTheSameEntries) {
    // The table holds records exactly as the data file keeps them.
    std::vector<std::string> asRead;
    for (const Item& item : Entries(kRoundTrip)) {
        asRead.push_back(Record(item));
    }
    ASSERT_EQ(asRead, kRoundTrip);
    const std::string text = Export(kRoundTrip);
    ExpectValidCalendar(text);
    const IcsImport back = Import(text);
    EXPECT_TRUE(back.parsed);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    EXPECT_EQ(back.recurring, 0);
    EXPECT_EQ(Records(back), kRoundTrip);
}

TEST_F(IcsFixture, EachEntryAloneRoundTrips) {
    for (const std::string& record : kRoundTrip) {
        const std::string text = Export({record});
        ExpectValidCalendar(text);
        const IcsImport back = Import(text);
        ASSERT_EQ(back.items.size(), 1u) << record;
        EXPECT_EQ(Record(back.items[0]), record);
    }
}

struct MappingCase {
    std::string record;
    std::vector<std::string> present; // unfolded content lines
    std::vector<std::string> absent;  // property names that must not appear
};

TEST_F(IcsFixture, EntryFieldsMapToTheirProperties) {
    const MappingCase cases[] = {
        {"2013/11/05,,会議,仕事,,",
         {"BEGIN:VEVENT", "DTSTART;VALUE=DATE:20131105", "DTEND;VALUE=DATE:20131106",
          "SUMMARY:会議", "CATEGORIES:仕事", "DTSTAMP:20131102T000000Z"},
         {"X-VANTREL-", "STATUS", "VTODO"}},
        {"2013/11/02 18:00,,飲み会,,1,",
         {"DTSTART:20131102T180000", "X-VANTREL-PINNED:1"},
         {"DTEND", "CATEGORIES"}},
        {"2013/11/02 18:00,2013/11/02 21:30,打ち上げ,,,",
         {"DTSTART:20131102T180000", "DTEND:20131102T213000"},
         {"VALUE=DATE"}},
        {"2013/12/29,2014/01/03,冬休み,休み\t旅行,,",
         {"DTSTART;VALUE=DATE:20131229", "DTEND;VALUE=DATE:20140104", "CATEGORIES:休み",
          "CATEGORIES:旅行"},
         {"X-VANTREL-TAGS"}},
        {",2013/11/10,レポート,大学,,",
         {"BEGIN:VTODO", "DUE;VALUE=DATE:20131110"},
         {"DTSTART", "VEVENT", "STATUS"}},
        {",2013/11/10 17:00,申請,,,", {"DUE:20131110T170000"}, {"DTSTART"}},
        {",,買い物,,,", {"BEGIN:VTODO", "SUMMARY:買い物"}, {"DUE", "DTSTART"}},
        // A ToDo checked at 22:15 here, UTC+9.
        {",2013/11/01,提出,,,1,2013/10/31 22:15",
         {"STATUS:COMPLETED", "COMPLETED:20131031T131500Z", "X-VANTREL-CHECK:1 20131031T2215"},
         {}},
        // Without a check time: its date; without a check date: the deadline.
        {",,メモ,,,1,2013/10/31 -1:-1",
         {"COMPLETED:20131030T150000Z", "X-VANTREL-CHECK:1 20131031"},
         {}},
        {",2013/11/01,返却,,,1,0/00/00 -1:-1",
         {"COMPLETED:20131031T150000Z", "X-VANTREL-CHECK:1"},
         {}},
        // A checked dated entry stays an event: no STATUS, no COMPLETED.
        {"2013/11/01,,健康診断,健康,,1,2013/11/01 11:20",
         {"BEGIN:VEVENT", "X-VANTREL-CHECK:1 20131101T1120"},
         {"STATUS", "COMPLETED", "VTODO"}},
        {"2013/10/30,,\"締切,レポート\",仕事,,2,2013/11/01 -1:-1",
         {"SUMMARY:締切\\,レポート", "X-VANTREL-CHECK:2 20131101"},
         {}},
        {"2013/11/04,,カンマ,\"x,y\tz\",,", {"CATEGORIES:z"}, {"CATEGORIES:x"}},
        {"2013/11/04,,空き,A\t\tB,,",
         {"CATEGORIES:A", "CATEGORIES:B", "X-VANTREL-TAGS:A\t\tB"},
         {}},
        {"3000/12/30,,最後の日,,,", {"DTEND;VALUE=DATE:30001231"}, {}},
    };
    for (const MappingCase& c : cases) {
        const std::string text = Unfolded(Export({c.record}));
        for (const std::string& line : c.present) {
            EXPECT_TRUE(HasLine(text, line)) << c.record << " lacks " << line << "\n" << text;
        }
        for (const std::string& name : c.absent) {
            const std::size_t body = text.find("BEGIN:V", text.find("PRODID"));
            EXPECT_EQ(text.find(name, body), std::string::npos)
                << c.record << " has " << name << "\n"
                << text;
        }
    }
}

TEST_F(IcsFixture, DatesLibicalCannotWriteAreLeftOutAndNamed) {
    const std::vector<Item> entries = Entries({
        "3000/12/31,,a,,,", // DTEND would be in 3001
        "0001/01/01,,b,,,", // libical drops VALUE=DATE in year 1
        "3001/01/01 10:00,,c,,,",
        ",3500/01/01,d,,,",
        "3000/12/31 10:00,,e,,,", // no DTEND: kept
        "1700/06/01,,f,,,",
    });
    const IcsExport calendar = EntriesToIcs(entries, now, codec);
    ExpectValidCalendar(calendar.text);
    ASSERT_EQ(calendar.leftOut.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(calendar.leftOut[i].substr(0, 3),
                  "'" + std::string(1, static_cast<char>('a' + i)) + "'")
            << calendar.leftOut[i];
    }
    const IcsImport back = Import(calendar.text);
    ASSERT_EQ(back.items.size(), 2u);
    EXPECT_EQ(Record(back.items[0]), "3000/12/31 10:00,,e,,,");
    EXPECT_EQ(Record(back.items[1]), "1700/06/01,,f,,,");
}

std::vector<std::string> Uids(const std::string& text) {
    std::vector<std::string> uids;
    for (std::size_t at = text.find("\r\nUID:"); at != std::string::npos;
         at = text.find("\r\nUID:", at + 1)) {
        uids.push_back(text.substr(at + 6, text.find("\r\n", at + 2) - at - 6));
    }
    return uids;
}

TEST_F(IcsFixture, UidsAreStableAndDistinct) {
    const std::vector<std::string> first = Uids(Export(kRoundTrip));
    ASSERT_EQ(first.size(), kRoundTrip.size());
    now = At(2014, 1, 5, 12, 30); // another day: other DTSTAMP, the same UIDs
    EXPECT_EQ(Uids(Export(kRoundTrip)), first);
    // The duplicated entry (first and last record) has an UID of its own.
    EXPECT_EQ(std::set<std::string>(first.begin(), first.end()).size(), first.size());
    EXPECT_EQ(first.back(), first.front().substr(0, 16) + "-2@vantrel");
    // Any stored field changes it.
    EXPECT_NE(Uids(Export({"2013/11/05,,会議,仕事,1,"}))[0], first.front());
    EXPECT_NE(Uids(Export({"2013/11/05,,会議,仕事,,1,2013/11/05 -1:-1"}))[0], first.front());
    EXPECT_EQ(IcsUid("a", 1), IcsUid("a", 1));
    EXPECT_NE(IcsUid("a", 1), IcsUid("b", 1));
    EXPECT_NE(IcsUid("a", 1), IcsUid("a", 2));
}

std::string Calendar(const std::string& body) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\n";
    // The rules of RFC 5545's own example, under a name libical does not
    // know: only this VTIMEZONE can resolve it.
    text += "BEGIN:VTIMEZONE\r\nTZID:Example/Eastern\r\n"
            "BEGIN:STANDARD\r\nDTSTART:19671029T020000\r\n"
            "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
            "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nEND:STANDARD\r\n"
            "BEGIN:DAYLIGHT\r\nDTSTART:19870405T020000\r\n"
            "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=4\r\n"
            "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\nEND:DAYLIGHT\r\n"
            "END:VTIMEZONE\r\n";
    std::size_t from = 0;
    for (std::size_t bar = body.find('|'); bar != std::string::npos;
         from = bar + 1, bar = body.find('|', from)) {
        text += body.substr(from, bar - from) + "\r\n";
    }
    text += body.substr(from) + "\r\nEND:VCALENDAR\r\n";
    return text;
}

struct ImportCase {
    const char* name;
    std::string components; // content lines separated by '|'
    std::vector<std::string> records;
};

TEST_F(IcsFixture, ForeignEventsAndTodosBecomeEntries) {
    const ImportCase cases[] = {
        {"zone with daylight saving",
         "BEGIN:VEVENT|UID:a|DTSTART;TZID=Example/Eastern:19970902T090000|"
         "DTEND;TZID=Example/Eastern:19970902T100000|SUMMARY:EDT|END:VEVENT|"
         "BEGIN:VEVENT|UID:b|DTSTART;TZID=Example/Eastern:19971201T090000|SUMMARY:EST|"
         "END:VEVENT",
         {"1997/09/02 22:00,1997/09/02 23:00,EDT,,,", "1997/12/01 23:00,,EST,,,"}},
        {"UTC",
         "BEGIN:VEVENT|UID:c|DTSTART:20131102T150000Z|DTEND:20131102T160000Z|END:VEVENT",
         {"2013/11/03 00:00,2013/11/03 01:00,,,,"}},
        {"duration",
         "BEGIN:VEVENT|UID:d|DTSTART:20131105T100000|DURATION:PT90M|END:VEVENT",
         {"2013/11/05 10:00,2013/11/05 11:30,,,,"}},
        {"three all-day days",
         "BEGIN:VEVENT|UID:e|DTSTART;VALUE=DATE:20131230|DTEND;VALUE=DATE:20140102|"
         "SUMMARY:年末|END:VEVENT",
         {"2013/12/30,2014/01/01,年末,,,"}},
        {"one all-day day without DTEND",
         "BEGIN:VEVENT|UID:f|DTSTART;VALUE=DATE:20131230|END:VEVENT",
         {"2013/12/30,,,,,"}},
        {"completed to-do",
         "BEGIN:VTODO|UID:g|SUMMARY:提出|DUE;VALUE=DATE:20131101|STATUS:COMPLETED|"
         "COMPLETED:20131031T131500Z|END:VTODO",
         {",2013/11/01,提出,,,1,2013/10/31 22:15"}},
        {"open to-do with a timed deadline",
         "BEGIN:VTODO|UID:h|SUMMARY:申請|DUE:20131110T080000Z|STATUS:NEEDS-ACTION|END:VTODO",
         {",2013/11/10 17:00,申請,,,"}},
        {"categories and line breaks",
         "BEGIN:VEVENT|UID:i|DTSTART;VALUE=DATE:20131105|SUMMARY:一行目\\n二行目|"
         "CATEGORIES:a,b|CATEGORIES:仕事|DESCRIPTION:メモ|LOCATION:会議室|END:VEVENT",
         {"2013/11/05,,一行目 二行目,a\tb\t仕事,,"}},
        {"an event without a date", "BEGIN:VEVENT|UID:j|SUMMARY:未定|END:VEVENT", {",,未定,,,"}},
        {"a moved occurrence without its series",
         "BEGIN:VEVENT|UID:k|RECURRENCE-ID:20131101T100000|DTSTART:20131104T100000|"
         "SUMMARY:振替|END:VEVENT",
         {"2013/11/04 10:00,,振替,,,"}},
    };
    for (const ImportCase& c : cases) {
        const IcsImport imported = Import(Calendar(c.components));
        EXPECT_TRUE(imported.parsed) << c.name;
        EXPECT_TRUE(imported.problems.empty()) << c.name << ": " << imported.problems.front();
        EXPECT_EQ(Records(imported), c.records) << c.name;
    }
}

// Saturday 2013-11-02 09:00 here.
TEST_F(IcsFixture, ASeriesComesInAsItsNextOccurrence) {
    const ImportCase cases[] = {
        {"later today", "DTSTART:20130101T100000|RRULE:FREQ=DAILY", {"2013/11/02 10:00,,s,,,"}},
        {"ended this morning",
         "DTSTART:20130101T080000|DTEND:20130101T083000|RRULE:FREQ=DAILY",
         {"2013/11/03 08:00,2013/11/03 08:30,s,,,"}},
        {"under way",
         "DTSTART:20130101T083000|DTEND:20130101T093000|RRULE:FREQ=DAILY",
         {"2013/11/02 08:30,2013/11/02 09:30,s,,,"}},
        {"started at this minute",
         "DTSTART:20130101T090000|RRULE:FREQ=DAILY",
         {"2013/11/02 09:00,,s,,,"}},
        {"all day today",
         "DTSTART;VALUE=DATE:20130105|RRULE:FREQ=WEEKLY;BYDAY=SA",
         {"2013/11/02,,s,,,"}},
        {"EXDATE skips one",
         "DTSTART:20130101T100000|RRULE:FREQ=WEEKLY;BYDAY=TU,TH|EXDATE:20131105T100000",
         {"2013/11/07 10:00,,s,,,"}},
        {"EXDATE of dates",
         "DTSTART;VALUE=DATE:20131101|RRULE:FREQ=DAILY|EXDATE;VALUE=DATE:"
         "20131102,20131103",
         {"2013/11/04,,s,,,"}},
        {"second Tuesday",
         "DTSTART:20130108T190000|RRULE:FREQ=MONTHLY;BYDAY=2TU",
         {"2013/11/12 19:00,,s,,,"}},
        {"yearly",
         "DTSTART;VALUE=DATE:20101224|RRULE:FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=24",
         {"2013/12/24,,s,,,"}},
        {"all past: the last one",
         "DTSTART;VALUE=DATE:20131001|RRULE:FREQ=DAILY;COUNT=3",
         {"2013/10/03,,s,,,"}},
        {"until",
         "DTSTART:20131101T100000|RRULE:FREQ=DAILY;UNTIL=20131101T235959",
         {"2013/11/01 10:00,,s,,,"}},
        {"in its own zone",
         "DTSTART;TZID=Example/Eastern:20130906T090000|RRULE:FREQ=WEEKLY;BYDAY=FR",
         {"2013/11/08 23:00,,s,,,"}},
        {"RDATE", "DTSTART:20130101T100000|RDATE:20131120T100000", {"2013/11/20 10:00,,s,,,"}},
        {"moved later today",
         "DTSTART:20131001T100000|RRULE:FREQ=DAILY|END:VEVENT|BEGIN:VEVENT|UID:s|"
         "RECURRENCE-ID:20131102T100000|DTSTART:20131102T150000|SUMMARY:moved",
         {"2013/11/02 15:00,,moved,,,"}},
        {"moved into the past",
         "DTSTART:20131001T100000|RRULE:FREQ=DAILY|END:VEVENT|BEGIN:VEVENT|UID:s|"
         "RECURRENCE-ID:20131102T100000|DTSTART:20131101T120000|SUMMARY:moved",
         {"2013/11/03 10:00,,s,,,"}},
    };
    for (const ImportCase& c : cases) {
        const IcsImport imported =
            Import(Calendar("BEGIN:VEVENT|UID:s|SUMMARY:s|" + c.components + "|END:VEVENT"));
        EXPECT_TRUE(imported.problems.empty()) << c.name << ": " << imported.problems.front();
        EXPECT_EQ(imported.recurring, 1) << c.name;
        EXPECT_EQ(Records(imported), c.records) << c.name;
    }
}

TEST_F(IcsFixture, WhatTheDataFileCannotHoldIsReported) {
    const IcsImport imported = Import(Calendar(
        "BEGIN:VEVENT|UID:a|DTSTART;VALUE=DATE:20131105|SUMMARY:乾杯🍺と♥|END:VEVENT|"
        "BEGIN:VEVENT|UID:b|DTSTART;TZID=Nowhere/Special:20131105T100000|SUMMARY:z|END:VEVENT|"
        "BEGIN:VTODO|UID:c|SUMMARY:" +
        std::string(600, 'x') + "|END:VTODO"));
    ASSERT_EQ(imported.items.size(), 3u);
    EXPECT_EQ(Record(imported.items[0]), "2013/11/05,,乾杯?と?,,,");
    EXPECT_EQ(Record(imported.items[1]), "2013/11/05 10:00,,z,,,");
    EXPECT_EQ(imported.items[2].title, std::u16string(kVrlTextBytes, u'x'));
    ASSERT_EQ(imported.problems.size(), 3u);
    const auto reported = [&](const char* what) {
        return std::count_if(imported.problems.begin(), imported.problems.end(),
                             [&](const std::string& p) { return p.find(what) != p.npos; });
    };
    EXPECT_EQ(reported("U+1F37A, U+2665"), 1);
    EXPECT_EQ(reported("Nowhere/Special"), 1);
    EXPECT_EQ(reported("cut"), 1);
}

TEST_F(IcsFixture, TextThatIsNoCalendarIsNotParsed) {
    EXPECT_FALSE(Import("").parsed);
    EXPECT_FALSE(Import("2013/11/05,,会議,,,\r\n").parsed);
    EXPECT_TRUE(Import(Calendar("BEGIN:VEVENT|UID:a|END:VEVENT")).parsed);
}

TEST_F(IcsFixture, UtcTimesFollowTheHostsDaylightSaving) {
    const ::LocalZone newYork("EST5EDT,M3.2.0,M11.1.0");
    const std::string text =
        Calendar("BEGIN:VEVENT|UID:a|DTSTART:20130701T150000Z|END:VEVENT|"
                 "BEGIN:VEVENT|UID:b|DTSTART:20130110T150000Z|END:VEVENT|"
                 "BEGIN:VTODO|UID:c|STATUS:COMPLETED|COMPLETED:20130310T065900Z|END:VTODO");
    EXPECT_EQ(Records(Import(text)),
              (std::vector<std::string>{"2013/07/01 11:00,,,,,", "2013/01/10 10:00,,,,,",
                                        ",,,,,1,2013/03/10 01:59"}));
    // And back: a summer check time is four hours from UTC, a winter one five.
    const std::string out = Export({",,a,,,1,2013/07/01 11:00", ",,b,,,1,2013/01/10 10:00"});
    EXPECT_TRUE(HasLine(out, "COMPLETED:20130701T150000Z")) << out;
    EXPECT_TRUE(HasLine(out, "COMPLETED:20130110T150000Z")) << out;
}

} // namespace
} // namespace vantrel
