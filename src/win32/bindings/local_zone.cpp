#include "model/local_zone.h"

#include "model/date_time.h"

#include <windows.h>

namespace vantrel {
namespace {

// FILETIME counts 100 ns from 1601-01-01 UTC.
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
const std::int64_t kUnixEpochMinutes = static_cast<std::int64_t>(DayNumberOf(1970, 1, 1)) * 1440;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : (a - b + 1) / b;
}

bool SystemOfUtc(std::int64_t utcSeconds, SYSTEMTIME& st) {
    const std::int64_t ticks = (utcSeconds + kSecondsFrom1601To1970) * 10000000LL;
    if (ticks < 0) {
        return false;
    }
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFU);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
    return FileTimeToSystemTime(&ft, &st) != 0;
}

} // namespace

std::int64_t LocalMinutesOfUtc(std::int64_t utcSeconds) {
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!SystemOfUtc(utcSeconds, utc) ||
        SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) == 0) {
        return FloorDiv(utcSeconds, 60) + kUnixEpochMinutes;
    }
    return static_cast<std::int64_t>(DayNumberOf(local.wYear, local.wMonth, local.wDay)) * 1440 +
           static_cast<std::int64_t>(local.wHour) * 60 + local.wMinute;
}

std::int64_t UtcSecondsOfLocal(std::int64_t localMinutes) {
    const std::int64_t day = FloorDiv(localMinutes, 1440);
    const std::int64_t inDay = localMinutes - day * 1440;
    const CalendarDate d = DateOfDayNumber(static_cast<int>(day));
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(d.year);
    local.wMonth = static_cast<WORD>(d.month);
    local.wDay = static_cast<WORD>(d.day);
    local.wHour = static_cast<WORD>(inDay / 60);
    local.wMinute = static_cast<WORD>(inDay % 60);
    SYSTEMTIME utc;
    FILETIME ft;
    if (d.year < 1601 || TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) == 0 ||
        SystemTimeToFileTime(&utc, &ft) == 0) {
        return (localMinutes - kUnixEpochMinutes) * 60;
    }
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000ULL) - kSecondsFrom1601To1970;
}

} // namespace vantrel
