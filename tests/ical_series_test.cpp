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
