#pragma once

#include "model/system_time.h"

namespace vantrel::testing {

// A local-clock moment for tests.
inline SystemTime At(int y, int mo, int d, int h, int mi) {
    return SystemTimeAt(y, mo, d, h, mi);
}

} // namespace vantrel::testing

namespace vantrel::testing {

struct FixedClock : Clock {
    explicit FixedClock(SystemTime t) : now(t) {}
    SystemTime now;
    SystemTime Now() const override { return now; }
};

} // namespace vantrel::testing
