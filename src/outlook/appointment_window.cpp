#include "outlook/appointment_window.h"

#include "view/view_list.h"

#include <algorithm>

namespace vantrel {

namespace {

// The days whose day counts the filter admits, and whether day count 0 is
// among them.
struct CountedDays {
    DayWindow days;
    bool today = false;
};

CountedDays CountedWindow(int code, int viewShift, int weekday, const Settings& s) {
    const int v = viewShift;
    const int k = ((weekday - s.StartWeek) % 7 + 7) % 7; // days since the week began
    const auto holding = [](DayWindow w) { return CountedDays{w, w.first <= 0 && 0 < w.end}; };
    switch (code) {
    case kFilterWeekAhead:
        return holding({0, 8});
    case kFilterThisWeek:
        return holding({7 * v - k, 7 * v - k + 7});
    case kFilterNextWeek:
        return holding({7 * v - k + 7, 7 * v - k + 14});
    case kFilterRange: {
        // A day d days before today has the day count d: DSpanFs <= d < DSpanFe.
        if (s.DSpanFs >= s.DSpanFe) {
            return {{0, 0}, false};
        }
        CountedDays c = holding({1 - s.DSpanFe, 1 - s.DSpanFs});
        // With Future 0 an Item of today whose time has passed counts 1.
        c.today = c.today || (s.Future == 0 && s.DSpanFs <= 1 && 1 < s.DSpanFe);
        return c;
    }
    default:
        return {{0, 1}, true};
    }
}

} // namespace

DayWindow AppointmentWindow(int code, int viewShift, int weekday, const Settings& s) {
    const int v = viewShift;
    switch (code) {
    // The day filters look at the calendar days an Item covers.
    case kFilterToday:
        return {v, v + 1};
    case kFilterYesterday:
        return {v - 1, v};
    case kFilterTomorrow:
        return {v + 1, v + 2};
    default: {
        // The others look at the day count, which is 0 for a moment less
        // than a day away: yesterday evening and tomorrow morning count as
        // today, so a window that holds today holds its neighbours too.
        CountedDays c = CountedWindow(code, viewShift, weekday, s);
        if (c.today) {
            c.days.first = std::min(c.days.first, -1);
            c.days.end = std::max(c.days.end, 2);
        }
        return c.days;
    }
    }
}

} // namespace vantrel
