#include "platform/poom_store/ics_recurrence.h"

#include "platform/poom_store/ics_store.h"

#include <algorithm>
#include <memory>

namespace vantrel::store {
namespace {

// An expansion this long stands for "never": hourly for eleven years.
constexpr int kExpansionLimit = 100000;

struct IteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};
using IteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

Minutes WallMinutes(icaltimetype t) {
    return MomentOf(DayNumberOf(t.year, t.month, t.day), t.is_date ? 0 : t.hour,
                    t.is_date ? 0 : t.minute);
}

// The BY lists of a rule, up to their end marker.
template <std::size_t N> std::vector<short> Listed(const short (&values)[N]) {
    std::vector<short> out;
    for (const short v : values) {
        if (v == ICAL_RECURRENCE_ARRAY_MAX) {
            break;
        }
        out.push_back(v);
    }
    return out;
}

int DayBit(short byDay) {
    const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(byDay));
    return weekday >= 1 && weekday <= 7 ? 1 << (weekday - 1) : 0;
}

// The Outlook instance of an RFC position: 1-4 as they are, the last as 5.
std::optional<int> InstanceOf(int position) {
    if (position >= 1 && position <= 4) {
        return position;
    }
    return position == -1 ? std::optional<int>(5) : std::nullopt;
}

bool IsMaskThePickerCounts(int mask) {
    // One weekday, or the sets whose days the month-nth picker counts.
    return mask == kMaskWeekdays || mask == kMaskWeekend || mask == kMaskEveryDay ||
           (mask != 0 && (mask & (mask - 1)) == 0);
}

struct Rule {
    const struct icalrecurrencetype& r;
    std::vector<short> byDay, byMonthDay, byMonth, bySetPos;
    int mask = 0;
    bool positioned = false;
};

// The nth-day form: BYDAY=nXX alone, or days with BYSETPOS=n.
std::optional<std::pair<int, int>> NthDay(const Rule& rule) {
    if (rule.byDay.size() == 1 && rule.bySetPos.empty()) {
        const std::optional<int> n = InstanceOf(icalrecurrencetype_day_position(rule.byDay[0]));
        return n ? std::optional<std::pair<int, int>>({*n, rule.mask}) : std::nullopt;
    }
    if (rule.bySetPos.size() == 1 && !rule.positioned && IsMaskThePickerCounts(rule.mask)) {
        const std::optional<int> n = InstanceOf(rule.bySetPos[0]);
        return n ? std::optional<std::pair<int, int>>({*n, rule.mask}) : std::nullopt;
    }
    return std::nullopt;
}

std::string Map(const Rule& rule, const CalendarDate& start, RecurrenceValues& v) {
    const struct icalrecurrencetype& r = rule.r;
    const int interval = std::max<int>(1, r.interval);
    v.interval = interval;
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        if (!rule.byMonthDay.empty() || !rule.byMonth.empty() || !rule.bySetPos.empty() ||
            rule.positioned) {
            return "BY parts a daily series cannot have";
        }
        if (rule.byDay.empty()) {
            v.type = kRecursDaily;
            return {};
        }
        if (interval != 1) {
            return "days of the week with an interval";
        }
        if (rule.mask == kMaskWeekdays) {
            v.type = kRecursDaily;
            v.interval = std::nullopt; // the every-weekday form
            v.dayOfWeekMask = kMaskWeekdays;
            return {};
        }
        v.type = kRecursWeekly;
        v.dayOfWeekMask = rule.mask;
        return {};
    case ICAL_WEEKLY_RECURRENCE:
        if (!rule.byMonthDay.empty() || !rule.byMonth.empty() || !rule.bySetPos.empty() ||
            rule.positioned) {
            return "BY parts a weekly series cannot have";
        }
        v.type = kRecursWeekly;
        v.dayOfWeekMask = rule.byDay.empty()
                              ? 1 << WeekdayOf(DayNumberOf(start.year, start.month, start.day))
                              : rule.mask;
        // The pattern's weeks begin on Sunday; with another week start a
        // Sunday falls in a different week of an every-N-weeks series.
        if (interval > 1 && (v.dayOfWeekMask & 1) != 0 && v.dayOfWeekMask != 1 &&
            r.week_start != ICAL_SUNDAY_WEEKDAY) {
            return "every " + std::to_string(interval) + " weeks on Sunday and other days with " +
                   "weeks that do not begin on Sunday";
        }
        return {};
    case ICAL_MONTHLY_RECURRENCE:
        if (!rule.byMonth.empty()) {
            return "BYMONTH in a monthly series";
        }
        if (rule.byDay.empty() && rule.bySetPos.empty()) {
            const int day = rule.byMonthDay.empty() ? start.day : rule.byMonthDay[0];
            if (rule.byMonthDay.size() > 1) {
                return "several BYMONTHDAY values";
            }
            if (day == -1) {
                v.type = kRecursMonthNth; // the last day of every month
                v.instance = 5;
                v.dayOfWeekMask = kMaskEveryDay;
                return {};
            }
            if (day < 1 || day > 28) {
                // The pattern moves day 29-31 to a short month's last day;
                // the rule skips that month.
                return "a day of the month that some months do not have";
            }
            v.type = kRecursMonthly;
            v.dayOfMonth = day;
            return {};
        }
        if (!rule.byMonthDay.empty()) {
            return "BYMONTHDAY with BYDAY";
        }
        if (const auto nth = NthDay(rule)) {
            v.type = kRecursMonthNth;
            v.instance = nth->first;
            v.dayOfWeekMask = nth->second;
            return {};
        }
        if (!rule.positioned && rule.bySetPos.empty() && interval == 1) {
            v.type = kRecursWeekly; // every such weekday of every month
            v.dayOfWeekMask = rule.mask;
            return {};
        }
        return "days of the week the pattern cannot pick";
    case ICAL_YEARLY_RECURRENCE: {
        if (interval != 1) {
            return "a yearly series with an interval";
        }
        if (rule.byMonth.size() > 1 || (rule.byMonth.empty() && !rule.byMonthDay.empty()) ||
            (rule.byMonth.empty() && !rule.byDay.empty())) {
            return "several months, or days without their month";
        }
        const int month = rule.byMonth.empty() ? start.month : rule.byMonth[0];
        if (month < 1 || month > 12) {
            return "a month that cannot be read";
        }
        v.monthOfYear = month;
        v.interval = 1;
        if (rule.byDay.empty() && rule.bySetPos.empty()) {
            if (rule.byMonthDay.size() > 1) {
                return "several BYMONTHDAY values";
            }
            const int day = rule.byMonthDay.empty() ? start.day : rule.byMonthDay[0];
            constexpr int kShortest[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const int shortest = kShortest[month - 1];
            if (day < 1 || day > shortest) {
                return "a day of the month that some years do not have";
            }
            v.type = kRecursYearly;
            v.dayOfMonth = day;
            return {};
        }
        if (!rule.byMonthDay.empty()) {
            return "BYMONTHDAY with BYDAY";
        }
        if (const auto nth = NthDay(rule)) {
            v.type = kRecursYearNth;
            v.instance = nth->first;
            v.dayOfWeekMask = nth->second;
            return {};
        }
        return "days of the week the pattern cannot pick";
    }
    default:
        return "a frequency other than daily, weekly, monthly or yearly";
    }
}

// Whether the zone keeps one offset to local time: otherwise a series'
// local time moves with daylight saving time, and one start time does not
// hold for all its occurrences.
bool KeepsLocalOffset(icaltimetype start) {
    if (start.is_date || start.zone == nullptr) {
        return true;
    }
    const auto offset = [](icaltimetype t) { return LocalMinutes(t) - WallMinutes(t); };
    const Minutes first = offset(start);
    for (int step = 1; step <= 48; ++step) {
        icaltimetype t = start;
        icaltime_adjust(&t, 15 * step, 0, 0, 0);
        if (offset(t) != first) {
            return false;
        }
    }
    return true;
}

} // namespace

Minutes LocalMinutes(icaltimetype t) {
    if (t.is_date || t.zone == nullptr) {
        return WallMinutes(t);
    }
    return LocalOfUtc(static_cast<std::int64_t>(icaltime_as_timet_with_zone(t, t.zone)));
}

icaltimetype InFileZone(icalcomponent* component, icalproperty* property, icaltimetype t) {
    if (property == nullptr || t.is_date || icaltime_is_utc(t)) {
        return t;
    }
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    icalcomponent* root = icalcomponent_get_parent(component);
    t.zone = tzid == nullptr || root == nullptr
                 ? nullptr
                 : icalcomponent_get_timezone(root, icalparameter_get_tzid(tzid));
    return t;
}

icaltimetype TimeOf(icalcomponent* component, icalproperty_kind kind) {
    icaltimetype t = icaltime_null_time();
    switch (kind) {
    case ICAL_DTSTART_PROPERTY:
        t = icalcomponent_get_dtstart(component);
        break;
    case ICAL_DTEND_PROPERTY:
        t = icalcomponent_get_dtend(component);
        if (icalcomponent_get_first_property(component, ICAL_DTEND_PROPERTY) == nullptr) {
            kind = ICAL_DTSTART_PROPERTY; // from DURATION, in the start's zone
        }
        break;
    case ICAL_DUE_PROPERTY:
        t = icalcomponent_get_due(component);
        break;
    case ICAL_RECURRENCEID_PROPERTY:
        t = icalcomponent_get_recurrenceid(component);
        break;
    default:
        return t;
    }
    return InFileZone(component, icalcomponent_get_first_property(component, kind), t);
}

RuleMapping MapRule(const struct icalrecurrencetype& r, icaltimetype start) {
    RuleMapping out;
    if (!Listed(r.by_second).empty() || !Listed(r.by_minute).empty() ||
        !Listed(r.by_hour).empty() || !Listed(r.by_year_day).empty() ||
        !Listed(r.by_week_no).empty() || r.rscale != nullptr) {
        out.problem = "BYSECOND, BYMINUTE, BYHOUR, BYYEARDAY, BYWEEKNO or RSCALE";
        return out;
    }
    Rule rule{r, Listed(r.by_day), Listed(r.by_month_day), Listed(r.by_month),
              Listed(r.by_set_pos)};
    for (const short d : rule.byDay) {
        rule.mask |= DayBit(d);
        rule.positioned = rule.positioned || icalrecurrencetype_day_position(d) != 0;
    }
    const Minutes local = LocalMinutes(start);
    const int startDay = DayOf(local);
    RecurrenceValues v;
    v.patternStart = DateOfDayNumber(startDay);
    if (std::string why = Map(rule, v.patternStart, v); !why.empty()) {
        out.problem = why;
        return out;
    }
    if (!KeepsLocalOffset(start)) {
        out.problem = "its local time changes with daylight saving time";
        return out;
    }
    if (!icaltime_is_null_time(r.until)) {
        icaltimetype until = r.until;
        if (!until.is_date && until.zone == nullptr && start.zone != nullptr) {
            until.zone = start.zone; // a floating UNTIL is in the start's zone
        }
        // UNTIL is an instant (a DATE its day's start, as libical reads it):
        // on its day, an occurrence later than it is not one.
        const Minutes end = LocalMinutes(until);
        int endDay = DayOf(end);
        if (!start.is_date && local - static_cast<Minutes>(startDay) * 1440 >
                                  end - static_cast<Minutes>(endDay) * 1440) {
            --endDay;
        }
        v.noEndDate = false;
        v.patternEnd = DateOfDayNumber(endDay);
    } else if (r.count > 0) {
        if (r.count > kExpansionLimit) {
            out.problem = "a COUNT too large to expand";
            return out;
        }
        const IteratorPtr it(icalrecur_iterator_new(r, start));
        icaltimetype last = icaltime_null_time();
        for (icaltimetype t = it ? icalrecur_iterator_next(it.get()) : icaltime_null_time();
             !icaltime_is_null_time(t); t = icalrecur_iterator_next(it.get())) {
            last = t;
        }
        if (icaltime_is_null_time(last)) {
            out.problem = "a COUNT that gives no occurrence";
            return out;
        }
        v.noEndDate = false;
        v.patternEnd = DateOfDayNumber(DayOf(LocalMinutes(last)));
    }
    if (!OccursOn(v, startDay)) {
        out.problem = "DTSTART is not one of the rule's own days";
        return out;
    }
    out.values = v;
    return out;
}

std::optional<Minutes> NextIcsOccurrence(icalcomponent* component, icaltimetype start,
                                         Minutes length, Minutes now) {
    icalproperty* rrule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY);
    if (rrule == nullptr) {
        return std::nullopt;
    }
    const std::vector<int> excluded = ExcludedDays(component);
    const IteratorPtr it(icalrecur_iterator_new(icalproperty_get_rrule(rrule), start));
    if (!it) {
        return std::nullopt;
    }
    std::optional<Minutes> last;
    int steps = 0;
    for (icaltimetype t = icalrecur_iterator_next(it.get());
         !icaltime_is_null_time(t) && steps < kExpansionLimit;
         t = icalrecur_iterator_next(it.get()), ++steps) {
        const Minutes local = LocalMinutes(t);
        if (std::find(excluded.begin(), excluded.end(), DayOf(local)) != excluded.end()) {
            continue;
        }
        last = local;
        if (local + length >= now) {
            break;
        }
    }
    return last;
}

std::vector<int> ExcludedDays(icalcomponent* component) {
    std::vector<int> days;
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_EXDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype t =
            InFileZone(component, p, icalproperty_get_datetime_with_component(p, component));
        if (!icaltime_is_null_time(t)) {
            days.push_back(DayOf(LocalMinutes(t)));
        }
    }
    return days;
}

std::optional<std::string> OccurrenceValueOn(icalcomponent* component, int day) {
    icalproperty* rrule = icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY);
    const icaltimetype start = TimeOf(component, ICAL_DTSTART_PROPERTY);
    if (rrule == nullptr || icaltime_is_null_time(start)) {
        return std::nullopt;
    }
    const IteratorPtr it(icalrecur_iterator_new(icalproperty_get_rrule(rrule), start));
    if (!it) {
        return std::nullopt;
    }
    int steps = 0;
    for (icaltimetype t = icalrecur_iterator_next(it.get());
         !icaltime_is_null_time(t) && steps < kExpansionLimit;
         t = icalrecur_iterator_next(it.get()), ++steps) {
        const int at = DayOf(LocalMinutes(t));
        if (at == day) {
            return std::string(icaltime_as_ical_string(t));
        }
        if (at > day) {
            break;
        }
    }
    return std::nullopt;
}

} // namespace vantrel::store
