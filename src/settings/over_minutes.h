#pragma once

#include <cstdint>

namespace vantrel {

// `OverMinutes` holds a day count as minutes with a bias, compared unsigned
// against the ToDo order keys. The arithmetic is done on the unsigned bit
// pattern, so the whole range the options accept (+-99999 days) round-trips
// even where the biased value no longer fits a signed 32-bit integer.
inline constexpr std::int64_t kOverMinutesBias = 2100000000;

std::int32_t OverMinutesFromDays(std::int32_t days);
std::int32_t DaysFromOverMinutes(std::int32_t overMinutes);

} // namespace vantrel
