#pragma once

// The occurrences of one event or to-do: DTSTART, the RRULEs (UNTIL,
// COUNT, WKST) and RDATEs (PERIOD included), less the EXDATEs and the
// occurrences its overrides (RECURRENCE-ID) move or cancel, plus the moved
// ones. Rules are expanded in the wall time of DTSTART's zone and started
// near the moment asked for, so the cost of a question does not grow with
// the age of a series.

#include "ical/calendar.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::ical {

struct Occurrence {
    Moment start, end;
    // The regular start the occurrence stands in for: what RECURRENCE-ID
    // and EXDATE name.
    Moment slot;
    ZonedTime slotTime;
    icalcomponent* source = nullptr; // the series, or the override that moved it
};

// A rule ready to expand: COUNT turned into its last occurrence where
// possible, UNTIL in the wall time of the series' zone.
struct PreparedRule {
    icalrecurrencetype rule{};
    bool simple = false;               // no BY part: the n-th occurrence is computed
    std::int64_t step = 0;             // of a simple rule, in wall seconds
    std::int64_t count = 0;            // a COUNT still to be counted (0: none)
    std::optional<std::int64_t> until; // the last wall time it may give
    // A sub-daily rule whose BY parts only pick among its periods' times:
    // stepped by the engine itself (libical loses such a rule's phase).
    bool ownSubDaily = false;
    // Where its expansion begins: DTSTART, or for a weekly rule whose
    // DTSTART is not one of its days, the first of its days from there.
    std::int64_t base = 0;
};

class Series {
  public:
    // The series of `master` with its overrides; `problems` gets a line for
    // what it cannot follow.
    Series(std::shared_ptr<const Calendar> calendar, icalcomponent* master,
           std::vector<icalcomponent*> overrides, std::vector<std::string>& problems);

    bool Valid() const { return !start_.IsNull(); } // it has a DTSTART
    bool Recurs() const { return !rules_.empty() || !rdates_.empty(); }
    // Whether it ends: no rule without UNTIL or COUNT.
    bool Finite() const;
    icalcomponent* Master() const { return master_; }
    const ZonedTime& StartTime() const { return start_; }
    const ZonedTime& EndTime() const { return end_; }
    // How long each occurrence lasts in elapsed seconds, when that is exact
    // (a DTEND or a DURATION in hours of a zoned series).
    std::optional<std::int64_t> ExactLength() const { return exact_; }
    const std::vector<icalcomponent*>& Overrides() const { return overrides_; }
    const std::vector<PreparedRule>& Rules() const { return rules_; }
    bool HasRdates() const { return !rdates_.empty(); }
    const Calendar& Source() const { return *calendar_; }

    // The first occurrence that has not ended at `nowUtc` (one that is in
    // progress, or the next), or nullopt when every one has.
    std::optional<Occurrence> FirstNotEnded(std::int64_t nowUtc) const;
    // The latest occurrence of a series that ends, or nullopt.
    std::optional<Occurrence> Last() const;
    // Every occurrence that starts in [fromUtc, toUtc), in start order; at
    // most `limit` of them.
    std::vector<Occurrence> StartingBetween(std::int64_t fromUtc, std::int64_t toUtc,
                                            std::size_t limit = 20000) const;
    // The regular occurrences (before overrides and EXDATEs) whose start
    // falls on the host's local day `dayNumber`.
    std::vector<Occurrence> SlotsOnLocalDay(int dayNumber) const;
    // Whether a RECURRENCE-ID or EXDATE value names the regular occurrence
    // `slot`: by its day for a DATE (and, in a DATE series, whatever zone
    // it names), else by its wall time in the series' zone.
    bool Names(const ZonedTime& value, const Occurrence& slot) const;
    // The occurrence an override stands for (whether it is cancelled or not).
    Occurrence FromOverride(icalcomponent* o) const;
    // What the EXDATEs exclude, as moments (a DATE as written).
    std::vector<Moment> ExcludedSlots() const;
    // The longest occurrence, overrides and PERIODs included, in seconds.
    std::int64_t LongestSeconds() const;

  private:
    Occurrence Regular(std::int64_t wall) const;
    bool Excluded(const Occurrence& o) const;
    bool Overridden(const Occurrence& o) const;
    // Calls visit for the slots of every rule from about `fromWall` on, per
    // rule in order, until visit returns false.
    void ForEachSlot(const PreparedRule& rule, std::int64_t fromWall,
                     const std::function<bool(std::int64_t)>& visit) const;
    // A start for the rule's expansion of the same phase, a period or so
    // before `fromWall`.
    std::int64_t LaterStart(const PreparedRule& rule, std::int64_t fromWall) const;
    // The explicit occurrences: DTSTART, RDATEs and the moved overrides.
    std::vector<Occurrence> Listed() const;
    std::int64_t WallOf(std::int64_t utcSeconds) const;

    std::shared_ptr<const Calendar> calendar_;
    icalcomponent* master_ = nullptr;
    std::vector<icalcomponent*> overrides_;
    ZonedTime start_, end_;
    bool date_ = false;
    std::int64_t startWall_ = 0;
    std::int64_t lengthWall_ = 0;       // end - start in wall seconds (days for a DATE series)
    std::optional<std::int64_t> exact_; // the length in elapsed seconds, when it is exact
    std::vector<PreparedRule> rules_;
    std::vector<std::pair<ZonedTime, ZonedTime>> rdates_; // start, and a PERIOD's end
    std::vector<ZonedTime> exdates_;
    std::vector<std::pair<ZonedTime, icalcomponent*>> moved_; // RECURRENCE-ID, override
};

// The key an occurrence's slot is matched by: the day for a DATE series,
// the instant for a zoned one, the wall time for a floating one.
std::int64_t SlotKey(const Moment& m);

} // namespace vantrel::ical
