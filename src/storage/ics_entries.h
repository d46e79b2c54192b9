#pragma once

#include "model/date_time.h"
#include "model/item.h"
#include "model/system_time.h"
#include "storage/shift_jis_codec.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Own entries as iCalendar (RFC 5545) and back, through libical.
//
// Export, per entry:
//   a dated entry       VEVENT, DTSTART (VALUE=DATE without a time, else a
//                       floating local date-time); a period's end as DTEND,
//                       exclusive (the day after the last day) when all-day
//   a ToDo              VTODO, its deadline as DUE
//   checked             VTODO: STATUS:COMPLETED and COMPLETED (UTC);
//                       both kinds: X-VANTREL-CHECK "STATE[ YYYYMMDD[THHMM]]"
//   title               SUMMARY
//   tags                CATEGORIES, one per tag; X-VANTREL-TAGS holds the
//                       exact text when CATEGORIES cannot (empty pieces, a
//                       comma inside a tag)
//   pinned              X-VANTREL-PINNED
//   UID                 a hash of the entry's data-file record and its
//                       occurrence among identical records, "@vantrel"
// A dated entry stays a VEVENT when checked: an event cannot be COMPLETED
// in iCalendar, so only X-VANTREL-CHECK carries its check.

// The UID of an entry whose data-file record is `record`, the
// `occurrence`-th (from 1) entry of the export with that very record.
std::string IcsUid(std::string_view record, int occurrence);

struct IcsExport {
    std::string text;                 // the VCALENDAR, CR LF lines folded at 75 octets
    std::vector<std::string> leftOut; // UTF-8, one line per entry not exported
};

// The entries as one VCALENDAR; DTSTAMP is `now`, the tool's clock. An
// entry with a date libical cannot write (a year outside 2 to 3000) is left
// out and named in `leftOut`.
IcsExport EntriesToIcs(std::span<const Item> entries, const SystemTime& now,
                       const ShiftJisCodec& codec);

struct IcsImport {
    bool parsed = false;               // false: the text holds no iCalendar object
    std::vector<Item> items;           // new own entries, not yet evaluated
    int recurring = 0;                 // series that came in as one occurrence
    std::vector<std::string> problems; // UTF-8, one line each
};

// The VEVENTs and VTODOs of an iCalendar text as own entries. A series
// (RRULE, RDATE) comes in as its first occurrence that has not ended at
// `now` (EXDATE and moved occurrences honoured), or its last one when all
// have. UTC and TZID times become the host's local time (model/local_zone.h).
// Texts are stored as the data file keeps them; a character Shift_JIS
// cannot hold, or a text cut to the record's length, is reported in
// `problems`.
IcsImport EntriesFromIcs(std::string_view text, const SystemTime& now, const ShiftJisCodec& codec);

} // namespace vantrel
