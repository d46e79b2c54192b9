#pragma once

// An iCalendar text read once through libical: its events and to-dos, the
// byte range each one occupies in the text, and the one time-zone policy
// every reader of the program uses:
//   1. the VTIMEZONE the file itself defines for the TZID;
//   2. else the zone the program carries under the TZID's IANA name (a
//      vendor prefix dropped, a Windows zone name mapped), the same in
//      every build;
//   3. else the host's local time, which is reported once per TZID.

#include "ical/ical_text.h"
#include "ical/moment.h"

#include <libical/ical.h>

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::ical {

inline constexpr std::size_t kNoSpan = static_cast<std::size_t>(-1);

// A time as written, and the zone the policy gave it.
struct ZonedTime {
    icaltimetype wall{};          // the value's fields, without a zone; is_date for a DATE
    icaltimezone* zone = nullptr; // null: a DATE, a floating time, or a zone taken as local
    bool IsNull() const { return icaltime_is_null_time(wall) != 0; }
};

// A VEVENT or VTODO.
struct Entry {
    icalcomponent* component = nullptr;
    bool todo = false;
    bool isOverride = false; // it has a RECURRENCE-ID
    std::string uid;
    std::size_t span = kNoSpan; // in Spans().components, when the calendar is Exact()
};

class Calendar {
  public:
    // Never null; an unreadable text gives a calendar that is not Found().
    static std::shared_ptr<const Calendar> Parse(std::string_view text);
    ~Calendar();
    Calendar(const Calendar&) = delete;
    Calendar& operator=(const Calendar&) = delete;

    // At least one VCALENDAR was read.
    bool Found() const { return found_; }
    // The text's BEGIN/END lines pair up and libical read exactly the
    // components they enclose, in order: only then is an entry's byte range
    // its text, and only then may the text be changed.
    bool Exact() const { return exact_; }
    // The text holds more than one VCALENDAR (read, never changed).
    bool Several() const { return several_; }
    const CalendarSpans& Spans() const { return spans_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    // What the zone policy could not resolve, one line each.
    std::vector<std::string> Problems() const;

    // The time of a DATE or DATE-TIME property of `component` (for RDATE
    // the start of a PERIOD).
    ZonedTime TimeOf(icalcomponent* component, icalproperty* property) const;
    ZonedTime TimeOf(icalcomponent* component, icalproperty_kind kind) const;
    // The end of the PERIOD of an RDATE (its start plus its duration), or
    // a null time for an RDATE without one.
    ZonedTime PeriodEndOf(icalcomponent* component, icalproperty* rdate) const;
    // The zone a TZID stands for in the VCALENDAR `calendar`.
    icaltimezone* ZoneNamed(icalcomponent* calendar, const char* tzid) const;

  private:
    Calendar() = default;
    ZonedTime Zoned(icalcomponent* component, icalproperty* property, icaltimetype t) const;

    icalcomponent* root_ = nullptr;
    bool found_ = false;
    bool exact_ = false;
    bool several_ = false;
    CalendarSpans spans_;
    std::vector<Entry> entries_;
    mutable std::map<std::string, icaltimezone*> carried_; // zones parsed from the program's table
    mutable std::set<std::string> unknown_;                // TZIDs taken as local
};

// An event or to-do with the overrides of its occurrences (same UID and
// kind, with RECURRENCE-ID). An override whose series is not in the
// calendar is a master of its own.
struct EntryGroup {
    const Entry* master = nullptr;
    std::vector<const Entry*> overrides;
};
std::vector<EntryGroup> GroupEntries(const Calendar& calendar);

// A resolved time as a Moment: a DATE its day, a zoned time its instant,
// else a floating wall time.
Moment MomentOf(const ZonedTime& t);
// The instant of a wall time in `zone`: of a time the clocks pass twice the
// first, of one they skip the time with the offset from before the change.
std::int64_t InstantOfWall(const icaltimetype& wall, icaltimezone* zone);
// The wall time of an instant in `zone` (floating when zone is null: the
// host's local time), without a zone, for iterating in that zone's wall time.
icaltimetype WallOfInstant(std::int64_t utcSeconds, icaltimezone* zone);
std::int64_t WallSecondsOf(const icaltimetype& t);
icaltimetype WallTimeOf(std::int64_t wallSeconds, bool date);

} // namespace vantrel::ical
