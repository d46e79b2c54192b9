#pragma once

#include "model/system_time.h"

namespace vantrel::testing {

// A local-clock moment for tests.
inline SystemTime At(int y, int mo, int d, int h, int mi) {
    SystemTime t;
    t.year = static_cast<std::uint16_t>(y);
    t.month = static_cast<std::uint16_t>(mo);
    t.day = static_cast<std::uint16_t>(d);
    t.hour = static_cast<std::uint16_t>(h);
    t.minute = static_cast<std::uint16_t>(mi);
    return t;
}

} // namespace vantrel::testing
