#include "ical/moment.h"

#include "model/date_time.h"
#include "model/local_zone.h"

namespace vantrel::ical {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : (a - b + 1) / b;
}

} // namespace

std::int64_t LocalMinutesOf(const Moment& m) {
    switch (m.kind) {
    case Moment::kDate:
        return m.value * 1440;
    case Moment::kFloating:
        return FloorDiv(m.value, 60);
    case Moment::kInstant:
        return LocalMinutesOfUtc(m.value);
    default:
        return 0;
    }
}

std::int64_t UtcSecondsOf(const Moment& m) {
    switch (m.kind) {
    case Moment::kDate:
        return UtcSecondsOfLocal(m.value * 1440);
    case Moment::kFloating: {
        const std::int64_t minutes = FloorDiv(m.value, 60);
        return UtcSecondsOfLocal(minutes) + (m.value - minutes * 60);
    }
    case Moment::kInstant:
        return m.value;
    default:
        return 0;
    }
}

std::int64_t WallSeconds(int dayNumber, int hour, int minute, int second) {
    return static_cast<std::int64_t>(dayNumber) * kSecondsPerDay +
           static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 + second;
}

int DayOfWallSeconds(std::int64_t wall) {
    return static_cast<int>(FloorDiv(wall, kSecondsPerDay));
}

} // namespace vantrel::ical
