// RFC 5545's recurrence examples, read into the Outlook pattern: every day
// the pattern gives must be a day libical's own expansion gives, and the
// reverse, and the next occurrence the item asks for must be libical's.

#include "ics_test_zone.h"
#include "model/local_zone.h"
#include "platform/poom_store/ics_recurrence.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace vantrel::store {
namespace {

const std::string kTokyo = "BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\nBEGIN:STANDARD\r\n"
                           "DTSTART:19700101T000000\r\nTZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\n"
                           "TZNAME:JST\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

// The zone of RFC 5545's examples, with the rules of 1987-2006.
const std::string kNewYork =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nBEGIN:STANDARD\r\n"
    "DTSTART:19671029T020000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19870405T020000\r\nRRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=4\r\n"
    "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

struct Parsed {
    std::shared_ptr<const ical::Calendar> calendar;
    std::unique_ptr<ical::Series> series;
    icaltimetype start{};
    struct icalrecurrencetype rule {};
};

Parsed ParseEvent(const std::string& zone, const std::string& dtstart, const std::string& rule) {
    const std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + zone +
                             "BEGIN:VEVENT\r\nUID:x\r\nDTSTAMP:19970901T000000Z\r\nDTSTART" +
                             dtstart + "\r\nRRULE:" + rule + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    Parsed p;
    p.calendar = ical::Calendar::Parse(text);
    icalcomponent* event = p.calendar->Entries().front().component;
    std::vector<std::string> problems;
    p.series =
        std::make_unique<ical::Series>(p.calendar, event, std::vector<icalcomponent*>{}, problems);
    p.start = icalcomponent_get_dtstart(event);
    p.rule = icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
    return p;
}

// libical's own reading of a time, in the host's local time.
Minutes LocalMinutes(icaltimetype t) {
    if (t.is_date || t.zone == nullptr) {
        return MomentOf(DayNumberOf(t.year, t.month, t.day), t.is_date ? 0 : t.hour,
                        t.is_date ? 0 : t.minute);
    }
    return LocalMinutesOfUtc(static_cast<std::int64_t>(icaltime_as_timet_with_zone(t, t.zone)));
}

RuleMapping MapRule(const Parsed& p) {
    ZoneShifts shifts;
    return MapSeries(*p.series, shifts);
}

std::set<int> LibicalDays(const Parsed& p, int lastDay) {
    std::set<int> days;
    icalrecur_iterator* it = icalrecur_iterator_new(p.rule, p.start);
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(it)) {
        const int day = DayOf(LocalMinutes(t));
        if (day > lastDay) {
            break;
        }
        days.insert(day);
    }
    icalrecur_iterator_free(it);
    return days;
}

struct Expressible {
    const char* what;
    const char* dtstart;
    const char* rule;
    int type;
};

// RFC 5545 3.8.5.3's examples the pattern can express (in Tokyo time, a
// zone without daylight saving time), the time zone rules of its VTIMEZONE
// examples, and the remaining forms the store knows.
const Expressible kExpressible[] = {
    {"daily, 10 occurrences", "19970902T090000", "FREQ=DAILY;COUNT=10", kRecursDaily},
    {"daily until 24 Dec", "19970902T090000", "FREQ=DAILY;UNTIL=19971224T000000Z", kRecursDaily},
    {"every other day", "19970902T090000", "FREQ=DAILY;INTERVAL=2", kRecursDaily},
    {"every 10 days, 5 times", "19970902T090000", "FREQ=DAILY;INTERVAL=10;COUNT=5", kRecursDaily},
    {"every weekday", "19970902T090000", "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", kRecursDaily},
    {"weekly, 10 occurrences", "19970902T090000", "FREQ=WEEKLY;COUNT=10", kRecursWeekly},
    {"weekly until 24 Dec", "19970902T090000", "FREQ=WEEKLY;UNTIL=19971224T000000Z", kRecursWeekly},
    {"every other week", "19970902T090000", "FREQ=WEEKLY;INTERVAL=2;WKST=SU", kRecursWeekly},
    {"Tue and Thu for five weeks (until)", "19970902T090000",
     "FREQ=WEEKLY;UNTIL=19971007T000000Z;WKST=SU;BYDAY=TU,TH", kRecursWeekly},
    {"Tue and Thu for five weeks (count)", "19970902T090000",
     "FREQ=WEEKLY;COUNT=10;WKST=SU;BYDAY=TU,TH", kRecursWeekly},
    {"every other week on Mon, Wed, Fri", "19970901T090000",
     "FREQ=WEEKLY;INTERVAL=2;UNTIL=19971224T000000Z;WKST=SU;BYDAY=MO,WE,FR", kRecursWeekly},
    {"every other week on Tue and Thu, 8 times", "19970902T090000",
     "FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=TU,TH", kRecursWeekly},
    {"Tue and Sun every other week, weeks from Sunday", "19970805T090000",
     "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU", kRecursWeekly},
    {"first Friday, 10 times", "19970905T090000", "FREQ=MONTHLY;COUNT=10;BYDAY=1FR",
     kRecursMonthNth},
    {"first Friday until 24 Dec", "19970905T090000",
     "FREQ=MONTHLY;UNTIL=19971224T000000Z;BYDAY=1FR", kRecursMonthNth},
    {"last work day of the month", "19970930T090000",
     "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", kRecursMonthNth},
    {"monthly on the 10th", "19970910T090000", "FREQ=MONTHLY;BYMONTHDAY=10", kRecursMonthly},
    {"every third month on the 5th", "19970905T090000", "FREQ=MONTHLY;INTERVAL=3", kRecursMonthly},
    {"last day of every month", "19970930T090000", "FREQ=MONTHLY;BYMONTHDAY=-1", kRecursMonthNth},
    {"every Tuesday of every month", "19970902T090000", "FREQ=MONTHLY;BYDAY=TU", kRecursWeekly},
    {"last Sunday of October", "19971026T020000", "FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10",
     kRecursYearNth},
    {"first Sunday of April", "19870405T020000", "FREQ=YEARLY;BYDAY=1SU;BYMONTH=4", kRecursYearNth},
    {"second Sunday of March", "20070311T020000", "FREQ=YEARLY;BYMONTH=3;BYDAY=2SU",
     kRecursYearNth},
    {"yearly on 10 June", "19970610T090000", "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=10", kRecursYearly},
    {"yearly from the start's date, 10 times", "19970610T090000", "FREQ=YEARLY;COUNT=10",
     kRecursYearly},
};

TEST(IcsRecurrence, RfcExamplesTheStoreExpressesGiveLibicalsDays) {
    const LocalZone zone("Asia/Tokyo");
    for (const Expressible& e : kExpressible) {
        SCOPED_TRACE(e.what);
        const Parsed p = ParseEvent(kTokyo, std::string(";TZID=Asia/Tokyo:") + e.dtstart, e.rule);
        const RuleMapping m = MapRule(p);
        ASSERT_TRUE(m.values.has_value()) << m.problem;
        EXPECT_EQ(m.values->type, e.type);
        const int first = DayOf(LocalMinutes(p.start));
        const int last = first + 4 * 366;
        const std::set<int> days = LibicalDays(p, last);
        std::string wrong;
        for (int d = first - 7; d <= last; ++d) {
            if (OccursOn(*m.values, d) != (days.count(d) != 0) && wrong.size() < 200) {
                const CalendarDate c = DateOfDayNumber(d);
                wrong += std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                         std::to_string(c.day) + (days.count(d) != 0 ? "(rfc) " : "(ours) ");
            }
        }
        EXPECT_EQ(wrong, "");
        // The next occurrence at moments spread over four years.
        for (int moment = first - 3; moment <= last - 40; moment += 37) {
            const CalendarDate c = DateOfDayNumber(moment);
            SystemTime date = SystemTimeAt(c.year, c.month, c.day, 0, 0);
            const bool found = NextOccurrence(*m.values, date) != 0;
            const auto next = days.lower_bound(moment);
            ASSERT_EQ(found, next != days.end()) << "at day " << moment;
            if (found) {
                EXPECT_EQ(DayNumberOf(date), *next) << "at day " << moment;
            }
        }
    }
}

TEST(IcsRecurrence, RulesThePatternCannotExpressSayWhy) {
    const LocalZone zone("Asia/Tokyo");
    const struct {
        const char* dtstart;
        const char* rule;
    } cases[] = {
        {"19970902T090000", "FREQ=HOURLY;INTERVAL=3;UNTIL=19970902T170000Z"},
        {"19970902T090000", "FREQ=MINUTELY;INTERVAL=15;COUNT=6"},
        {"19970902T090000", "FREQ=MONTHLY;BYMONTHDAY=2,15;COUNT=10"},
        {"19970930T090000", "FREQ=MONTHLY;BYMONTHDAY=1,-1;COUNT=10"},
        {"19970928T090000", "FREQ=MONTHLY;BYMONTHDAY=-3"},
        {"19970922T090000", "FREQ=MONTHLY;COUNT=6;BYDAY=-2MO"},
        {"19970907T090000", "FREQ=MONTHLY;INTERVAL=2;COUNT=10;BYDAY=1SU,-1SU"},
        {"19970902T090000", "FREQ=MONTHLY;INTERVAL=2;BYDAY=TU"},
        {"19970904T090000", "FREQ=MONTHLY;COUNT=3;BYDAY=TU,WE,TH;BYSETPOS=3"},
        {"19970929T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-2"},
        {"19970910T090000", "FREQ=YEARLY;COUNT=10;BYMONTH=6,7"},
        {"19970310T090000", "FREQ=YEARLY;INTERVAL=2;COUNT=10;BYMONTH=1,2,3"},
        {"19970101T090000", "FREQ=YEARLY;INTERVAL=3;COUNT=10;BYYEARDAY=1,100,200"},
        {"19970519T090000", "FREQ=YEARLY;BYDAY=20MO"},
        {"19970512T090000", "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO"},
        {"19970313T090000", "FREQ=YEARLY;BYMONTH=3;BYDAY=TH"},
        {"19970902T090000", "FREQ=MONTHLY;BYDAY=FR;BYMONTHDAY=13"},
        {"19970913T090000", "FREQ=MONTHLY;BYDAY=SA;BYMONTHDAY=7,8,9,10,11,12,13"},
        {"19961105T090000", "FREQ=YEARLY;INTERVAL=4;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8"},
        {"19970805T090000", "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO"},
        {"20070115T090000", "FREQ=MONTHLY;BYMONTHDAY=15,30;COUNT=5"},
        {"19970131T090000", "FREQ=MONTHLY;BYMONTHDAY=31"},
        {"19960229T090000", "FREQ=YEARLY"},
        {"19970902T090000", "FREQ=MONTHLY;BYDAY=5TU"},
        {"19970903T090000", "FREQ=WEEKLY;BYDAY=MO"}, // DTSTART is not a Monday
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const Parsed p = ParseEvent(kTokyo, std::string(";TZID=Asia/Tokyo:") + c.dtstart, c.rule);
        const RuleMapping m = MapRule(p);
        EXPECT_FALSE(m.values.has_value());
        EXPECT_NE(m.problem, "");
    }
}

TEST(IcsRecurrence, ZonedAndUtcTimesBecomeTheHostsLocalTime) {
    const LocalZone zone("Asia/Tokyo");
    const struct {
        const char* dtstart;
        const char* local; // expected, as Y-M-D H:M
    } cases[] = {
        {";TZID=America/New_York:19970902T090000", "1997-9-2 22:0"},  // EDT, -4
        {";TZID=America/New_York:19971202T090000", "1997-12-2 23:0"}, // EST, -5
        {":19970902T130000Z", "1997-9-2 22:0"},
        {":19970902T160000Z", "1997-9-3 1:0"}, // the next local day
        {";TZID=Asia/Tokyo:19970902T090000", "1997-9-2 9:0"},
        {":19970902T090000", "1997-9-2 9:0"},                      // floating
        {";VALUE=DATE:19970902", "1997-9-2 0:0"},                  // a day
        {";TZID=Nowhere/Unknown:19970902T090000", "1997-9-2 9:0"}, // read as local
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dtstart);
        const Parsed p = ParseEvent(kNewYork + kTokyo, c.dtstart, "FREQ=DAILY");
        const Minutes m = LocalMinutes(p.start);
        const CalendarDate d = DateOfDayNumber(DayOf(m));
        const Minutes inDay = m - static_cast<Minutes>(DayOf(m)) * 1440;
        EXPECT_EQ(std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                      std::to_string(d.day) + " " + std::to_string(inDay / 60) + ":" +
                      std::to_string(inDay % 60),
                  c.local);
    }
}

TEST(IcsRecurrence, ASeriesWhoseLocalTimeMovesWithDaylightSavingIsNotOnePattern) {
    const std::string start = ";TZID=America/New_York:19970902T090000";
    {
        const LocalZone zone("Asia/Tokyo");
        const Parsed p = ParseEvent(kNewYork, start, "FREQ=WEEKLY");
        EXPECT_FALSE(MapRule(p).values.has_value());
    }
    {
        // With New York's own rules of those years the offset stays.
        const LocalZone zone("EST5EDT,M4.1.0,M10.5.0");
        const Parsed p = ParseEvent(kNewYork, start, "FREQ=WEEKLY");
        EXPECT_TRUE(MapRule(p).values.has_value());
    }
}

TEST(IcsRecurrence, UntilEndsOnItsDayOnlyWhenTheOccurrenceIsNotLater) {
    const LocalZone zone("Asia/Tokyo");
    const struct {
        const char* until;
        int lastDay; // of December 1997
    } cases[] = {
        {"19971224T000000Z", 24}, // 09:00 JST, the occurrence's own time
        {"19971223T235959Z", 23}, // 08:59:59 JST: the 24th's occurrence is later
        {"19971224", 23},         // a DATE is the start of its day
        {"19971224T090000", 24},  // floating, in the start's zone
        {"19971224T085900", 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.until);
        const Parsed p = ParseEvent(kTokyo, ";TZID=Asia/Tokyo:19970902T090000",
                                    std::string("FREQ=DAILY;UNTIL=") + c.until);
        const RuleMapping m = MapRule(p);
        ASSERT_TRUE(m.values.has_value());
        EXPECT_FALSE(m.values->noEndDate);
        EXPECT_EQ(m.values->patternEnd.day, c.lastDay);
        const std::set<int> days = LibicalDays(p, DayNumberOf(1998, 1, 31));
        EXPECT_EQ(*days.rbegin(), DayNumberOf(1997, 12, m.values->patternEnd.day));
    }
}

} // namespace
} // namespace vantrel::store
