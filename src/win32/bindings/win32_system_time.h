#pragma once

// The core's SystemTime and Win32 SYSTEMTIME have the same fields.

#include "model/system_time.h"

#include <windows.h>

namespace vantrel {

inline SYSTEMTIME ToSystem(const SystemTime& t) {
    SYSTEMTIME s{};
    s.wYear = t.year;
    s.wMonth = t.month;
    s.wDayOfWeek = t.dayOfWeek;
    s.wDay = t.day;
    s.wHour = t.hour;
    s.wMinute = t.minute;
    s.wSecond = t.second;
    s.wMilliseconds = t.milliseconds;
    return s;
}

inline SystemTime FromSystem(const SYSTEMTIME& s) {
    SystemTime t;
    t.year = s.wYear;
    t.month = s.wMonth;
    t.dayOfWeek = s.wDayOfWeek;
    t.day = s.wDay;
    t.hour = s.wHour;
    t.minute = s.wMinute;
    t.second = s.wSecond;
    t.milliseconds = s.wMilliseconds;
    return t;
}

} // namespace vantrel
