#pragma once

#include "model/date_time.h"

#include <string_view>

namespace vantrel {

struct ParsedDateTime {
    bool ok = false;
    DateTime value; // what the scans left, repaired as described in ParseDateTime
};

// Reads the date texts of data files: "y/m/d h:m", "y-m-d h:m", "y.m.d h:m"
// and the same without the time, first full match wins. The numbers are read
// by a bounded parser, so overlong digit runs saturate instead of overflowing.
ParsedDateTime ParseDateTime(std::string_view text);

} // namespace vantrel
