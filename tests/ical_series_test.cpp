// The expander asked long after a series began: months without the day,
// leap days, the last occurrence of a series that ends, and a weekly rule
// whose DTSTART is not one of its days.

#include "ical/calendar.h"
#include "ical/series.h"
#include "ics_test_zone.h"
#include "model/date_time.h"
#include "model/local_zone.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vantrel::ical {
namespace {

std::string Text(const std::string& body) {
    std::string text = "BEGIN:VCALENDAR|VERSION:2.0|PRODID:-//test//EN|BEGIN:VEVENT|UID:s|"
                       "DTSTAMP:20260101T000000Z|" +
                       body + "|END:VEVENT|END:VCALENDAR|";
    std::string out;
    for (const char c : text) {
        out += c == '|' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

struct Parsed {
    std::shared_ptr<const Calendar> calendar;
    std::unique_ptr<Series> series;
};

Parsed Read(const std::string& body) {
    Parsed p;
    p.calendar = Calendar::Parse(Text(body));
    std::vector<std::string> problems;
    p.series = std::make_unique<Series>(p.calendar, p.calendar->Entries().front().component,
                                        std::vector<icalcomponent*>{}, problems);
    return p;
}

std::string Local(const Moment& m) {
    const std::int64_t minutes = LocalMinutesOf(m);
    const int day = static_cast<int>(minutes >= 0 ? minutes / 1440 : (minutes - 1439) / 1440);
    const CalendarDate d = DateOfDayNumber(day);
    const auto inDay = static_cast<int>(minutes - static_cast<std::int64_t>(day) * 1440);
    char out[32];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, inDay / 60,
                  inDay % 60);
    return out;
}

std::int64_t At(int y, int mo, int d, int h, int mi) {
    return UtcSecondsOfLocal(static_cast<std::int64_t>(DayNumberOf(y, mo, d)) * 1440 +
                             static_cast<std::int64_t>(h) * 60 + mi);
}

TEST(IcalSeries, TheNextOccurrenceLongAfterTheStart) {
    const LocalZone zone("UTC");
    const struct {
        const char* body;
        std::int64_t now;
        const char* next;
    } cases[] = {
        // The 31st: months without it have none, also far from the start.
        {"DTSTART:20000131T090000Z|RRULE:FREQ=MONTHLY", At(2026, 4, 2, 0, 0), "2026-05-31 09:00"},
        // Every fifth month from January 2000: February 2027 (month 325)
        // has no 31st, July 2027 (month 330) has.
        {"DTSTART:20000131T090000Z|RRULE:FREQ=MONTHLY;INTERVAL=5", At(2026, 12, 9, 0, 0),
         "2027-07-31 09:00"},
        // 29 February, every year that has it.
        {"DTSTART:20000229T090000Z|RRULE:FREQ=YEARLY", At(2026, 12, 9, 0, 0), "2028-02-29 09:00"},
        // Every third year from 2001 on its day.
        {"DTSTART:20010615T090000Z|RRULE:FREQ=YEARLY;INTERVAL=3", At(2026, 12, 9, 0, 0),
         "2028-06-15 09:00"},
        // A weekly rule from a Thursday that is not one of its days: the
        // first of them in DTSTART's week (from WKST) begins it.
        {"DTSTART:20261119T011500Z|RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=TH;BYDAY=MO,WE",
         At(2026, 11, 19, 2, 0), "2026-11-23 01:15"},
        {"DTSTART:20261119T011500Z|RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=TH;BYDAY=MO,WE",
         At(2026, 12, 9, 12, 0), "2026-12-21 01:15"},
        // A day limit on a daily rule: not every day.
        {"DTSTART:20200115T090000Z|RRULE:FREQ=DAILY;BYMONTHDAY=15", At(2026, 12, 9, 0, 0),
         "2026-12-15 09:00"},
        // Minutes a minutely rule keeps, side by side.
        {"DTSTART:20261209T000000Z|RRULE:FREQ=MINUTELY;BYMINUTE=5,6", At(2026, 12, 9, 0, 5),
         "2026-12-09 00:05"},
        {"DTSTART:20261209T000000Z|RRULE:FREQ=MINUTELY;BYMINUTE=5,6", At(2026, 12, 9, 0, 6),
         "2026-12-09 00:06"},
        // Its days all past in DTSTART's week: the next period's first.
        {"DTSTART:20261126T090000Z|RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=MO;BYDAY=MO,TU",
         At(2026, 11, 26, 10, 0), "2026-12-07 09:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed p = Read(c.body);
        const std::optional<Occurrence> next = p.series->FirstNotEnded(c.now);
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(Local(next->start), c.next);
    }
}

TEST(IcalSeries, TheLastOccurrenceOfASeriesThatEnds) {
    const LocalZone zone("UTC");
    const struct {
        const char* body;
        const char* last; // empty: none
    } cases[] = {
        {"DTSTART:20200101T090000Z|RRULE:FREQ=DAILY;COUNT=3", "2020-01-03 09:00"},
        {"DTSTART:20200101T090000Z|RRULE:FREQ=DAILY;COUNT=3|EXDATE:20200103T090000Z",
         "2020-01-02 09:00"},
        {"DTSTART:20000101T090000Z|RRULE:FREQ=WEEKLY;BYDAY=MO,FR;UNTIL=20240101T000000Z",
         "2023-12-29 09:00"},
        {"DTSTART:19900115T090000Z|RRULE:FREQ=YEARLY;UNTIL=20201231T000000Z|"
         "RDATE:20210301T090000Z",
         "2021-03-01 09:00"},
        {"DTSTART:20200101T090000Z|RRULE:FREQ=DAILY;COUNT=2|"
         "EXDATE:20200101T090000Z,20200102T090000Z",
         ""},
        {"DTSTART:20200101T090000Z|RRULE:FREQ=DAILY", ""}, // it never ends
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed p = Read(c.body);
        const std::optional<Occurrence> last = p.series->Last();
        EXPECT_EQ(last ? Local(last->start) : std::string(), c.last);
    }
}

// A DURATION in days lasts by the wall clock across a change of the
// clocks, one in hours exactly (RFC 5545 3.3.6).
TEST(IcalSeries, ADurationInDaysIsNominalAndInHoursExact) {
    const LocalZone zone("UTC");
    const std::string berlin =
        "DTSTART;TZID=Europe/Berlin:20260327T120000|RRULE:FREQ=DAILY;COUNT=3|DURATION:";
    const struct {
        const char* duration;
        const char* end; // of the occurrence of 28 March, across the change
    } cases[] = {{"P1D", "2026-03-29 10:00"}, {"PT24H", "2026-03-29 11:00"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.duration);
        const Parsed p = Read(berlin + c.duration);
        const std::optional<Occurrence> o = p.series->FirstNotEnded(At(2026, 3, 28, 12, 0));
        ASSERT_TRUE(o.has_value());
        EXPECT_EQ(Local(o->start), "2026-03-28 11:00");
        EXPECT_EQ(Local(o->end), c.end);
    }
}

// The component text helpers read folded lines and a component's own UID.
TEST(IcalText, FoldedLinesAndTheComponentsOwnUid) {
    const std::string component =
        "BEGIN:VEVENT\r\nBEGIN:VALARM\r\nUID:alarm\r\nEND:VALARM\r\nUID:even\r\n t\r\n"
        "SUMMARY:a\r\n  b\r\nEND:VEVENT\r\n";
    EXPECT_EQ(UidOf(component), "event");
    const std::vector<ContentLine> lines = ContentLines(" lead\r\nA:1\r\n 2\r\n");
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].text, " lead"); // a first line is never a continuation
    EXPECT_EQ(lines[1].text, "A:12");
    ComponentEdit edit{component, "\r\n"};
    EXPECT_EQ(edit.Get("SUMMARY"), "SUMMARY:a b");
    // A folded line holds 75 octets, the continuation's blank included.
    const std::string folded = Folded(std::string(160, 'x'), "\r\n");
    EXPECT_EQ(folded, std::string(75, 'x') + "\r\n " + std::string(74, 'x') + "\r\n " +
                          std::string(11, 'x') + "\r\n");
}

TEST(IcalSeries, AWindowHoldsEveryOccurrenceStartingInIt) {
    const LocalZone zone("UTC");
    const Parsed p = Read("DTSTART:20100101T090000Z|DTEND:20100101T100000Z|"
                          "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1");
    std::vector<std::string> starts;
    for (const Occurrence& o :
         p.series->StartingBetween(At(2026, 10, 1, 0, 0), At(2027, 1, 1, 0, 0))) {
        starts.push_back(Local(o.start));
    }
    // The last workday of each month.
    EXPECT_EQ(starts, (std::vector<std::string>{"2026-10-30 09:00", "2026-11-30 09:00",
                                                "2026-12-31 09:00"}));
    // The window's own bounds: one starting at its end is outside.
    EXPECT_EQ(p.series->StartingBetween(At(2026, 11, 30, 9, 0), At(2026, 12, 31, 9, 0)).size(), 1U);
}

} // namespace
} // namespace vantrel::ical
