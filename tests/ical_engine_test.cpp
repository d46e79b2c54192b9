// The one iCalendar engine as the store and vantrel-list meet it: zones,
// series that follow the clock, moved and cancelled occurrences, WKST, old
// sub-daily rules, RDATE periods, and changes that meet exactly the
// component they were asked for.

#include "ical/calendar.h"
#include "ical/series.h"
#include "ics_test_zone.h"
#include "model/local_zone.h"
#include "native/iconv_codec.h"
#include "platform/poom_store/ics_store.h"
#include "storage/ics_entries.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace vantrel::store {
namespace {

int Day(int y, int m, int d) {
    return DayNumberOf(y, m, d);
}

const char* const kBerlinZone =
    "BEGIN:VTIMEZONE|TZID:Europe/Berlin|BEGIN:DAYLIGHT|TZOFFSETFROM:+0100|TZOFFSETTO:+0200|"
    "DTSTART:19700329T020000|RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU|END:DAYLIGHT|"
    "BEGIN:STANDARD|TZOFFSETFROM:+0200|TZOFFSETTO:+0100|DTSTART:19701025T030000|"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU|END:STANDARD|END:VTIMEZONE|";

// A calendar from components written with '|' for line breaks.
std::string Calendar(const std::string& components) {
    std::string text = "BEGIN:VCALENDAR|VERSION:2.0|PRODID:-//test//EN|" + components +
                       (components.empty() || components.back() == '|' ? "" : "|") +
                       "END:VCALENDAR|";
    std::string out;
    for (const char c : text) {
        out += c == '|' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

std::string Event(const std::string& uid, const std::string& body) {
    return "BEGIN:VEVENT|UID:" + uid + "|DTSTAMP:20260101T000000Z|" + body + "|END:VEVENT|";
}

const Appointment* Find(const Store& s, std::u16string_view subject) {
    for (const Appointment& a : s.appointments) {
        if (a.subject == subject) {
            return &a;
        }
    }
    return nullptr;
}

std::string Local(Minutes m) {
    const CalendarDate d = DateOfDayNumber(DayOf(m));
    const Minutes inDay = m - static_cast<Minutes>(DayOf(m)) * 1440;
    char out[32];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day,
                  static_cast<int>(inDay / 60), static_cast<int>(inDay % 60));
    return out;
}

// vantrel-list's entry for the calendar's one event, at a local moment.
std::string ListedStart(const std::string& text, int y, int mo, int d, int h, int mi) {
    IconvCodec codec;
    const IcsImport imported = EntriesFromIcs(text, SystemTimeAt(y, mo, d, h, mi), codec);
    if (imported.items.size() != 1) {
        return "entries: " + std::to_string(imported.items.size());
    }
    const DateTime& s = imported.items[0].startDate;
    return Local(MomentOf(DayNumberOf(s), s.HasTime() ? s.hour : 0, s.HasTime() ? s.minute : 0));
}

// A Berlin meeting every day at 10:00, seen from a device in Japan: its
// local time moves with Berlin's daylight saving time, so no pattern holds
// it, and it must follow the clock.
TEST(IcalEngine, ASeriesNoPatternHoldsFollowsTheClockWithItsOverrides) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text =
        Calendar(kBerlinZone +
                 Event("daily", "DTSTART;TZID=Europe/Berlin:20260301T100000|"
                                "DTEND;TZID=Europe/Berlin:20260301T110000|RRULE:FREQ=DAILY|"
                                "SUMMARY:Berlin") +
                 Event("daily", "RECURRENCE-ID;TZID=Europe/Berlin:20261210T100000|"
                                "DTSTART;TZID=Europe/Berlin:20261210T150000|"
                                "DTEND;TZID=Europe/Berlin:20261210T160000|SUMMARY:Berlin later") +
                 Event("daily", "RECURRENCE-ID;TZID=Europe/Berlin:20261211T100000|"
                                "DTSTART;TZID=Europe/Berlin:20261211T100000|STATUS:CANCELLED|"
                                "SUMMARY:Berlin"));
    ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.store.appointments.size(), 1U);
    const Appointment& a = p.store.appointments[0];
    EXPECT_FALSE(a.recurrence.has_value());
    const struct {
        Minutes now;
        const char* start;
        const char* subject;
    } moments[] = {
        {MomentOf(Day(2026, 12, 9), 12, 0), "2026-12-09 18:00", "Berlin"},
        {MomentOf(Day(2026, 12, 9), 19, 0), "2026-12-09 18:00", "Berlin"},       // ends this minute
        {MomentOf(Day(2026, 12, 9), 19, 1), "2026-12-10 23:00", "Berlin later"}, // moved
        {MomentOf(Day(2026, 12, 11), 9, 0), "2026-12-12 18:00", "Berlin"}, // the 11th cancelled
        {MomentOf(Day(2027, 4, 1), 12, 0), "2027-04-01 17:00", "Berlin"},  // summer time there
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(Local(m.now));
        AdvanceLive(p.store, m.now);
        EXPECT_EQ(Local(a.start), m.start);
        EXPECT_EQ(ToUtf8(a.subject), m.subject);
        EXPECT_FALSE(a.ended);
    }
    // The store's windowed query sees the moved occurrence and not the
    // cancelled one.
    std::vector<std::string> days;
    for (const Occurrence& o : OccurrencesStarting(a, Day(2026, 12, 9), Day(2026, 12, 12))) {
        days.push_back(Local(o.start));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"2026-12-09 18:00", "2026-12-10 23:00",
                                              "2026-12-12 18:00"}));
    EXPECT_EQ(ListedStart(text, 2026, 12, 11, 9, 0), "2026-12-12 18:00");
}

// The weekdays of a rule are the days of its own zone; here they are the
// next days.
TEST(IcalEngine, WeekdaysOfAUtcRuleAreTakenInTheLocalDay) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text = Calendar(
        Event("w", "DTSTART:20261207T200000Z|DTEND:20261207T210000Z|RRULE:FREQ=WEEKLY;BYDAY=MO,TU|"
                   "SUMMARY:w"));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    const Appointment& a = p.store.appointments[0];
    ASSERT_TRUE(a.recurrence.has_value());
    EXPECT_EQ(a.recurrence->dayOfWeekMask, (1 << 2) | (1 << 3)); // Tuesday and Wednesday
    EXPECT_EQ(a.recurrence->patternStart, (CalendarDate{2026, 12, 8}));
    std::vector<std::string> days;
    for (const Occurrence& o : OccurrencesStarting(a, Day(2026, 12, 13), Day(2026, 12, 19))) {
        days.push_back(Local(o.start));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"2026-12-15 05:00", "2026-12-16 05:00"}));
    EXPECT_EQ(ListedStart(text, 2026, 12, 13, 0, 0), "2026-12-15 05:00");
}

// Outlook writes an all-day series' RECURRENCE-ID as midnight in its own
// zone; west of that zone the day is still the one written.
TEST(IcalEngine, AnAllDayOverrideKeepsTheDayItNames) {
    const LocalZone zone("America/New_York");
    const std::string text = Calendar(
        Event("a", "DTSTART;VALUE=DATE:20261207|DTEND;VALUE=DATE:20261208|RRULE:FREQ=DAILY|"
                   "SUMMARY:day") +
        Event("a", "RECURRENCE-ID;TZID=GMT Standard Time:20261210T000000|"
                   "DTSTART;VALUE=DATE:20261212|DTEND;VALUE=DATE:20261213|SUMMARY:moved day"));
    const IcsClock clock = IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0));
    const ParsedStore p = ParseIcsStore(text, clock);
    ASSERT_EQ(p.store.appointments.size(), 1U);
    const Appointment& a = p.store.appointments[0];
    ASSERT_TRUE(a.recurrence.has_value());
    ASSERT_EQ(a.exceptions.size(), 1U);
    EXPECT_EQ(a.exceptions[0].originalDay, Day(2026, 12, 10));
    std::vector<std::u16string> shown;
    for (const Occurrence& o : OccurrencesStarting(a, Day(2026, 12, 9), Day(2026, 12, 12))) {
        shown.push_back(o.subject);
    }
    // The 9th, 11th and 12th, and the 10th moved to the 12th: nothing on the
    // 10th itself, nor twice on the 9th.
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"day", u"day", u"day", u"moved day"}));
    EXPECT_TRUE(OccurrencesStarting(a, Day(2026, 12, 10), Day(2026, 12, 10)).empty());
    // Skipping the 10th removes the override with it.
    StoreChange skip = ChangeOf(StoreChange::kSkipOccurrence, text, a);
    skip.day = Day(2026, 12, 10);
    const std::optional<ChangedText> changed = ApplyIcsChange(text, skip, clock);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->text.find("moved day"), std::string::npos);
    EXPECT_NE(changed->text.find("EXDATE;VALUE=DATE:20261210\r\n"), std::string::npos);
}

TEST(IcalEngine, WeeksOfAnEveryOtherWeekRuleBeginOnItsWkst) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text =
        Calendar(Event("k", "DTSTART:20260107T100000|DTEND:20260107T110000|"
                            "RRULE:FREQ=WEEKLY;INTERVAL=2;WKST=WE;BYDAY=MO,WE|SUMMARY:k"));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 1, 1), 0, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    std::vector<std::string> days;
    for (const Occurrence& o :
         OccurrencesStarting(p.store.appointments[0], Day(2026, 1, 1), Day(2026, 1, 31))) {
        days.push_back(Local(o.start).substr(0, 10));
    }
    EXPECT_EQ(days,
              (std::vector<std::string>{"2026-01-07", "2026-01-12", "2026-01-21", "2026-01-26"}));
}

// Rules that step by hours and minutes start near the moment asked for:
// they keep their phase over sixteen years, and fifty of them open at once.
TEST(IcalEngine, OldSubDailyRulesKeepTheirPhaseFromTheirStart) {
    const LocalZone zone("Asia/Tokyo");
    const std::string hourly = Calendar(
        Event("h", "DTSTART:20100101T100000|DTEND:20100101T101000|RRULE:FREQ=HOURLY;INTERVAL=5|"
                   "SUMMARY:h"));
    ParsedStore p = ParseIcsStore(hourly, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    // 148,470 hours after the start: a multiple of five.
    EXPECT_EQ(Local(p.store.appointments[0].start), "2026-12-09 16:00");
    EXPECT_EQ(ListedStart(hourly, 2026, 12, 9, 12, 0), "2026-12-09 16:00");
    // With BYHOUR the phase still counts from DTSTART: 09:03 is not one.
    const std::string limited = Calendar(
        Event("m", "DTSTART:20100101T090300|RRULE:FREQ=MINUTELY;INTERVAL=7;BYHOUR=9|SUMMARY:m"));
    EXPECT_EQ(ListedStart(limited, 2026, 12, 9, 0, 0).substr(0, 13), "2026-12-09 09");
    std::string many;
    for (int i = 0; i < 50; ++i) {
        many += Event("m" + std::to_string(i),
                      "DTSTART:20100101T0" + std::to_string(i % 10) +
                          "0000Z|RRULE:FREQ=MINUTELY;INTERVAL=" + std::to_string(7 + i) +
                          "|SUMMARY:m" + std::to_string(i));
    }
    p = ParseIcsStore(Calendar(many), IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 50U);
    for (const Appointment& a : p.store.appointments) {
        EXPECT_GE(a.start, MomentOf(Day(2026, 12, 9), 12, 0));
        EXPECT_LT(a.start, MomentOf(Day(2026, 12, 9), 13, 0));
    }
}

// A TZID the file does not define is read from the zones the program
// carries, by both readers; the EXDATE that skips one of its occurrences
// is written in UTC, which every reader resolves alike.
TEST(IcalEngine, AZoneTheFileDoesNotDefineIsCarriedAndSkippedInUtc) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text = Calendar(Event(
        "z", "DTSTART;TZID=W. Europe Standard Time:20261201T150000|"
             "DTEND;TZID=W. Europe Standard Time:20261201T160000|RRULE:FREQ=WEEKLY|SUMMARY:z"));
    const IcsClock clock = IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0));
    const ParsedStore p = ParseIcsStore(text, clock);
    EXPECT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.store.appointments.size(), 1U);
    const Appointment& a = p.store.appointments[0];
    EXPECT_EQ(Local(a.start), "2026-12-15 23:00"); // 15:00 in Berlin
    EXPECT_EQ(ListedStart(text, 2026, 12, 9, 12, 0), "2026-12-15 23:00");
    StoreChange skip = ChangeOf(StoreChange::kSkipOccurrence, text, a);
    skip.slotUtc = a.slotUtc;
    const std::optional<ChangedText> changed = ApplyIcsChange(text, skip, clock);
    ASSERT_TRUE(changed.has_value());
    EXPECT_NE(changed->text.find("EXDATE:20261215T140000Z\r\n"), std::string::npos);
    const ParsedStore after = ParseIcsStore(changed->text, clock);
    EXPECT_EQ(Local(after.store.appointments[0].start), "2026-12-22 23:00");
}

TEST(IcalEngine, AnRdatePeriodKeepsItsOwnLength) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text =
        Calendar(Event("r", "DTSTART:20261201T100000|DTEND:20261201T110000|"
                            "RDATE;VALUE=PERIOD:20261210T130000/20261210T170000|SUMMARY:r"));
    IconvCodec codec;
    const IcsImport imported = EntriesFromIcs(text, SystemTimeAt(2026, 12, 9, 12, 0), codec);
    ASSERT_EQ(imported.items.size(), 1U);
    EXPECT_EQ(imported.items[0].startDate, (DateTime{2026, 12, 10, 13, 0}));
    EXPECT_EQ(imported.items[0].endDate, (DateTime{2026, 12, 10, 17, 0}));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    EXPECT_EQ(Local(p.store.appointments[0].start), "2026-12-10 13:00");
    EXPECT_EQ(Local(p.store.appointments[0].end), "2026-12-10 17:00");
}

TEST(IcalEngine, ASeriesWhoseEveryOccurrenceIsExcludedIsShownByNeither) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text =
        Calendar(Event("x", "DTSTART;TZID=Europe/Berlin:20261210T100000|RRULE:FREQ=DAILY;COUNT=2|"
                            "EXDATE;TZID=Europe/Berlin:20261210T100000,20261211T100000|SUMMARY:x"));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    EXPECT_TRUE(p.store.appointments[0].ended);
    EXPECT_TRUE(
        OccurrencesStarting(p.store.appointments[0], Day(2026, 12, 1), Day(2026, 12, 31)).empty());
    IconvCodec codec;
    const IcsImport imported = EntriesFromIcs(text, SystemTimeAt(2026, 12, 9, 12, 0), codec);
    EXPECT_TRUE(imported.items.empty());
    ASSERT_EQ(imported.problems.size(), 1U);
    EXPECT_NE(imported.problems[0].find("excluded"), std::string::npos);
}

// Both readers give one event the same time, categories and occurrences.
TEST(IcalEngine, BothReadersAgreeOnZonesRdatesAndCategories) {
    const LocalZone zone("Asia/Tokyo");
    const std::string text = Calendar(
        Event("c", "DTSTART;TZID=America/New_York:20261208T090000|RDATE;TZID=America/New_York:"
                   "20261212T090000|SUMMARY:c|CATEGORIES:仕事, 会議|CATEGORIES:家"));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    EXPECT_EQ(Local(p.store.appointments[0].start), "2026-12-12 23:00");
    EXPECT_EQ(p.store.appointments[0].categories, u"仕事, 会議, 家");
    EXPECT_EQ(ListedStart(text, 2026, 12, 9, 12, 0), "2026-12-12 23:00");
    IconvCodec codec;
    const IcsImport imported = EntriesFromIcs(text, SystemTimeAt(2026, 12, 9, 12, 0), codec);
    ASSERT_EQ(imported.items.size(), 1U);
    EXPECT_EQ(imported.items[0].tags, u"仕事\t会議\t家");
}

// Two components share a UID and another program changed one of them:
// the change the item asked for meets no other component.
TEST(IcalEngine, AChangeToAComponentThatChangedMeetsNoOther) {
    const LocalZone zone("Asia/Tokyo");
    const std::string a = Event("same", "DTSTART:20261210T100000|SUMMARY:first");
    const std::string b = Event("same", "DTSTART:20261211T100000|SUMMARY:second");
    const std::string text = Calendar(a + b);
    const IcsClock clock = IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0));
    const ParsedStore p = ParseIcsStore(text, clock);
    const Appointment* second = Find(p.store, u"second");
    ASSERT_NE(second, nullptr);
    const StoreChange remove = ChangeOf(StoreChange::kDelete, text, *second);
    const std::string touched =
        Calendar(a + Event("same", "DTSTART:20261211T100000|SUMMARY:second, moved"));
    EXPECT_FALSE(ApplyIcsChange(touched, remove, clock).has_value());
    const std::optional<ChangedText> done = ApplyIcsChange(text, remove, clock);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->text, Calendar(a));
}

// RFC 5545: a wall time the clocks skip takes the offset from before the
// change; one they pass twice is the first.
TEST(IcalEngine, TimesAtAChangeOfTheClocksAreTheFilesOwn) {
    const LocalZone zone("Asia/Tokyo");
    const struct {
        const char* start;
        const char* local;
    } cases[] = {
        {"20260329T023000", "2026-03-29 10:30"}, // skipped: 03:30 CEST
        {"20261025T023000", "2026-10-25 09:30"}, // twice: the first, CEST
        {"20261025T033000", "2026-10-25 11:30"}, // after the change, CET
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        const std::string text =
            Calendar(kBerlinZone + Event("g", std::string("DTSTART;TZID=Europe/Berlin:") + c.start +
                                                  "|SUMMARY:g"));
        const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 3, 1), 0, 0)));
        ASSERT_EQ(p.store.appointments.size(), 1U);
        EXPECT_EQ(Local(p.store.appointments[0].start), c.local);
        EXPECT_EQ(ListedStart(text, 2026, 3, 1, 0, 0), c.local);
    }
}

// A series of the host's own zone keeps the device pattern, and an
// overnight occurrence lasts its exact length across the change.
TEST(IcalEngine, AnOvernightOccurrenceLastsItsLengthAcrossTheChange) {
    const LocalZone zone("Europe/Berlin");
    const std::string text =
        Calendar(kBerlinZone + Event("n", "DTSTART;TZID=Europe/Berlin:20260307T220000|"
                                          "DTEND;TZID=Europe/Berlin:20260308T060000|"
                                          "RRULE:FREQ=WEEKLY;BYDAY=SA|SUMMARY:n"));
    const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 3, 1), 0, 0)));
    ASSERT_EQ(p.store.appointments.size(), 1U);
    const Appointment& a = p.store.appointments[0];
    ASSERT_TRUE(a.recurrence.has_value());
    const struct {
        int day;
        const char* end;
    } nights[] = {{Day(2026, 3, 21), "2026-03-22 06:00"},
                  {Day(2026, 3, 28), "2026-03-29 07:00"},   // an hour is skipped
                  {Day(2026, 10, 24), "2026-10-25 05:00"}}; // an hour comes twice
    for (const auto& n : nights) {
        const std::optional<Occurrence> o = OccurrenceOn(a, n.day);
        ASSERT_TRUE(o.has_value());
        EXPECT_EQ(Local(o->end), n.end);
    }
}

// Sub-daily rules whose BY parts pick among their times keep the phase
// counted from DTSTART.
TEST(IcalEngine, SubDailyRulesWithByPartsKeepTheirPhase) {
    const LocalZone zone("UTC");
    const struct {
        const char* rule;
        const char* start;
        std::vector<std::string> day; // 2025-03-26's occurrences
    } cases[] = {
        {"FREQ=HOURLY;INTERVAL=5;BYHOUR=1,2,3,4,5,6,7",
         "20250325T100000Z",
         {"2025-03-26 01:00", "2025-03-26 06:00"}},
        {"FREQ=HOURLY;INTERVAL=6;BYMINUTE=0,30",
         "20250325T100000Z",
         {"2025-03-26 04:00", "2025-03-26 04:30", "2025-03-26 10:00", "2025-03-26 10:30",
          "2025-03-26 16:00", "2025-03-26 16:30", "2025-03-26 22:00", "2025-03-26 22:30"}},
        {"FREQ=MINUTELY;INTERVAL=390;BYDAY=WE",
         "20250325T100000Z",
         {"2025-03-26 05:30", "2025-03-26 12:00", "2025-03-26 18:30"}}, // 6 h 30 from 10:00
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::string text = Calendar(
            Event("s", std::string("DTSTART:") + c.start + "|RRULE:" + c.rule + "|SUMMARY:s"));
        const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2025, 3, 25), 0, 0)));
        ASSERT_EQ(p.store.appointments.size(), 1U);
        std::vector<std::string> day;
        for (const Occurrence& o :
             OccurrencesStarting(p.store.appointments[0], Day(2025, 3, 26), Day(2025, 3, 26))) {
            day.push_back(Local(o.start));
        }
        EXPECT_EQ(day, c.day);
    }
    // 2790 minutes after 10:30 on the 25th is 09:00 on the 27th; with
    // INTERVAL=11 the first one at nine is 09:04.
    const std::string minutely = Calendar(
        Event("m", "DTSTART:20250325T103000Z|RRULE:FREQ=MINUTELY;INTERVAL=11;BYHOUR=9|SUMMARY:m"));
    EXPECT_EQ(ListedStart(minutely, 2025, 3, 27, 0, 0), "2025-03-27 09:04");
}

// What libical cannot read is named by both readers; an empty property,
// as exporters write them, is not.
TEST(IcalEngine, WhatCannotBeReadIsNamedAndEmptyPropertiesAreNot) {
    const LocalZone zone("Asia/Tokyo");
    const struct {
        const char* body;
        bool named;
    } cases[] = {
        {"DTSTART:20261210T100000|DESCRIPTION:|LOCATION:|SUMMARY:e", false},
        {"DTSTART:20261210T100000|RRULE:FREQ=WEEKLY;BYDAY=XX;INTERVAL=-3|SUMMARY:e", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const std::string text = Calendar(Event("e", c.body));
        const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 0, 0)));
        EXPECT_EQ(p.ok, !c.named) << p.error;
        IconvCodec codec;
        const IcsImport imported = EntriesFromIcs(text, SystemTimeAt(2026, 12, 9, 0, 0), codec);
        EXPECT_EQ(imported.problems.empty(), !c.named);
    }
}

TEST(IcalEngine, ZonePolicyIsTheFilesThenTheCarriedThenLocal) {
    const LocalZone zone("Asia/Tokyo");
    // The file's own definition wins over the carried one of that name.
    const std::string own =
        "BEGIN:VTIMEZONE|TZID:Europe/Berlin|BEGIN:STANDARD|DTSTART:19700101T000000|"
        "TZOFFSETFROM:+0300|TZOFFSETTO:+0300|END:STANDARD|END:VTIMEZONE|";
    const struct {
        std::string zones;
        const char* tzid;
        const char* local;
        bool reported;
    } cases[] = {
        {own, "Europe/Berlin", "2026-12-10 16:00", false},
        {"", "Europe/Berlin", "2026-12-10 18:00", false},
        {"", "/mozilla.org/20050126_1/Europe/Berlin", "2026-12-10 18:00", false},
        {"", "GMT Standard Time", "2026-12-10 19:00", false},
        {"", "Nowhere/Special", "2026-12-10 10:00", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tzid);
        const std::string text =
            Calendar(c.zones + Event("p", std::string("DTSTART;TZID=\"") + c.tzid +
                                              "\":20261210T100000|" + "SUMMARY:p"));
        const ParsedStore p = ParseIcsStore(text, IcsClockAt(MomentOf(Day(2026, 12, 9), 12, 0)));
        ASSERT_EQ(p.store.appointments.size(), 1U);
        EXPECT_EQ(Local(p.store.appointments[0].start), c.local);
        EXPECT_EQ(p.ok, !c.reported);
        EXPECT_EQ(ListedStart(text, 2026, 12, 9, 12, 0), c.local);
    }
}

} // namespace
} // namespace vantrel::store
