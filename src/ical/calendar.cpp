#include "ical/calendar.h"

#include "ical/zone_names.h"
#include "model/date_time.h"
#include "model/local_zone.h"

namespace vantrel::ical {
namespace {

std::vector<icalcomponent*> Children(icalcomponent* calendar) {
    std::vector<icalcomponent*> out;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        out.push_back(c);
    }
    return out;
}

// Whether libical and the text scan see the same components in the same
// order: only then do the scan's byte ranges stand for what libical read.
bool Agrees(const CalendarSpans& spans, const std::vector<icalcomponent*>& children) {
    if (!spans.found || !spans.paired || children.size() != spans.components.size()) {
        return false;
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const ComponentSpan& c = spans.components[i];
        const icalcomponent_kind kind = icalcomponent_isa(children[i]);
        const char* name = icalcomponent_kind_to_string(kind);
        const bool known = kind != ICAL_X_COMPONENT && kind != ICAL_NO_COMPONENT;
        if (known && (name == nullptr || c.name != name)) {
            return false;
        }
        const char* uid = kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT
                              ? icalcomponent_get_uid(children[i])
                              : nullptr;
        if (uid != nullptr && c.uid != uid) {
            return false;
        }
    }
    return true;
}

icaltimezone* Utc() {
    return icaltimezone_get_utc_timezone();
}

} // namespace

std::shared_ptr<const Calendar> Calendar::Parse(std::string_view text) {
    std::shared_ptr<Calendar> cal(new Calendar());
    const std::string copy(text); // libical wants a terminated string
    cal->root_ = icalparser_parse_string(copy.c_str());
    cal->spans_ = ScanCalendar(text);
    if (cal->root_ == nullptr) {
        return cal;
    }
    std::vector<icalcomponent*> calendars;
    const icalcomponent_kind kind = icalcomponent_isa(cal->root_);
    if (kind == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(cal->root_);
    } else if (kind == ICAL_XROOT_COMPONENT) {
        // Several calendars in one text.
        for (icalcomponent* c =
                 icalcomponent_get_first_component(cal->root_, ICAL_VCALENDAR_COMPONENT);
             c != nullptr;
             c = icalcomponent_get_next_component(cal->root_, ICAL_VCALENDAR_COMPONENT)) {
            calendars.push_back(c);
        }
    }
    cal->found_ = !calendars.empty();
    cal->several_ = calendars.size() > 1;
    for (icalcomponent* calendar : calendars) {
        const std::vector<icalcomponent*> children = Children(calendar);
        const bool inStep = calendars.size() == 1 && Agrees(cal->spans_, children);
        cal->exact_ = inStep;
        for (std::size_t i = 0; i < children.size(); ++i) {
            const icalcomponent_kind k = icalcomponent_isa(children[i]);
            if (k != ICAL_VEVENT_COMPONENT && k != ICAL_VTODO_COMPONENT) {
                continue;
            }
            Entry e;
            e.component = children[i];
            e.todo = k == ICAL_VTODO_COMPONENT;
            e.isOverride = icalcomponent_get_first_property(children[i],
                                                            ICAL_RECURRENCEID_PROPERTY) != nullptr;
            const char* uid = icalcomponent_get_uid(children[i]);
            e.uid = uid != nullptr ? uid : "";
            e.span = inStep ? i : kNoSpan;
            cal->entries_.push_back(std::move(e));
        }
    }
    return cal;
}

Calendar::~Calendar() {
    for (auto& [name, zone] : carried_) {
        if (zone != nullptr) {
            icaltimezone_free(zone, 1);
        }
    }
    if (root_ != nullptr) {
        icalcomponent_free(root_);
    }
}

std::vector<std::string> Calendar::Problems() const {
    std::vector<std::string> out;
    for (const std::string& tzid : unknown_) {
        out.push_back("time zone \"" + tzid + "\" is not known: its times are taken as local");
    }
    return out;
}

icaltimezone* Calendar::ZoneNamed(icalcomponent* calendar, const char* tzid) const {
    if (tzid == nullptr) {
        return nullptr;
    }
    if (calendar != nullptr) {
        if (icaltimezone* own = icalcomponent_get_timezone(calendar, tzid)) {
            return own;
        }
    }
    const std::string iana = IanaZoneName(tzid);
    if (iana == "UTC" || iana == "Etc/UTC") {
        return Utc();
    }
    if (!iana.empty()) {
        const auto found = carried_.find(iana);
        if (found != carried_.end()) {
            return found->second;
        }
        icaltimezone* zone = nullptr;
        const std::string definition(ZoneDefinition(iana));
        if (icalcomponent* vtimezone =
                definition.empty() ? nullptr : icalparser_parse_string(definition.c_str())) {
            zone = icaltimezone_new();
            if (icaltimezone_set_component(zone, vtimezone) == 0) {
                icaltimezone_free(zone, 1);
                icalcomponent_free(vtimezone);
                zone = nullptr;
            }
        }
        carried_.emplace(iana, zone);
        if (zone != nullptr) {
            return zone;
        }
    }
    unknown_.insert(tzid);
    return nullptr;
}

ZonedTime Calendar::Zoned(icalcomponent* component, icalproperty* property, icaltimetype t) const {
    ZonedTime out;
    if (icaltime_is_null_time(t)) {
        return out;
    }
    const bool utc = icaltime_is_utc(t) != 0;
    t.zone = nullptr;
    out.wall = t;
    if (t.is_date) {
        return out;
    }
    if (utc) {
        out.zone = Utc();
        return out;
    }
    icalparameter* tzid = property == nullptr
                              ? nullptr
                              : icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (tzid != nullptr) {
        out.zone = ZoneNamed(icalcomponent_get_parent(component), icalparameter_get_tzid(tzid));
    }
    return out;
}

ZonedTime Calendar::TimeOf(icalcomponent* component, icalproperty* property) const {
    if (property == nullptr) {
        return {};
    }
    icalvalue* value = icalproperty_get_value(property);
    if (value == nullptr) {
        return {};
    }
    icaltimetype t = icaltime_null_time();
    switch (icalvalue_isa(value)) {
    case ICAL_DATE_VALUE:
    case ICAL_DATETIME_VALUE:
        t = icalvalue_get_datetime(value);
        break;
    case ICAL_DATETIMEPERIOD_VALUE: {
        const icaldatetimeperiodtype dp = icalvalue_get_datetimeperiod(value);
        t = icaltime_is_null_time(dp.time) ? dp.period.start : dp.time;
        break;
    }
    case ICAL_PERIOD_VALUE:
        t = icalvalue_get_period(value).start;
        break;
    default:
        return {};
    }
    return Zoned(component, property, t);
}

ZonedTime Calendar::TimeOf(icalcomponent* component, icalproperty_kind kind) const {
    return TimeOf(component, icalcomponent_get_first_property(component, kind));
}

ZonedTime Calendar::PeriodEndOf(icalcomponent* component, icalproperty* rdate) const {
    icalvalue* value = rdate == nullptr ? nullptr : icalproperty_get_value(rdate);
    if (value == nullptr) {
        return {};
    }
    icalperiodtype period = icalperiodtype_null_period();
    if (icalvalue_isa(value) == ICAL_DATETIMEPERIOD_VALUE) {
        period = icalvalue_get_datetimeperiod(value).period;
    } else if (icalvalue_isa(value) == ICAL_PERIOD_VALUE) {
        period = icalvalue_get_period(value);
    }
    if (icaltime_is_null_time(period.start)) {
        return {};
    }
    icaltimetype end = period.end;
    if (icaltime_is_null_time(end)) {
        end = period.start;
        icaltime_adjust(&end, 0, 0, 0, icaldurationtype_as_int(period.duration));
    }
    if (icaltime_is_utc(period.start) != 0) {
        end.zone = Utc(); // the end of a UTC start is UTC too
    }
    return Zoned(component, rdate, end);
}

std::vector<EntryGroup> GroupEntries(const Calendar& calendar) {
    const auto key = [](const Entry& e) { return std::make_pair(e.todo, e.uid); };
    std::set<std::pair<bool, std::string>> masters;
    for (const Entry& e : calendar.Entries()) {
        if (!e.isOverride && !e.uid.empty()) {
            masters.insert(key(e));
        }
    }
    // In file order; an override joins the first master of its UID.
    std::vector<EntryGroup> groups;
    std::map<std::pair<bool, std::string>, std::size_t> seriesOf;
    for (const Entry& e : calendar.Entries()) {
        if (!e.isOverride || e.uid.empty() || masters.count(key(e)) == 0) {
            if (!e.isOverride && !e.uid.empty()) {
                seriesOf.emplace(key(e), groups.size());
            }
            groups.push_back({&e, {}});
        }
    }
    for (const Entry& e : calendar.Entries()) {
        if (e.isOverride && !e.uid.empty() && masters.count(key(e)) != 0) {
            groups[seriesOf.at(key(e))].overrides.push_back(&e);
        }
    }
    return groups;
}

Moment MomentOf(const ZonedTime& t) {
    if (t.IsNull()) {
        return {};
    }
    if (t.wall.is_date) {
        return DateMoment(DayNumberOf(t.wall.year, t.wall.month, t.wall.day));
    }
    if (t.zone != nullptr) {
        return InstantMoment(InstantOfWall(t.wall, t.zone));
    }
    return FloatingMoment(WallSecondsOf(t.wall));
}

std::int64_t InstantOfWall(const icaltimetype& wall, icaltimezone* zone) {
    static const std::int64_t epoch = WallSeconds(DayNumberOf(1970, 1, 1), 0, 0, 0);
    const std::int64_t w = WallSecondsOf(wall) - epoch; // the wall time read as UTC
    if (zone == Utc()) {
        return w;
    }
    const auto offset = [&](std::int64_t utc) {
        icaltimetype at = icaltime_from_timet_with_zone(static_cast<time_t>(utc), 0, Utc());
        return static_cast<std::int64_t>(
            icaltimezone_get_utc_offset_of_utc_time(zone, &at, nullptr));
    };
    // RFC 5545: a wall time the clocks pass twice is the first one; one
    // they skip takes the offset from before the change.
    const std::int64_t before = w - offset(w - kSecondsPerDay);
    const std::int64_t after = w - offset(w + kSecondsPerDay);
    const bool beforeHolds = offset(before) == w - before;
    const bool afterHolds = offset(after) == w - after;
    if (beforeHolds && afterHolds) {
        return std::min(before, after);
    }
    return afterHolds && !beforeHolds ? after : before;
}

std::int64_t WallSecondsOf(const icaltimetype& t) {
    const int day = DayNumberOf(t.year, t.month, t.day);
    return t.is_date ? WallSeconds(day, 0, 0, 0) : WallSeconds(day, t.hour, t.minute, t.second);
}

icaltimetype WallTimeOf(std::int64_t wallSeconds, bool date) {
    icaltimetype t = icaltime_null_time();
    const int day = DayOfWallSeconds(wallSeconds);
    const std::int64_t inDay = wallSeconds - static_cast<std::int64_t>(day) * kSecondsPerDay;
    const CalendarDate d = DateOfDayNumber(day);
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.is_date = date ? 1 : 0;
    if (!date) {
        t.hour = static_cast<int>(inDay / 3600);
        t.minute = static_cast<int>(inDay / 60 % 60);
        t.second = static_cast<int>(inDay % 60);
    }
    return t;
}

icaltimetype WallOfInstant(std::int64_t utcSeconds, icaltimezone* zone) {
    if (zone == nullptr) {
        const std::int64_t minutes = LocalMinutesOfUtc(utcSeconds);
        return WallTimeOf(minutes * 60, false);
    }
    icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(utcSeconds), 0, zone);
    t.zone = nullptr;
    return t;
}

} // namespace vantrel::ical
