#pragma once

#include "model/system_time.h"

#include <cstdint>

namespace vantrel {

// A date with an optional time of day. day == 0 means "no date";
// hour == minute == -1 means "no time".
struct DateTime {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = -1;
    std::int32_t minute = -1;

    bool HasDate() const { return day != 0; }
    bool HasTime() const { return minute >= 0; }
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

inline constexpr DateTime kNoDate{0, 0, 0, -1, -1};

// Answer of MinutesSince for a moment more than a day away; callers treat
// anything above 10000 as "not near".
inline constexpr int kNotNear = 10001;
inline constexpr int kNearLimit = 10000;

inline constexpr int kMinYear = 1;
inline constexpr int kMaxYear = 4000;

// Indexed [leap][month], month 1..12 (index 0 unused).
extern const int kDaysInMonth[2][13];
extern const int kDaysBeforeMonth[2][13];

bool IsLeapYear(int year);

// Serial day count, 0001-01-01 = 1 (proleptic Gregorian). A month outside
// 1..12 contributes no month offset instead of indexing past the tables.
int DayNumberOf(int year, int month, int day);
inline int DayNumberOf(const DateTime& d) {
    return DayNumberOf(d.year, d.month, d.day);
}
inline int DayNumberOf(const SystemTime& t) {
    return DayNumberOf(t.year, t.month, t.day);
}

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// Inverse of DayNumberOf for dayNumber >= 1.
CalendarDate DateOfDayNumber(int dayNumber);

// 0 = Sunday .. 6 = Saturday (day 1 is a Monday).
int WeekdayOf(int dayNumber);

bool IsBadDate(int year, int month, int day);
bool IsBadTime(int hour, int minute);

// Signed minutes from the given moment to now (positive: in the past), or
// kNotNear when more than a day away or without a time.
int MinutesSince(const SystemTime& now, int year, int month, int day, int hour, int minute);
inline int MinutesSince(const SystemTime& now, const DateTime& d) {
    return MinutesSince(now, d.year, d.month, d.day, d.hour, d.minute);
}

} // namespace vantrel
