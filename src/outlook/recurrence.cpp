#include "outlook/recurrence.h"

#include <algorithm>

namespace vantrel {
namespace {

int DaysIn(int year, int month) {
    return kDaysInMonth[IsLeapYear(year) ? 1 : 0][month];
}

bool InMask(int mask, int dayNumber) {
    return ((mask >> WeekdayOf(dayNumber)) & 1) != 0;
}

// Months as one running count, so arithmetic carries into the year.
int MonthIndex(int year, int month) {
    return year * 12 + (month - 1);
}
int YearOf(int index) {
    return index / 12;
}
int MonthOf(int index) {
    return index % 12 + 1;
}

int IntervalOf(const RecurrenceValues& s) {
    return std::max(1, s.interval.value_or(1));
}

int DayOfMonthIn(int year, int month, int dayOfMonth) {
    return std::clamp(dayOfMonth, 1, DaysIn(year, month));
}

int WeekStart(int dayNumber) {
    return dayNumber - WeekdayOf(dayNumber);
}

// The first month at or after `index` whose distance from the pattern's
// start month is a multiple of the interval.
int AlignedMonth(const RecurrenceValues& s, int index) {
    const int start = MonthIndex(s.patternStart.year, s.patternStart.month);
    const int interval = IntervalOf(s);
    const int r = ((index - start) % interval + interval) % interval;
    return r == 0 ? index : index + interval - r;
}

// Month-nth and year-nth give up after this many months without a pickable
// day (a mask that matches nothing): there is then no occurrence.
constexpr int kMonthSearchLimit = 1200;

} // namespace

int PickNthDay(int year, int month, int instance, int mask) {
    if (month < 1 || month > 12) {
        return 0;
    }
    const int days = DaysIn(year, month);
    const int first = DayNumberOf(year, month, 1);
    if (mask == kMaskEveryDay) {
        return instance > 4 ? days : std::clamp(instance, 1, days);
    }
    if (mask == kMaskWeekdays || mask == kMaskWeekend) {
        int found = 0;
        int last = 0;
        for (int d = 1; d <= days; ++d) {
            if (InMask(mask, first + d - 1)) {
                last = d;
                if (++found == std::max(instance, 1) && instance <= 4) {
                    return d;
                }
            }
        }
        return last;
    }
    const auto inWeek = [&](int week) {
        for (int d = 7 * (week - 1) + 1; d <= std::min(7 * week, days); ++d) {
            if (InMask(mask, first + d - 1)) {
                return d;
            }
        }
        return 0;
    };
    const int week = std::clamp(instance, 1, 5);
    const int day = inWeek(week);
    return day == 0 && week == 5 ? inWeek(4) : day;
}

int NextOccurrence(const RecurrenceValues& s, SystemTime& date) {
    const int c = DayNumberOf(s.patternStart.year, s.patternStart.month, s.patternStart.day);
    int a = DayNumberOf(date);
    if (a < c) {
        a = c;
    }
    const CalendarDate from = DateOfDayNumber(a);
    const int interval = IntervalOf(s);
    bool exists = true;
    switch (s.type) {
    case kRecursDaily:
        if (!s.interval) {
            if (WeekdayOf(a) == 0) {
                a += 1;
            } else if (s.dayOfWeekMask == kMaskWeekdays && WeekdayOf(a) == 6) {
                a += 2;
            }
        } else if (interval > 1) {
            const int r = (a - c) % interval;
            a += r == 0 ? 0 : interval - r;
        }
        break;
    case kRecursWeekly: {
        // Every day of one aligned week and of the next is looked at.
        exists = false;
        for (int d = a; d < a + 7 * interval + 7; ++d) {
            if (InMask(s.dayOfWeekMask, d) && ((WeekStart(d) - WeekStart(c)) / 7) % interval == 0) {
                a = d;
                exists = true;
                break;
            }
        }
        break;
    }
    case kRecursMonthly: {
        int m = AlignedMonth(s, MonthIndex(from.year, from.month));
        int day = DayOfMonthIn(YearOf(m), MonthOf(m), s.dayOfMonth);
        if (DayNumberOf(YearOf(m), MonthOf(m), day) < a) {
            m += interval;
            day = DayOfMonthIn(YearOf(m), MonthOf(m), s.dayOfMonth);
        }
        a = DayNumberOf(YearOf(m), MonthOf(m), day);
        break;
    }
    case kRecursMonthNth: {
        int m = AlignedMonth(s, MonthIndex(from.year, from.month));
        exists = false;
        for (int tries = 0; tries < kMonthSearchLimit; ++tries, m += interval) {
            const int day = PickNthDay(YearOf(m), MonthOf(m), s.instance, s.dayOfWeekMask);
            if (day != 0 && DayNumberOf(YearOf(m), MonthOf(m), day) >= a) {
                a = DayNumberOf(YearOf(m), MonthOf(m), day);
                exists = true;
                break;
            }
        }
        break;
    }
    case kRecursYearly: {
        const int month = std::clamp(s.monthOfYear, 1, 12);
        int year = from.year;
        if (DayNumberOf(year, month, DayOfMonthIn(year, month, s.dayOfMonth)) < a) {
            ++year;
        }
        a = DayNumberOf(year, month, DayOfMonthIn(year, month, s.dayOfMonth));
        break;
    }
    case kRecursYearNth: {
        const int month = std::clamp(s.monthOfYear, 1, 12);
        int year = from.month <= month ? from.year : from.year + 1;
        exists = false;
        for (int tries = 0; tries < kMonthSearchLimit / 12; ++tries, ++year) {
            const int day = PickNthDay(year, month, s.instance, s.dayOfWeekMask);
            if (day != 0 && DayNumberOf(year, month, day) >= a) {
                a = DayNumberOf(year, month, day);
                exists = true;
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    const CalendarDate to = DateOfDayNumber(a);
    date.year = static_cast<std::uint16_t>(to.year);
    date.month = static_cast<std::uint16_t>(to.month);
    date.day = static_cast<std::uint16_t>(to.day);
    date.dayOfWeek = static_cast<std::uint16_t>(WeekdayOf(a));
    if (!exists) {
        return 0;
    }
    if (!s.noEndDate && DayNumberOf(s.patternEnd.year, s.patternEnd.month, s.patternEnd.day) < a) {
        return 0;
    }
    return 1;
}

bool OccursOn(const RecurrenceValues& s, int dayNumber) {
    const int c = DayNumberOf(s.patternStart.year, s.patternStart.month, s.patternStart.day);
    if (dayNumber < c ||
        (!s.noEndDate &&
         dayNumber > DayNumberOf(s.patternEnd.year, s.patternEnd.month, s.patternEnd.day))) {
        return false;
    }
    const CalendarDate d = DateOfDayNumber(dayNumber);
    const int interval = IntervalOf(s);
    const int monthsApart =
        MonthIndex(d.year, d.month) - MonthIndex(s.patternStart.year, s.patternStart.month);
    switch (s.type) {
    case kRecursDaily:
        if (!s.interval) {
            const int weekday = WeekdayOf(dayNumber);
            return weekday != 0 && (weekday != 6 || s.dayOfWeekMask != kMaskWeekdays);
        }
        return (dayNumber - c) % interval == 0;
    case kRecursWeekly:
        return InMask(s.dayOfWeekMask, dayNumber) &&
               ((WeekStart(dayNumber) - WeekStart(c)) / 7) % interval == 0;
    case kRecursMonthly:
        return monthsApart % interval == 0 && d.day == DayOfMonthIn(d.year, d.month, s.dayOfMonth);
    case kRecursMonthNth:
        return monthsApart % interval == 0 &&
               d.day == PickNthDay(d.year, d.month, s.instance, s.dayOfWeekMask);
    case kRecursYearly:
        return d.month == std::clamp(s.monthOfYear, 1, 12) &&
               d.day == DayOfMonthIn(d.year, d.month, s.dayOfMonth);
    case kRecursYearNth:
        return d.month == std::clamp(s.monthOfYear, 1, 12) &&
               d.day == PickNthDay(d.year, d.month, s.instance, s.dayOfWeekMask);
    default:
        return dayNumber == c;
    }
}

} // namespace vantrel
