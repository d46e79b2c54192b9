#pragma once

#include <cstdint>

namespace vantrel {

// The current moment as the platform's local clock reports it. Same field
// order and widths as Win32 SYSTEMTIME, so the shell can copy it field by field.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0; // never read: weekdays come from WeekdayOf
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// A moment from its parts (seconds and milliseconds zero).
inline SystemTime SystemTimeAt(int year, int month, int day, int hour, int minute) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    return t;
}

// A clock seam: the shell binds it to GetLocalTime, tests to a fixed moment.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual SystemTime Now() const = 0;
};

} // namespace vantrel
