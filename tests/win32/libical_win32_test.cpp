// The cross-built static libical as the Win32 build links it: a calendar
// with its own VTIMEZONE and a weekly RRULE that crosses the change to
// daylight saving time parses, resolves its TZID and expands as RFC 5545
// says.

#include <libical/ical.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// US Eastern time under a name libical has no built-in zone for, so the
// TZID can only resolve to the calendar's own VTIMEZONE.
constexpr const char* kCalendar = "BEGIN:VCALENDAR\r\n"
                                  "VERSION:2.0\r\n"
                                  "PRODID:-//Vantrel//libical check//EN\r\n"
                                  "BEGIN:VTIMEZONE\r\n"
                                  "TZID:Vantrel-Eastern\r\n"
                                  "BEGIN:STANDARD\r\n"
                                  "DTSTART:19701101T020000\r\n"
                                  "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
                                  "TZOFFSETFROM:-0400\r\n"
                                  "TZOFFSETTO:-0500\r\n"
                                  "TZNAME:EST\r\n"
                                  "END:STANDARD\r\n"
                                  "BEGIN:DAYLIGHT\r\n"
                                  "DTSTART:19700308T020000\r\n"
                                  "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
                                  "TZOFFSETFROM:-0500\r\n"
                                  "TZOFFSETTO:-0400\r\n"
                                  "TZNAME:EDT\r\n"
                                  "END:DAYLIGHT\r\n"
                                  "END:VTIMEZONE\r\n"
                                  "BEGIN:VEVENT\r\n"
                                  "UID:standup-20260302@vantrel.test\r\n"
                                  "DTSTAMP:20260101T000000Z\r\n"
                                  "DTSTART;TZID=Vantrel-Eastern:20260302T090000\r\n"
                                  "DTEND;TZID=Vantrel-Eastern:20260302T093000\r\n"
                                  "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=4\r\n"
                                  "SUMMARY:Standup\r\n"
                                  "END:VEVENT\r\n"
                                  "END:VCALENDAR\r\n";

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;
using Iterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

std::string Utc(const icaltimetype& time) {
    const icaltimetype utc = icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
    return icaltime_as_ical_string(utc);
}

class LibicalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        calendar_.reset(icalparser_parse_string(kCalendar));
        ASSERT_NE(calendar_, nullptr);
        event_ = icalcomponent_get_first_component(calendar_.get(), ICAL_VEVENT_COMPONENT);
        ASSERT_NE(event_, nullptr);
    }
    Component calendar_;
    icalcomponent* event_ = nullptr;
};

TEST_F(LibicalTest, ParsesWithoutErrors) {
    EXPECT_EQ(icalcomponent_isa(calendar_.get()), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(calendar_.get()), 0);
    EXPECT_STREQ(icalcomponent_get_summary(event_), "Standup");
    EXPECT_STREQ(icalcomponent_get_uid(event_), "standup-20260302@vantrel.test");
}

TEST_F(LibicalTest, DtstartResolvesTheCalendarsTimezone) {
    const icaltimetype start = icalcomponent_get_dtstart(event_);
    ASSERT_NE(start.zone, nullptr);
    EXPECT_STREQ(icaltimezone_get_tzid(const_cast<icaltimezone*>(start.zone)), "Vantrel-Eastern");
    EXPECT_EQ(std::string(icaltime_as_ical_string(start)), "20260302T090000");
    // Standard time, UTC-5.
    EXPECT_EQ(Utc(start), "20260302T140000Z");
    EXPECT_EQ(icaltime_as_timet_with_zone(start, start.zone), 1772460000);
    EXPECT_EQ(Utc(icalcomponent_get_dtend(event_)), "20260302T143000Z");
}

TEST_F(LibicalTest, RecurrenceKeepsLocalTimeAcrossDaylightSaving) {
    const icaltimetype start = icalcomponent_get_dtstart(event_);
    icalproperty* rrule = icalcomponent_get_first_property(event_, ICAL_RRULE_PROPERTY);
    ASSERT_NE(rrule, nullptr);
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rrule);
    EXPECT_EQ(recurrence.freq, ICAL_WEEKLY_RECURRENCE);
    EXPECT_EQ(recurrence.count, 4);

    const Iterator iterator(icalrecur_iterator_new(recurrence, start));
    ASSERT_NE(iterator, nullptr);
    const char* const expected_utc[] = {"20260302T140000Z", "20260309T130000Z", "20260316T130000Z",
                                        "20260323T130000Z"};
    for (const char* utc : expected_utc) {
        const icaltimetype next = icalrecur_iterator_next(iterator.get());
        ASSERT_FALSE(icaltime_is_null_time(next)) << "missing " << utc;
        // 09:00 Eastern time every Monday; from 8 March on it is
        // daylight saving time, UTC-4.
        EXPECT_EQ(next.hour, 9);
        EXPECT_EQ(icaltime_day_of_week(next), 2); // Monday
        EXPECT_EQ(Utc(next), utc);
    }
    EXPECT_TRUE(icaltime_is_null_time(icalrecur_iterator_next(iterator.get()))) << "COUNT=4";
}

TEST_F(LibicalTest, WritesTheCalendarBackAsItWasRead) {
    const std::string written = icalcomponent_as_ical_string(calendar_.get());
    EXPECT_NE(written.find("DTSTART;TZID=Vantrel-Eastern:20260302T090000\r\n"), std::string::npos);
    EXPECT_NE(written.find("RRULE:FREQ=WEEKLY;COUNT=4;BYDAY=MO\r\n"), std::string::npos) << written;
    const Component again(icalparser_parse_string(written.c_str()));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(std::string(icalcomponent_as_ical_string(again.get())), written);
}

} // namespace
