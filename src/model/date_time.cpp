#include "model/date_time.h"

#include <cstdint>
#include <cstdlib>

namespace vantrel {

const int kDaysInMonth[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

const int kDaysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DayNumberOf(int year, int month, int day) {
    // 64-bit so that out-of-range years cannot overflow; valid dates fit easily.
    const std::int64_t p = static_cast<std::int64_t>(year) - 1;
    const int before = (month >= 1 && month <= 12) ? kDaysBeforeMonth[IsLeapYear(year)][month] : 0;
    return static_cast<int>(365 * p + p / 4 - p / 100 + p / 400 + before + day);
}

CalendarDate DateOfDayNumber(int dayNumber) {
    const int k = dayNumber - 1;
    const int c400 = k / 146097;
    const int r = k % 146097;
    int year = 0;
    int index = 0;
    if (r == 146096) {
        year = (c400 + 1) * 400;
        index = 365;
    } else {
        const int c100 = r / 36524;
        const int r2 = r % 36524;
        const int c4 = r2 / 1461;
        const int r3 = r2 % 1461;
        int c1 = r3 / 365;
        index = r3 % 365;
        if (c1 > 3) { // last day of a leap year
            c1 = 3;
            index = 365;
        }
        year = c400 * 400 + c100 * 100 + c4 * 4 + c1 + 1;
    }
    const int leap = IsLeapYear(year);
    int month = 1;
    while (month < 12 && index >= kDaysBeforeMonth[leap][month + 1]) {
        ++month;
    }
    return {year, month, index - kDaysBeforeMonth[leap][month] + 1};
}

int WeekdayOf(int dayNumber) {
    return ((dayNumber % 7) + 7) % 7;
}

bool IsBadDate(int year, int month, int day) {
    // Tested in this order so the table is never indexed with a bad month.
    if (year < kMinYear || year > kMaxYear) {
        return true;
    }
    if (month < 1 || month > 12) {
        return true;
    }
    return day < 1 || day > kDaysInMonth[IsLeapYear(year)][month];
}

bool IsBadTime(int hour, int minute) {
    return hour < 0 || hour > 23 || minute < 0 || minute > 59;
}

int MinutesSince(const SystemTime& now, int year, int month, int day, int hour, int minute) {
    if (hour < 0 || minute < 0 || IsBadDate(year, month, day)) {
        return kNotNear;
    }
    const std::int64_t dd =
        static_cast<std::int64_t>(DayNumberOf(now)) - DayNumberOf(year, month, day);
    if (dd > 1 || dd < -1) {
        return kNotNear;
    }
    const std::int64_t t = (dd * 24 + now.hour - hour) * 60 + now.minute - minute;
    return (t >= -1440 && t <= 1440) ? static_cast<int>(t) : kNotNear;
}

} // namespace vantrel
