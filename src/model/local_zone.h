#pragma once

// The host's time zone: an instant (seconds since 1970-01-01 UTC) as local
// wall time in minutes since day number 0, and back. Bound per platform:
// the C library natively, the system's time zone in the Win32 module.

#include <cstdint>

namespace vantrel {

std::int64_t LocalMinutesOfUtc(std::int64_t utcSeconds);
// A local time that falls in a daylight-saving gap or overlap is taken as
// the platform takes it.
std::int64_t UtcSecondsOfLocal(std::int64_t localMinutes);

} // namespace vantrel
