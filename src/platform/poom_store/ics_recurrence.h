#pragma once

// iCalendar series in the terms of the Outlook store: the recurrence
// pattern that gives exactly a series' local days and times, where one does.

#include "ical/series.h"
#include "outlook/recurrence.h"
#include "platform/poom_store/store_model.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace vantrel::store {

// The pattern of a series, or why none holds it. Its days, weekdays and
// start day are those of the host's local time; a series whose local time
// of day or weekday moves (a zone with other daylight-saving days than the
// host's), or whose rule the pattern has no form for, has none.
struct RuleMapping {
    std::optional<RecurrenceValues> values;
    std::string problem;
};
// Whether a zone keeps one offset to the host's local time from a year on,
// found once per zone and year for one read of a file.
struct ZoneShifts {
    std::map<std::pair<const icaltimezone*, std::int64_t>, std::optional<Minutes>> known;
};
RuleMapping MapSeries(const ical::Series& series, ZoneShifts& shifts);

} // namespace vantrel::store
