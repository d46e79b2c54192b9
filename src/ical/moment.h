#pragma once

// A time as an iCalendar file gives it: a whole day, a wall time that
// belongs to no zone (floating), or an instant. Only the host's zone turns
// the first two into instants, so they stay apart until then.

#include <cstdint>

namespace vantrel::ical {

struct Moment {
    enum Kind : std::uint8_t { kNone, kDate, kFloating, kInstant };
    Kind kind = kNone;
    // kDate: a day number (model/date_time.h); kFloating: wall seconds since
    // day number 0; kInstant: seconds since 1970-01-01 UTC.
    std::int64_t value = 0;

    bool IsNone() const { return kind == kNone; }
    friend bool operator==(const Moment&, const Moment&) = default;
};

inline Moment DateMoment(int dayNumber) {
    return {Moment::kDate, dayNumber};
}
inline Moment FloatingMoment(std::int64_t wallSeconds) {
    return {Moment::kFloating, wallSeconds};
}
inline Moment InstantMoment(std::int64_t utcSeconds) {
    return {Moment::kInstant, utcSeconds};
}

// The moment in the host's local time, in minutes since day number 0 (a
// day is its 00:00; seconds are dropped).
std::int64_t LocalMinutesOf(const Moment& m);
// The moment as an instant: a day is its local 00:00, a floating time is
// taken in the host's zone.
std::int64_t UtcSecondsOf(const Moment& m);

// Wall seconds since day number 0 and back, for arithmetic on wall times.
std::int64_t WallSeconds(int dayNumber, int hour, int minute, int second);
int DayOfWallSeconds(std::int64_t wall);

inline constexpr std::int64_t kSecondsPerDay = 86400;

} // namespace vantrel::ical
