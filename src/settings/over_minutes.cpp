#include "settings/over_minutes.h"

namespace vantrel {

std::int32_t OverMinutesFromDays(std::int32_t days) {
    const std::int64_t d = days >= 0 ? days : static_cast<std::int64_t>(days) - 1;
    const auto biased = static_cast<std::uint32_t>(kOverMinutesBias + d * 1440);
    return static_cast<std::int32_t>(biased);
}

std::int32_t DaysFromOverMinutes(std::int32_t overMinutes) {
    const std::int64_t minutes =
        static_cast<std::int64_t>(static_cast<std::uint32_t>(overMinutes)) - kOverMinutesBias;
    const std::int64_t t = minutes / 1440; // truncates toward zero
    return static_cast<std::int32_t>(t < 0 ? t + 1 : t);
}

} // namespace vantrel
