#pragma once

#include "settings/settings.h"

namespace vantrel {

// The days a windowed filter asks the calendar for, relative to today:
// [first, end). They hold every day the view admits for the same filter and
// viewShift: a day filter pages from its own day; 範囲 counts days back from
// today; and where the view goes by the day count, a moment less than a day
// away counts as today.
struct DayWindow {
    int first = 0;
    int end = 0;
    friend bool operator==(const DayWindow&, const DayWindow&) = default;
};

// `weekday`: today's weekday, 0 = Sunday. Codes other than 1-3 and 5-8
// get today alone.
DayWindow AppointmentWindow(int code, int viewShift, int weekday, const Settings& s);

} // namespace vantrel
