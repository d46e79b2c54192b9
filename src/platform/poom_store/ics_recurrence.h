#pragma once

// iCalendar times and recurrence rules in the terms of the Outlook store:
// local minutes, and the recurrence pattern types with their fields.

#include "outlook/recurrence.h"
#include "platform/poom_store/store_model.h"

#include <libical/ical.h>

#include <optional>
#include <string>
#include <vector>

namespace vantrel::store {

// A DATE is its day at 00:00; a floating time is local as it is; a UTC or
// zoned time is converted to the host's local time.
Minutes LocalMinutes(icaltimetype t);

// A DATE-TIME property's time with its TZID taken from the file's own
// VTIMEZONEs only (never a built-in zone), so that every time of a
// component is read alike: a TZID the file does not define reads as local.
// For DTEND without one, the end DURATION gives, in DTSTART's zone.
icaltimetype TimeOf(icalcomponent* component, icalproperty_kind kind);
icaltimetype InFileZone(icalcomponent* component, icalproperty* property, icaltimetype t);

// The pattern for an RRULE whose series starts at `start` (DTSTART), or why
// the pattern cannot express it.
struct RuleMapping {
    std::optional<RecurrenceValues> values;
    std::string problem;
};
RuleMapping MapRule(const struct icalrecurrencetype& rule, icaltimetype start);

// The start of the component's first occurrence (by its RRULE, without its
// EXDATE days) that has not ended at `now`, given how long one lasts; the
// last one when all have ended.
std::optional<Minutes> NextIcsOccurrence(icalcomponent* component, icaltimetype start,
                                         Minutes length, Minutes now);

// The local days of the component's EXDATEs.
std::vector<int> ExcludedDays(icalcomponent* component);

// The value (as DTSTART writes it) of the series' regular occurrence on the
// local day `day`.
std::optional<std::string> OccurrenceValueOn(icalcomponent* component, int day);

} // namespace vantrel::store
