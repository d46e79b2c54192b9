#include "counter/evaluate_item.h"
#include "model/date_time.h"
#include "outlook/appointment_window.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
#include "text/utf8.h"
#include "view/view_list.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel {
namespace {

using testing::At;

TEST(AppointmentWindow, DaysOfEachFilter) {
    Settings s;
    s.StartWeek = 1; // Monday
    s.DSpanFs = -3;
    s.DSpanFe = 5;
    s.Future = 1;
    const int thursday = 4;
    struct Case {
        int code, shift;
        DayWindow window;
    };
    const Case cases[] = {
        {kFilterToday, 0, {0, 1}},         {kFilterToday, -2, {-2, -1}},
        {kFilterYesterday, 0, {-1, 0}},    {kFilterYesterday, 1, {0, 1}}, // paged on: today
        {kFilterYesterday, -1, {-2, -1}},  {kFilterTomorrow, 0, {1, 2}},
        {kFilterTomorrow, -1, {0, 1}},     {kFilterWeekAhead, 3, {-1, 8}},
        {kFilterThisWeek, 0, {-3, 4}},     {kFilterThisWeek, -1, {-10, -3}},
        {kFilterNextWeek, 0, {4, 11}},     {kFilterRange, 0, {-4, 4}}, // day counts -3 .. 4
        {kFilterThisWeek, -2, {-17, -10}}, {kFilterAll, 0, {-1, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppointmentWindow(c.code, c.shift, thursday, s), c.window)
            << "code " << c.code << " shift " << c.shift;
    }
    // With Future 0 an Item of today whose time has passed counts one day
    // past, and so does a moment less than a day away.
    s.Future = 0;
    s.DSpanFs = 1;
    s.DSpanFe = 3;
    EXPECT_EQ(AppointmentWindow(kFilterRange, 0, thursday, s), (DayWindow{-2, 2}));
    s.Future = 1;
    EXPECT_EQ(AppointmentWindow(kFilterRange, 0, thursday, s), (DayWindow{-2, 0}));
    s.DSpanFs = 2;
    s.DSpanFe = 2;
    const DayWindow empty = AppointmentWindow(kFilterRange, 0, thursday, s);
    EXPECT_EQ(empty.first, empty.end);
}

// For random calendars, moments, settings, every windowed filter and
// viewShift: whatever the view admits from the whole calendar touches the
// window the store is asked for, so the windowed import loses nothing.
TEST(AppointmentWindow, HoldsEveryAppointmentTheViewAdmits) {
    std::mt19937 random(20261208);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    BuiltinTextTable texts;
    const int codes[] = {kFilterToday,    kFilterYesterday, kFilterTomorrow, kFilterWeekAhead,
                         kFilterThisWeek, kFilterNextWeek,  kFilterRange};
    int admitted = 0;
    for (int round = 0; round < 60; ++round) {
        const int base = DayNumberOf(At(2026, 12, 1, 0, 0)) + pick(0, 40);
        const CalendarDate today = DateOfDayNumber(base);
        const SystemTime now = At(today.year, today.month, today.day, pick(0, 23), pick(0, 59));
        Settings s;
        s.StartWeek = pick(0, 6);
        s.Future = pick(0, 1);
        s.DSpanFs = pick(-12, 6);
        s.DSpanFe = s.DSpanFs + pick(0, 12);
        ItemList calendar;
        for (int i = 0; i < 40; ++i) {
            Item a;
            a.source = kAppointment;
            a.title = u"a" + std::u16string(1, static_cast<char16_t>(u'A' + i));
            const int day = base + pick(-25, 25);
            const CalendarDate d = DateOfDayNumber(day);
            if (pick(0, 4) == 0) { // all-day, one to three days
                a.startDate = {d.year, d.month, d.day, -1, -1};
                const CalendarDate last = DateOfDayNumber(day + pick(0, 2));
                a.endDate =
                    last.day == d.day ? kNoDate : DateTime{last.year, last.month, last.day, -1, -1};
            } else { // timed, up to three days long, often past midnight
                const int start = pick(0, 1439);
                const int end = start + pick(0, 3 * 1440);
                a.startDate = {d.year, d.month, d.day, start / 60, start % 60};
                const CalendarDate e = DateOfDayNumber(day + end / 1440);
                a.endDate = {e.year, e.month, e.day, end % 1440 / 60, end % 60};
            }
            calendar.push_back(a);
        }
        for (const int code : codes) {
            for (int shift = -3; shift <= 3; ++shift) {
                ItemStore store;
                ViewState state;
                state.sourceMask = kSourceAppointmentsBit;
                state.viewShift = shift;
                const testing::FixedClock clock{now};
                SourceLoaders loaders;
                loaders.appointments = [&](ItemStore& into, int, int, const SystemTime& at) {
                    into.appointments = calendar;
                    for (Item& a : into.appointments) {
                        EvaluateItem(a, at, CounterSettingsFrom(s), texts);
                    }
                };
                ViewContext view{store, state, s, texts, clock, loaders, {}};
                refresh(view, code);
                const DayWindow w = AppointmentWindow(code, shift, WeekdayOf(base), s);
                for (const Item& a : store.view) {
                    const int first = DayNumberOf(a.startDate);
                    const int last = a.endDate.HasDate() ? DayNumberOf(a.endDate) : first;
                    EXPECT_TRUE(first < base + w.end && last >= base + w.first)
                        << "code " << code << " shift " << shift << " " << ToUtf8(a.title)
                        << " days " << first - base << ".." << last - base << " window " << w.first
                        << ".." << w.end;
                    ++admitted;
                }
            }
        }
    }
    EXPECT_GT(admitted, 1000); // the calendars do land in the windows
}

} // namespace
} // namespace vantrel
