#include "ical/series.h"

#include "model/date_time.h"
#include "model/local_zone.h"

#include <algorithm>
#include <memory>
#include <tuple>

namespace vantrel::ical {
namespace {

// A COUNT is counted out once, at most this far; a rule that needs more is
// followed to there and reported.
constexpr std::int64_t kCountLimit = 200000;
// One question never takes more steps than this from where it starts.
constexpr int kStepLimit = 1000000;
// Slack around a wall time taken from an instant: offsets differ by less.
constexpr std::int64_t kZoneSlack = 2 * kSecondsPerDay;

struct IteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};
using IteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

template <std::size_t N> bool Empty(const short (&values)[N]) {
    return values[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

bool HasByParts(const icalrecurrencetype& r) {
    return !Empty(r.by_second) || !Empty(r.by_minute) || !Empty(r.by_hour) || !Empty(r.by_day) ||
           !Empty(r.by_month_day) || !Empty(r.by_year_day) || !Empty(r.by_week_no) ||
           !Empty(r.by_month) || !Empty(r.by_set_pos);
}

// The length of one period of a frequency that has a fixed one.
std::int64_t PeriodSeconds(icalrecurrencetype_frequency f) {
    switch (f) {
    case ICAL_SECONDLY_RECURRENCE:
        return 1;
    case ICAL_MINUTELY_RECURRENCE:
        return 60;
    case ICAL_HOURLY_RECURRENCE:
        return 3600;
    case ICAL_DAILY_RECURRENCE:
        return kSecondsPerDay;
    case ICAL_WEEKLY_RECURRENCE:
        return 7 * kSecondsPerDay;
    default:
        return 0;
    }
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : (a - b + 1) / b;
}

int DayOfTime(const icaltimetype& t) {
    return DayNumberOf(t.year, t.month, t.day);
}

std::int64_t Utc(const Moment& m) {
    return UtcSecondsOf(m);
}

// The first of a weekly rule's days from `wall` on, in the week (from
// WKST) of `wall` or, when none is left there, in the first week of the
// next period: libical loses the weeks' phase when DTSTART is not one of
// the rule's days.
std::int64_t FirstWeeklyDay(const icalrecurrencetype& r, std::int64_t wall) {
    int mask = 0;
    for (const short d : r.by_day) {
        if (d == ICAL_RECURRENCE_ARRAY_MAX) {
            break;
        }
        const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(d)); // 1 = Sunday
        mask |= weekday >= 1 && weekday <= 7 ? 1 << (weekday - 1) : 0;
    }
    const int day = DayOfWallSeconds(wall);
    if (mask == 0 || (mask & (1 << WeekdayOf(day))) != 0) {
        return wall;
    }
    const int weekStart = std::clamp(static_cast<int>(r.week_start), 1, 7) - 1;
    const int intoWeek = ((WeekdayOf(day) - weekStart) % 7 + 7) % 7;
    for (int d = day + 1; d < day + 7 - intoWeek; ++d) {
        if ((mask & (1 << WeekdayOf(d))) != 0) {
            return wall + static_cast<std::int64_t>(d - day) * kSecondsPerDay;
        }
    }
    const int next = day - intoWeek + 7 * std::max<int>(1, r.interval);
    for (int d = next; d < next + 7; ++d) {
        if ((mask & (1 << WeekdayOf(d))) != 0) {
            return wall + static_cast<std::int64_t>(d - day) * kSecondsPerDay;
        }
    }
    return wall;
}

template <std::size_t N> std::vector<int> ListOf(const short (&values)[N]) {
    std::vector<int> out;
    for (const short v : values) {
        if (v == ICAL_RECURRENCE_ARRAY_MAX) {
            break;
        }
        out.push_back(v);
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool Has(const std::vector<int>& list, int value) {
    return std::binary_search(list.begin(), list.end(), value);
}

// Whether a sub-daily rule's BY parts only pick among its periods' times
// (no positions, week numbers, year days or numbered weekdays).
bool PicksAmongTimes(const icalrecurrencetype& r) {
    if (r.freq != ICAL_SECONDLY_RECURRENCE && r.freq != ICAL_MINUTELY_RECURRENCE &&
        r.freq != ICAL_HOURLY_RECURRENCE) {
        return false;
    }
    if (!Empty(r.by_set_pos) || !Empty(r.by_week_no) || !Empty(r.by_year_day) ||
        r.rscale != nullptr) {
        return false;
    }
    for (const int d : ListOf(r.by_day)) {
        if (icalrecurrencetype_day_position(static_cast<short>(d)) != 0) {
            return false;
        }
    }
    return true;
}

// The times of such a rule from about `fromWall` on, the phase counted from
// `base` (DTSTART): RFC 5545 expands BYMINUTE in an hour and BYSECOND in a
// minute or hour, and lets the other parts limit. Periods a limit rejects
// are stepped over a day, an hour or a minute at a time.
template <class Visit>
void SubDailySlots(const icalrecurrencetype& r, std::int64_t base, std::int64_t fromWall,
                   std::int64_t count, Visit visit) {
    const std::int64_t unit = PeriodSeconds(r.freq);
    const std::int64_t period = unit * std::max<int>(1, r.interval);
    const std::vector<int> months = ListOf(r.by_month), monthDays = ListOf(r.by_month_day),
                           hours = ListOf(r.by_hour);
    std::vector<int> byMinute = ListOf(r.by_minute), bySecond = ListOf(r.by_second);
    int weekdays = 0;
    for (const int d : ListOf(r.by_day)) {
        const int w = static_cast<int>(icalrecurrencetype_day_day_of_week(static_cast<short>(d)));
        weekdays |= w >= 1 && w <= 7 ? 1 << (w - 1) : 0;
    }
    const int baseMinute = static_cast<int>(base / 60 % 60);
    const int baseSecond = static_cast<int>(base % 60);
    const bool hourly = r.freq == ICAL_HOURLY_RECURRENCE;
    const bool minutely = r.freq == ICAL_MINUTELY_RECURRENCE;
    // What each period expands to, past its own start.
    std::vector<int> offsets;
    if (hourly) {
        const std::vector<int> mins = byMinute.empty() ? std::vector<int>{baseMinute} : byMinute;
        const std::vector<int> secs = bySecond.empty() ? std::vector<int>{baseSecond} : bySecond;
        for (const int m : mins) {
            for (const int sec : secs) {
                offsets.push_back(m * 60 + sec);
            }
        }
        byMinute.clear();
        bySecond.clear();
    } else if (minutely) {
        for (const int sec : bySecond.empty() ? std::vector<int>{baseSecond} : bySecond) {
            offsets.push_back(sec);
        }
        bySecond.clear();
    } else {
        offsets.push_back(0);
    }
    std::sort(offsets.begin(), offsets.end());
    const auto firstPeriodFrom = [&](std::int64_t wall) {
        return wall <= base ? 0 : (wall - base + period - 1) / period;
    };
    std::int64_t k = fromWall > base ? FloorDiv(fromWall - base, period) : 0;
    std::int64_t given = 0;
    for (int steps = 0; steps < kStepLimit; ++steps) {
        const std::int64_t at = base + k * period;
        const std::int64_t start = at - at % unit; // the hour, minute or second it is in
        const int day = DayOfWallSeconds(start);
        const CalendarDate date = DateOfDayNumber(day);
        const int length = kDaysInMonth[IsLeapYear(date.year) ? 1 : 0][date.month];
        const bool dayFits = (months.empty() || Has(months, date.month)) &&
                             (monthDays.empty() || Has(monthDays, date.day) ||
                              Has(monthDays, date.day - length - 1)) &&
                             (weekdays == 0 || (weekdays & (1 << WeekdayOf(day))) != 0);
        if (!dayFits) {
            k = std::max(k + 1, firstPeriodFrom(WallSeconds(day + 1, 0, 0, 0)));
            continue;
        }
        const std::int64_t inDay = start - WallSeconds(day, 0, 0, 0);
        const int hour = static_cast<int>(inDay / 3600);
        if (!hours.empty() && !Has(hours, hour)) {
            k = std::max(k + 1, firstPeriodFrom(WallSeconds(day, hour + 1, 0, 0)));
            continue;
        }
        const int minute = static_cast<int>(inDay / 60 % 60);
        if (!byMinute.empty() && !Has(byMinute, minute)) {
            k = std::max(k + 1, firstPeriodFrom(WallSeconds(day, hour, minute + 1, 0)));
            continue;
        }
        if (!bySecond.empty() && !Has(bySecond, static_cast<int>(inDay % 60))) {
            ++k;
            continue;
        }
        for (const int offset : offsets) {
            const std::int64_t wall = start + offset;
            if (wall < base) {
                continue;
            }
            if ((count > 0 && given >= count) || !visit(wall)) {
                return;
            }
            ++given;
        }
        ++k;
    }
}

// `wall` moved on by `months` calendar months, when that day exists.
std::optional<std::int64_t> PlusMonths(std::int64_t wall, std::int64_t months) {
    const int day = DayOfWallSeconds(wall);
    const CalendarDate d = DateOfDayNumber(day);
    const std::int64_t index = static_cast<std::int64_t>(d.year) * 12 + (d.month - 1) + months;
    const int year = static_cast<int>(index / 12);
    const int month = static_cast<int>(index % 12) + 1;
    if (year > kMaxYear || d.day > kDaysInMonth[IsLeapYear(year) ? 1 : 0][month]) {
        return std::nullopt;
    }
    return wall +
           (static_cast<std::int64_t>(DayNumberOf(year, month, d.day)) - day) * kSecondsPerDay;
}

bool NotEnded(const Occurrence& o, std::int64_t now) {
    return Utc(o.end) > now || Utc(o.start) >= now;
}

} // namespace

std::int64_t SlotKey(const Moment& m) {
    return m.kind == Moment::kDate ? m.value * kSecondsPerDay : m.value;
}

Series::Series(std::shared_ptr<const Calendar> calendar, icalcomponent* master,
               std::vector<icalcomponent*> overrides, std::vector<std::string>& problems)
    : calendar_(std::move(calendar)), master_(master), overrides_(std::move(overrides)) {
    const Calendar& cal = *calendar_;
    const bool todo = icalcomponent_isa(master) == ICAL_VTODO_COMPONENT;
    start_ = cal.TimeOf(master, ICAL_DTSTART_PROPERTY);
    icalproperty* endProperty =
        icalcomponent_get_first_property(master, todo ? ICAL_DUE_PROPERTY : ICAL_DTEND_PROPERTY);
    if (start_.IsNull() && todo) {
        start_ = cal.TimeOf(master, endProperty); // a to-do with a due day only
        endProperty = nullptr;
    }
    if (start_.IsNull()) {
        return;
    }
    date_ = start_.wall.is_date != 0;
    startWall_ = WallSecondsOf(start_.wall);
    // The end in the start's own wall time: DTEND (DUE), else DURATION,
    // else one day for a DATE and no length for a time.
    // Every occurrence lasts as long as the first: exactly as long for a
    // DTEND (DUE) or a DURATION in hours, by the wall clock for a DURATION
    // in days and for a day or floating series.
    std::int64_t endWall = startWall_ + (date_ && !todo ? kSecondsPerDay : 0);
    if (const ZonedTime end = cal.TimeOf(master, endProperty); !end.IsNull()) {
        endWall = end.zone == start_.zone || end.wall.is_date ? WallSecondsOf(end.wall)
                                                              : WallOf(Utc(MomentOf(end)));
        if (!date_ && start_.zone != nullptr && !end.wall.is_date) {
            exact_ = std::max<std::int64_t>(0, Utc(MomentOf(end)) - Utc(MomentOf(start_)));
        }
    } else if (icalproperty* d = icalcomponent_get_first_property(master, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype duration = icalproperty_get_duration(d);
        endWall = startWall_ + icaldurationtype_as_int(duration);
        const bool nominal = duration.hours == 0 && duration.minutes == 0 && duration.seconds == 0;
        if (!date_ && start_.zone != nullptr && !nominal) {
            exact_ = std::max<std::int64_t>(0, endWall - startWall_);
        }
    }
    lengthWall_ = std::max<std::int64_t>(0, endWall - startWall_);
    end_ = {WallTimeOf(startWall_ + lengthWall_, date_), start_.zone};

    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_RRULE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(master, ICAL_RRULE_PROPERTY)) {
        PreparedRule prepared;
        prepared.rule = icalproperty_get_rrule(p);
        icalrecurrencetype& r = prepared.rule;
        if (r.freq == ICAL_NO_RECURRENCE) {
            problems.push_back("an RRULE that cannot be read is left out");
            continue;
        }
        r.interval = static_cast<short>(std::max<int>(1, r.interval));
        prepared.simple = !HasByParts(r) && PeriodSeconds(r.freq) != 0 && r.rscale == nullptr;
        prepared.step = PeriodSeconds(r.freq) * r.interval;
        prepared.base = startWall_;
        if (r.freq == ICAL_WEEKLY_RECURRENCE && !Empty(r.by_day) && Empty(r.by_set_pos)) {
            prepared.base = FirstWeeklyDay(r, startWall_);
        }
        if (!icaltime_is_null_time(r.until)) {
            const icaltimetype u = r.until;
            std::int64_t until = 0;
            if (u.is_date) {
                until =
                    WallSeconds(DayOfTime(u), 0, 0, 0); // a day is its start, as libical reads it
            } else if (icaltime_is_utc(u)) {
                icaltimetype plain = u;
                plain.zone = nullptr;
                until = WallOf(static_cast<std::int64_t>(
                    icaltime_as_timet_with_zone(plain, icaltimezone_get_utc_timezone())));
            } else {
                until = WallSecondsOf(u); // already in the start's wall time
            }
            if (date_) {
                until = WallSeconds(DayOfWallSeconds(until), 0, 0, 0);
            }
            prepared.until = until;
            r.until = icaltime_null_time();
        }
        prepared.ownSubDaily = !prepared.simple && PicksAmongTimes(r);
        if (r.count > 0) {
            if (prepared.simple) {
                prepared.count = r.count;
            } else if (prepared.ownSubDaily) {
                std::optional<std::int64_t> last;
                std::int64_t n = 0;
                SubDailySlots(r, prepared.base, prepared.base, r.count, [&](std::int64_t wall) {
                    last = wall;
                    return ++n < kCountLimit;
                });
                prepared.until = last ? *last : startWall_;
            } else {
                // Counted out once, so that later questions can start
                // anywhere: the COUNT becomes its last occurrence.
                const IteratorPtr it(icalrecur_iterator_new(r, WallTimeOf(prepared.base, date_)));
                std::optional<std::int64_t> last;
                std::int64_t n = 0;
                for (icaltimetype t = it ? icalrecur_iterator_next(it.get()) : icaltime_null_time();
                     !icaltime_is_null_time(t) && n < kCountLimit;
                     t = icalrecur_iterator_next(it.get()), ++n) {
                    last = WallSecondsOf(t);
                }
                if (n >= kCountLimit) {
                    problems.push_back("a COUNT of " + std::to_string(r.count) +
                                       " is followed for " + std::to_string(kCountLimit) +
                                       " occurrences only");
                }
                prepared.until = last ? *last : startWall_;
            }
            r.count = 0;
        }
        rules_.push_back(prepared);
    }
    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_RDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(master, ICAL_RDATE_PROPERTY)) {
        const ZonedTime at = cal.TimeOf(master, p);
        if (!at.IsNull()) {
            rdates_.emplace_back(at, cal.PeriodEndOf(master, p));
        }
    }
    for (icalproperty* p = icalcomponent_get_first_property(master, ICAL_EXDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(master, ICAL_EXDATE_PROPERTY)) {
        const ZonedTime at = cal.TimeOf(master, p);
        if (!at.IsNull()) {
            exdates_.push_back(at);
        }
    }
    for (icalcomponent* o : overrides_) {
        const ZonedTime id = cal.TimeOf(o, ICAL_RECURRENCEID_PROPERTY);
        if (!id.IsNull()) {
            moved_.emplace_back(id, o);
        }
    }
}

bool Series::Finite() const {
    return std::all_of(rules_.begin(), rules_.end(),
                       [](const PreparedRule& r) { return r.count > 0 || r.until.has_value(); });
}

std::int64_t Series::WallOf(std::int64_t utcSeconds) const {
    return WallSecondsOf(WallOfInstant(utcSeconds, date_ ? nullptr : start_.zone));
}

namespace {
bool NamesWall(const ZonedTime& x, std::int64_t wall, bool dateSeries, icaltimezone* seriesZone) {
    if (x.wall.is_date || dateSeries) {
        return DayOfTime(x.wall) == DayOfWallSeconds(wall);
    }
    if (x.zone == seriesZone || x.zone == nullptr) {
        return WallSecondsOf(x.wall) == wall;
    }
    const std::int64_t instant = InstantOfWall(x.wall, x.zone);
    return WallSecondsOf(WallOfInstant(instant, seriesZone)) == wall;
}
} // namespace

bool Series::Names(const ZonedTime& value, const Occurrence& slot) const {
    return NamesWall(value, WallSecondsOf(slot.slotTime.wall), date_, start_.zone);
}

bool Series::Excluded(const Occurrence& o) const {
    return std::any_of(exdates_.begin(), exdates_.end(),
                       [&](const ZonedTime& x) { return Names(x, o); });
}

bool Series::Overridden(const Occurrence& o) const {
    return std::any_of(moved_.begin(), moved_.end(),
                       [&](const auto& m) { return Names(m.first, o); });
}

std::vector<Moment> Series::ExcludedSlots() const {
    std::vector<Moment> out;
    for (const ZonedTime& x : exdates_) {
        if (x.wall.is_date || date_) {
            out.push_back(DateMoment(DayOfTime(x.wall)));
        } else {
            out.push_back(MomentOf(x.zone != nullptr ? x : ZonedTime{x.wall, start_.zone}));
        }
    }
    return out;
}

std::int64_t Series::LongestSeconds() const {
    std::int64_t longest = 0;
    for (const Occurrence& o : Listed()) {
        longest = std::max(longest, Utc(o.end) - Utc(o.start));
    }
    return std::max(longest, lengthWall_ + 3600); // a rule's own, with an offset change
}

Occurrence Series::Regular(std::int64_t wall) const {
    Occurrence o;
    o.slotTime = {WallTimeOf(wall, date_), start_.zone};
    o.slot = MomentOf(o.slotTime);
    o.start = o.slot;
    o.end = exact_ ? InstantMoment(Utc(o.start) + *exact_)
                   : MomentOf(ZonedTime{WallTimeOf(wall + lengthWall_, date_), start_.zone});
    o.source = master_;
    return o;
}

Occurrence Series::FromOverride(icalcomponent* c) const {
    const Calendar& cal = *calendar_;
    Occurrence o;
    o.slotTime = cal.TimeOf(c, ICAL_RECURRENCEID_PROPERTY);
    if (date_ && !o.slotTime.IsNull()) {
        // A day of a DATE series, as written, whatever zone it names.
        o.slotTime = {WallTimeOf(WallSeconds(DayOfTime(o.slotTime.wall), 0, 0, 0), true), nullptr};
    }
    o.slot = MomentOf(o.slotTime);
    ZonedTime start = cal.TimeOf(c, ICAL_DTSTART_PROPERTY);
    if (start.IsNull()) {
        start = o.slotTime;
    }
    o.start = MomentOf(start);
    const ZonedTime end = cal.TimeOf(c, ICAL_DTEND_PROPERTY);
    std::int64_t length = lengthWall_;
    if (icalproperty* d = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY);
        d != nullptr && end.IsNull()) {
        length = icaldurationtype_as_int(icalproperty_get_duration(d));
    }
    o.end = !end.IsNull() ? MomentOf(end)
                          : MomentOf(ZonedTime{WallTimeOf(WallSecondsOf(start.wall) + length,
                                                          start.wall.is_date != 0),
                                               start.zone});
    if (Utc(o.end) < Utc(o.start)) {
        o.end = o.start;
    }
    o.source = c;
    return o;
}

std::vector<Occurrence> Series::Listed() const {
    std::vector<Occurrence> out;
    const auto regular = [&](const Occurrence& o) {
        if (!Excluded(o) && !Overridden(o)) {
            out.push_back(o);
        }
    };
    regular(Regular(startWall_));
    for (const auto& [at, periodEnd] : rdates_) {
        const std::int64_t wall = at.wall.is_date || at.zone == start_.zone || at.zone == nullptr
                                      ? WallSecondsOf(at.wall)
                                      : WallOf(Utc(MomentOf(at)));
        if (wall == startWall_) {
            continue; // DTSTART again
        }
        Occurrence o = Regular(wall);
        if (!periodEnd.IsNull()) {
            o.end = MomentOf(periodEnd);
        }
        regular(o);
    }
    for (const auto& [id, c] : moved_) {
        if (icalcomponent_get_status(c) != ICAL_STATUS_CANCELLED) {
            out.push_back(FromOverride(c));
        }
    }
    return out;
}

std::int64_t Series::LaterStart(const PreparedRule& rule, std::int64_t fromWall) const {
    const std::int64_t interval = rule.rule.interval;
    const std::int64_t fixed = PeriodSeconds(rule.rule.freq) * interval;
    if (fixed != 0) {
        const std::int64_t k = std::max<std::int64_t>(0, FloorDiv(fromWall - rule.base, fixed) - 1);
        return rule.base + k * fixed;
    }
    const std::int64_t months = (rule.rule.freq == ICAL_YEARLY_RECURRENCE ? 12 : 1) * interval;
    const CalendarDate b = DateOfDayNumber(DayOfWallSeconds(rule.base));
    const CalendarDate f = DateOfDayNumber(DayOfWallSeconds(fromWall));
    const std::int64_t apart =
        (static_cast<std::int64_t>(f.year) - b.year) * 12 + (f.month - b.month);
    // A day the month has (the 31st, 29 February), a period earlier each try.
    if (months <= 0) {
        return rule.base;
    }
    for (std::int64_t k = std::max<std::int64_t>(0, apart / months - 1); k > 0; --k) {
        if (const std::optional<std::int64_t> later = PlusMonths(rule.base, k * months)) {
            return *later;
        }
    }
    return rule.base;
}

void Series::ForEachSlot(const PreparedRule& rule, std::int64_t fromWall,
                         const std::function<bool(std::int64_t)>& visit) const {
    const auto beyond = [&](std::int64_t wall) { return rule.until && wall > *rule.until; };
    if (rule.simple) {
        std::int64_t k = fromWall > startWall_ ? FloorDiv(fromWall - startWall_, rule.step) : 0;
        for (int steps = 0; steps < kStepLimit; ++steps, ++k) {
            if (rule.count > 0 && k >= rule.count) {
                return;
            }
            const std::int64_t wall = startWall_ + k * rule.step;
            if (beyond(wall) || !visit(wall)) {
                return;
            }
        }
        return;
    }
    if (rule.ownSubDaily) {
        SubDailySlots(rule.rule, rule.base, fromWall, rule.count,
                      [&](std::int64_t wall) { return !beyond(wall) && visit(wall); });
        return;
    }
    // libical's own jump to a later start loses an every-N-weeks rule's
    // phase, so the rule starts instead at a later start of the same phase:
    // whole periods on from its first, one period before the one asked for.
    std::int64_t anchor = rule.base;
    if (rule.rule.count == 0 && fromWall > rule.base) {
        anchor = LaterStart(rule, fromWall);
    }
    icalrecurrencetype r = rule.rule;
    if (rule.until) {
        r.until = WallTimeOf(*rule.until, date_);
    }
    const IteratorPtr it(icalrecur_iterator_new(r, WallTimeOf(anchor, date_)));
    if (!it) {
        return;
    }
    int steps = 0;
    for (icaltimetype t = icalrecur_iterator_next(it.get());
         !icaltime_is_null_time(t) && steps < kStepLimit;
         t = icalrecur_iterator_next(it.get()), ++steps) {
        const std::int64_t wall = WallSecondsOf(t);
        if (wall < startWall_) {
            continue;
        }
        if (beyond(wall) || !visit(wall)) {
            return;
        }
    }
}

std::optional<Occurrence> Series::FirstNotEnded(std::int64_t nowUtc) const {
    if (!Valid()) {
        return std::nullopt;
    }
    std::optional<Occurrence> best;
    const auto earlier = [&](const Occurrence& o) {
        return !best || Utc(o.start) < Utc(best->start);
    };
    for (const Occurrence& o : Listed()) {
        if (NotEnded(o, nowUtc) && earlier(o)) {
            best = o;
        }
    }
    const std::int64_t from = WallOf(nowUtc) - lengthWall_ - kZoneSlack;
    for (const PreparedRule& rule : rules_) {
        ForEachSlot(rule, from, [&](std::int64_t wall) {
            if (wall == startWall_) {
                return true;
            }
            const Occurrence o = Regular(wall);
            if (!earlier(o)) {
                return false;
            }
            if (Excluded(o) || Overridden(o) || !NotEnded(o, nowUtc)) {
                return true;
            }
            best = o;
            return false;
        });
    }
    return best;
}

std::optional<Occurrence> Series::Last() const {
    if (!Valid() || !Finite()) {
        return std::nullopt;
    }
    std::optional<Occurrence> best;
    const auto later = [&](const Occurrence& o) {
        return !best || Utc(o.start) > Utc(best->start);
    };
    for (const Occurrence& o : Listed()) {
        if (later(o)) {
            best = o;
        }
    }
    for (const PreparedRule& rule : rules_) {
        std::int64_t end = rule.until.value_or(startWall_);
        if (rule.simple && rule.count > 0) {
            end = startWall_ + (rule.count - 1) * rule.step;
        }
        // Windows growing back from the end, until one holds an occurrence.
        for (std::int64_t span = 400 * kSecondsPerDay;; span *= 8) {
            const std::int64_t from = std::max(startWall_, end - span);
            std::optional<Occurrence> last;
            ForEachSlot(rule, from, [&](std::int64_t wall) {
                if (wall > end) {
                    return false;
                }
                const Occurrence o = Regular(wall);
                if (wall != startWall_ && !Excluded(o) && !Overridden(o)) {
                    last = o;
                }
                return true;
            });
            if (last) {
                if (later(*last)) {
                    best = last;
                }
                break;
            }
            if (from == startWall_) {
                break;
            }
        }
    }
    return best;
}

std::vector<Occurrence> Series::StartingBetween(std::int64_t fromUtc, std::int64_t toUtc,
                                                std::size_t limit) const {
    std::vector<Occurrence> out;
    if (!Valid() || toUtc <= fromUtc) {
        return out;
    }
    const auto inside = [&](const Occurrence& o) {
        const std::int64_t s = Utc(o.start);
        return s >= fromUtc && s < toUtc;
    };
    for (const Occurrence& o : Listed()) {
        if (inside(o)) {
            out.push_back(o);
        }
    }
    const std::int64_t last = WallOf(toUtc) + kZoneSlack;
    for (const PreparedRule& rule : rules_) {
        ForEachSlot(rule, WallOf(fromUtc) - kZoneSlack, [&](std::int64_t wall) {
            if (wall > last || out.size() >= limit) {
                return false;
            }
            if (wall == startWall_) {
                return true;
            }
            const Occurrence o = Regular(wall);
            if (inside(o) && !Excluded(o) && !Overridden(o)) {
                out.push_back(o);
            }
            return true;
        });
    }
    std::sort(out.begin(), out.end(), [](const Occurrence& x, const Occurrence& y) {
        return std::make_tuple(Utc(x.start), x.source != nullptr) <
               std::make_tuple(Utc(y.start), y.source != nullptr);
    });
    // An RDATE that repeats a rule's occurrence is one occurrence.
    out.erase(std::unique(out.begin(), out.end(),
                          [](const Occurrence& x, const Occurrence& y) {
                              return x.start == y.start && x.source == y.source;
                          }),
              out.end());
    if (out.size() > limit) {
        out.resize(limit);
    }
    return out;
}

std::vector<Occurrence> Series::SlotsOnLocalDay(int dayNumber) const {
    std::vector<Occurrence> out;
    if (!Valid()) {
        return out;
    }
    const auto onDay = [&](const Occurrence& o) {
        return FloorDiv(LocalMinutesOf(o.start), 1440) == dayNumber;
    };
    std::vector<std::int64_t> walls{startWall_};
    for (const auto& [at, periodEnd] : rdates_) {
        walls.push_back(at.wall.is_date || at.zone == start_.zone || at.zone == nullptr
                            ? WallSecondsOf(at.wall)
                            : WallOf(Utc(MomentOf(at))));
    }
    const std::int64_t from = UtcSecondsOfLocal(static_cast<std::int64_t>(dayNumber) * 1440);
    const std::int64_t to = UtcSecondsOfLocal(static_cast<std::int64_t>(dayNumber + 1) * 1440);
    const std::int64_t last = WallOf(to) + kZoneSlack;
    for (const PreparedRule& rule : rules_) {
        ForEachSlot(rule, WallOf(from) - kZoneSlack, [&](std::int64_t wall) {
            if (wall > last) {
                return false;
            }
            walls.push_back(wall);
            return true;
        });
    }
    std::sort(walls.begin(), walls.end());
    walls.erase(std::unique(walls.begin(), walls.end()), walls.end());
    for (const std::int64_t wall : walls) {
        const Occurrence o = Regular(wall);
        if (onDay(o)) {
            out.push_back(o);
        }
    }
    return out;
}

} // namespace vantrel::ical
