#pragma once

#include "model/date_time.h"
#include "model/system_time.h"

#include <optional>

namespace vantrel {

// Recurrence types and day-of-week masks of the Outlook store (bit 0 Sunday).
enum RecurrenceType : int {
    kRecursDaily = 0,
    kRecursWeekly = 1,
    kRecursMonthly = 2,
    kRecursMonthNth = 3,
    kRecursYearly = 5,
    kRecursYearNth = 6,
};
inline constexpr int kMaskWeekdays = 62;
inline constexpr int kMaskWeekend = 65;
inline constexpr int kMaskEveryDay = 127;

// What the occurrence search reads of a recurrence pattern. An Interval that
// cannot be read (the every-weekday form of a daily series) is nullopt.
struct RecurrenceValues {
    int type = kRecursDaily;
    CalendarDate patternStart;
    std::optional<int> interval = 1;
    int dayOfWeekMask = 0;
    int dayOfMonth = 0;
    int instance = 0;
    int monthOfYear = 0;
    bool noEndDate = true;
    CalendarDate patternEnd;
};

// Moves `date` to the first day of the series on or after it (never before
// the pattern start) and sets its weekday; the time fields are kept. 1 when
// that day exists and the series has not ended before it, else 0. A pattern
// whose masks admit no day at all has no occurrence (0).
int NextOccurrence(const RecurrenceValues& series, SystemTime& date);

// The day of the month that Instance and the mask pick, 0 when none: masks
// 62 and 65 count the matching days (Instance above 4 = the last), mask 127
// counts days (above 4 = the month's last day), other masks look in week
// Instance of the month (days 1-7 are week 1), Instance 5 falling back to
// week 4 when week 5 has no matching day.
int PickNthDay(int year, int month, int instance, int mask);

// Whether the series has an occurrence on this day, ignoring exceptions:
// the plain definition the stores use to list occurrences.
bool OccursOn(const RecurrenceValues& series, int dayNumber);

} // namespace vantrel
