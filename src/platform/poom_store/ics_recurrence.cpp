#include "platform/poom_store/ics_recurrence.h"

#include "ical/calendar.h"
#include "model/local_zone.h"

#include <algorithm>

namespace vantrel::store {
namespace {

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
    int weekStart = 0; // in the host's weekdays, 0 = Sunday
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
        // The pattern's weeks begin on Sunday. With another week start, the
        // days of an every-N-weeks series fall in other weeks unless all of
        // them lie on one side of that start.
        if (interval > 1) {
            const int before = v.dayOfWeekMask & ((1 << rule.weekStart) - 1);
            if (before != 0 && before != v.dayOfWeekMask) {
                return "every " + std::to_string(interval) + " weeks with weeks that begin " +
                       "on another day than Sunday";
            }
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

// The weekday mask moved by `days` (a series whose local day is not its
// zone's day).
int Rotated(int mask, int days) {
    int out = 0;
    for (int w = 0; w < 7; ++w) {
        if ((mask & (1 << w)) != 0) {
            out |= 1 << (((w + days) % 7 + 7) % 7);
        }
    }
    return out;
}

Minutes WallMinutesOf(const icaltimetype& t) {
    return ical::WallSecondsOf(t) / 60;
}

// Host local time minus the zone's wall time, when it is one value from
// the year `from` begins in (1970 at the earliest) to 2037: only then does
// one pattern hold all of a series' local days and times.
std::optional<Minutes> ConstantShift(icaltimezone* zone, std::int64_t from) {
    if (zone == nullptr) {
        return 0;
    }
    static const Minutes epoch = static_cast<Minutes>(DayNumberOf(1970, 1, 1)) * 1440;
    const auto utcMinutes = [](std::int64_t t) {
        return epoch + (t >= 0 ? t / 60 : (t - 59) / 60);
    };
    const auto here = [&](std::int64_t t) { return LocalMinutesOfUtc(t) - utcMinutes(t); };
    const auto there = [&](std::int64_t t) {
        return WallMinutesOf(ical::WallOfInstant(t, zone)) - utcMinutes(t);
    };
    // The first instant in (lo, hi] at which `offset` is no longer what it
    // was at lo, to the minute.
    const auto change = [](const auto& offset, std::int64_t lo, std::int64_t hi) {
        const Minutes was = offset(lo);
        while (hi - lo > 60) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            (offset(mid) == was ? lo : hi) = mid;
        }
        return hi;
    };
    // Weekly, and where either offset changed in a week, to the minute of
    // each change: the two must change together.
    constexpr std::int64_t kStep = 7LL * 86400;
    constexpr std::int64_t kEnd = 2145916800; // 2038-01-01
    std::int64_t t = std::max<std::int64_t>(0, from);
    Minutes h = here(t), z = there(t);
    for (; t < kEnd; t += kStep) {
        const Minutes nextH = here(t + kStep), nextZ = there(t + kStep);
        if (nextH - nextZ != h - z) {
            return std::nullopt;
        }
        if ((nextH != h || nextZ != z) &&
            change(here, t, t + kStep) != change(there, t, t + kStep)) {
            return std::nullopt;
        }
        h = nextH;
        z = nextZ;
    }
    return h - z;
}

constexpr std::int64_t kYear = 365LL * 86400;

} // namespace

RuleMapping MapSeries(const ical::Series& series, ZoneShifts& shifts) {
    RuleMapping out;
    if (series.Rules().size() != 1) {
        out.problem = series.Rules().empty() ? "no RRULE" : "more than one RRULE";
        return out;
    }
    if (series.HasRdates()) {
        out.problem = "RDATE occurrences";
        return out;
    }
    const ical::PreparedRule& prepared = series.Rules().front();
    const struct icalrecurrencetype& r = prepared.rule;
    if (!Listed(r.by_second).empty() || !Listed(r.by_minute).empty() ||
        !Listed(r.by_hour).empty() || !Listed(r.by_year_day).empty() ||
        !Listed(r.by_week_no).empty() || r.rscale != nullptr) {
        out.problem = "BYSECOND, BYMINUTE, BYHOUR, BYYEARDAY, BYWEEKNO or RSCALE";
        return out;
    }
    const ical::ZonedTime& start = series.StartTime();
    const bool date = start.wall.is_date != 0;
    std::optional<Minutes> shift = 0;
    if (!date && start.zone != nullptr) {
        // From the start of the series' year, so that series of one year
        // share the answer.
        const std::int64_t year = (ical::UtcSecondsOf(ical::MomentOf(start)) / kYear) * kYear;
        const auto key = std::make_pair(static_cast<const icaltimezone*>(start.zone), year);
        const auto known = shifts.known.find(key);
        shift = known != shifts.known.end() ? known->second : ConstantShift(start.zone, year);
        shifts.known.emplace(key, shift);
    }
    if (!shift) {
        out.problem = "its local time changes with daylight saving time";
        return out;
    }
    const Minutes wall = WallMinutesOf(start.wall);
    const Minutes local = wall + *shift;
    const int startDay = DayOf(local);
    const int dayShift = startDay - DayOf(wall);
    if (dayShift != 0 && r.freq != ICAL_DAILY_RECURRENCE && r.freq != ICAL_WEEKLY_RECURRENCE) {
        out.problem = "its days here are not its days in its own zone";
        return out;
    }
    Rule rule{r, Listed(r.by_day), Listed(r.by_month_day), Listed(r.by_month),
              Listed(r.by_set_pos)};
    for (const short d : rule.byDay) {
        rule.mask |= DayBit(d);
        rule.positioned = rule.positioned || icalrecurrencetype_day_position(d) != 0;
    }
    rule.mask = Rotated(rule.mask, dayShift);
    const int weekStart = static_cast<int>(r.week_start) - 1; // libical: 1 = Sunday
    rule.weekStart = ((weekStart >= 0 && weekStart < 7 ? weekStart : 1) + dayShift % 7 + 7) % 7;
    RecurrenceValues v;
    v.patternStart = DateOfDayNumber(startDay);
    if (std::string why = Map(rule, v.patternStart, v); !why.empty()) {
        out.problem = why;
        return out;
    }
    std::optional<Minutes> last; // the local wall time nothing later may have
    if (prepared.until) {
        last = *prepared.until / 60 + *shift;
    } else if (prepared.count > 0) {
        last =
            (ical::WallSecondsOf(start.wall) + (prepared.count - 1) * prepared.step) / 60 + *shift;
    }
    if (last) {
        int endDay = DayOf(*last);
        // On its last day, an occurrence later than the end is not one.
        if (!date && local - static_cast<Minutes>(startDay) * 1440 >
                         *last - static_cast<Minutes>(endDay) * 1440) {
            --endDay;
        }
        v.noEndDate = false;
        v.patternEnd = DateOfDayNumber(endDay);
    }
    if (!OccursOn(v, startDay)) {
        out.problem = "DTSTART is not one of the rule's own days";
        return out;
    }
    out.values = v;
    return out;
}

} // namespace vantrel::store
