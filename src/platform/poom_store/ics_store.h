#pragma once

// The replacement Pocket Outlook store read from an iCalendar file (RFC
// 5545): VEVENTs are appointments, VTODOs tasks. Changes are made to the
// file's own text, component by component, so that everything the item does
// not touch (time zones, unknown properties and components, the order, the
// folding) stays byte for byte.

#include "platform/poom_store/store_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::store {

// Whether a store file is iCalendar: its name ends in ".ics" (any case).
bool IsICalendarName(std::u16string_view path);

// The clock the file is read and changed with: the item's local time, and
// the same moment in UTC for DTSTAMP and COMPLETED.
struct IcsClock {
    Minutes localNow = 0;
    std::int64_t utcSeconds = 0;
};

// An instant in the host's local time, and back (see model/local_zone.h).
Minutes LocalOfUtc(std::int64_t utcSeconds);
std::int64_t UtcOfLocal(Minutes local);
// The clock at the local moment `localNow`, in the host's zone.
IcsClock IcsClockAt(Minutes localNow);

// Reads the VCALENDAR. A series the recurrence pattern cannot express is
// reported with its UID and kept as its next occurrence at or after
// `clock.localNow`; other problems are reported the same way, and the
// component stays in the file as it is.
ParsedStore ParseIcsStore(std::string_view text, const IcsClock& clock);

// One change to the file's text, for the component the change's
// `recordText` names by its UID (see ChangeOf). Nullopt when that component
// is no longer in the file or the change cannot be made.
// `knownExact`: the caller read exactly this text and found it exact (see
// ParsedStore::exact), so only the components the change meets are read.
std::optional<ChangedText> ApplyIcsChange(std::string_view text, const StoreChange& change,
                                          const IcsClock& clock, bool knownExact = false);

// Takes `newText`, a later version of the file `parsed` was read from
// (`oldText`): only the records whose components differ are read again,
// the others keep what they were and move with the bytes around them.
// Reads the whole file when the two differ in more than records.
void UpdateIcsStore(ParsedStore& parsed, std::string_view oldText, std::string_view newText,
                    const IcsClock& clock);

} // namespace vantrel::store
