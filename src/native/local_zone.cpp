#include "model/local_zone.h"

#include "model/date_time.h"

#include <ctime>

namespace vantrel {
namespace {

const std::int64_t kUnixEpochMinutes = static_cast<std::int64_t>(DayNumberOf(1970, 1, 1)) * 1440;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : (a - b + 1) / b;
}

} // namespace

std::int64_t LocalMinutesOfUtc(std::int64_t utcSeconds) {
    const auto t = static_cast<std::time_t>(utcSeconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return FloorDiv(utcSeconds, 60) + kUnixEpochMinutes;
    }
    return static_cast<std::int64_t>(DayNumberOf(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday)) *
               1440 +
           static_cast<std::int64_t>(tm.tm_hour) * 60 + tm.tm_min;
}

std::int64_t UtcSecondsOfLocal(std::int64_t localMinutes) {
    const std::int64_t day = FloorDiv(localMinutes, 1440);
    const std::int64_t inDay = localMinutes - day * 1440;
    const CalendarDate d = DateOfDayNumber(static_cast<int>(day));
    std::tm tm{};
    tm.tm_year = d.year - 1900;
    tm.tm_mon = d.month - 1;
    tm.tm_mday = d.day;
    tm.tm_hour = static_cast<int>(inDay / 60);
    tm.tm_min = static_cast<int>(inDay % 60);
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) {
        return (localMinutes - kUnixEpochMinutes) * 60;
    }
    return static_cast<std::int64_t>(t);
}

} // namespace vantrel
