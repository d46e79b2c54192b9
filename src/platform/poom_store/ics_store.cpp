#include "platform/poom_store/ics_store.h"

#include "ical/calendar.h"
#include "ical/series.h"
#include "ical/text_values.h"
#include "model/date_time.h"
#include "model/local_zone.h"
#include "platform/poom_store/ics_recurrence.h"
#include "text/utf8.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <unordered_set>

namespace vantrel::store {
namespace {

using ical::CalendarSpans;
using ical::ComponentSpan;

const int kUnixEpochDay = DayNumberOf(1970, 1, 1);

std::uint32_t Fnv(std::string_view s) {
    std::uint32_t h = 2166136261U;
    for (const char c : s) {
        h = (h ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return h;
}

// What an Oid is made from: the component's kind, UID and whether it is
// an override, or its text when it has no UID.
struct OidKey {
    std::string name, uid;
    bool hasRecurrenceId = false;
    std::string text;
};

std::vector<OidKey> KeysOf(std::string_view text, const CalendarSpans& cal) {
    std::vector<OidKey> keys;
    for (const ComponentSpan& c : cal.components) {
        keys.push_back(
            {c.name, c.uid, c.hasRecurrenceId, std::string(text.substr(c.begin, c.end - c.begin))});
    }
    return keys;
}

std::vector<OidKey> KeysOf(const ical::Calendar& cal) {
    std::vector<OidKey> keys;
    for (const ical::Entry& e : cal.Entries()) {
        std::string text;
        if (e.uid.empty()) {
            char* t = icalcomponent_as_ical_string_r(e.component);
            text = t != nullptr ? t : "";
            std::free(t);
        }
        keys.push_back({e.todo ? "VTODO" : "VEVENT", e.uid, e.isOverride, std::move(text)});
    }
    return keys;
}

bool IsRecord(const OidKey& k) {
    return k.name == "VEVENT" || k.name == "VTODO";
}

// Oids follow from the UIDs (or, without one, from the component's text),
// so they stay the same from one read of the file to the next. An override
// of one occurrence shares its series' Oid (0 here).
std::vector<int> AssignOids(const std::vector<OidKey>& keys) {
    std::vector<int> oids(keys.size(), 0);
    std::set<std::string> masters;
    for (const OidKey& k : keys) {
        if (IsRecord(k) && !k.hasRecurrenceId && !k.uid.empty()) {
            masters.insert(k.name + "\n" + k.uid);
        }
    }
    std::unordered_set<int> used;
    std::map<std::string, int> given; // how many of each key so far
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const OidKey& k = keys[i];
        if (!IsRecord(k)) {
            continue;
        }
        const std::string key = k.name + "\n" + k.uid;
        if (k.hasRecurrenceId && masters.count(key) != 0) {
            continue;
        }
        // The n-th component of a UID keeps its Oid when its own text
        // changes; only a component without UID goes by its text.
        const std::string own = key + (k.hasRecurrenceId ? "\nR" : "");
        const int n = given[own]++;
        const std::string basis =
            k.uid.empty() ? k.text : own + (n == 0 ? "" : "\n#" + std::to_string(n));
        int oid = 1000 + static_cast<int>(Fnv(basis) % 0x3FFF0000U);
        while (!used.insert(oid).second) {
            oid = oid >= 0x3FFFFFFF ? 1000 : oid + 1;
        }
        oids[i] = oid;
    }
    return oids;
}

std::string UtcStamp(std::int64_t utcSeconds) {
    const std::int64_t days = utcSeconds >= 0 ? utcSeconds / 86400 : (utcSeconds - 86399) / 86400;
    const std::int64_t rest = utcSeconds - days * 86400;
    const CalendarDate d = DateOfDayNumber(static_cast<int>(days) + kUnixEpochDay);
    char out[32];
    std::snprintf(out, sizeof out, "%04d%02d%02dT%02d%02d%02dZ", d.year, d.month, d.day,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return out;
}

std::string LocalStamp(Minutes m, bool withTime) {
    const CalendarDate d = DateOfDayNumber(DayOf(m));
    const Minutes inDay = m - static_cast<Minutes>(DayOf(m)) * 1440;
    char out[32];
    if (withTime) {
        std::snprintf(out, sizeof out, "%04d%02d%02dT%02d%02d00", d.year, d.month, d.day,
                      static_cast<int>(inDay / 60), static_cast<int>(inDay % 60));
    } else {
        std::snprintf(out, sizeof out, "%04d%02d%02d", d.year, d.month, d.day);
    }
    return out;
}

// CATEGORIES as the Outlook store writes them: "a, b".
std::u16string CategoriesOf(icalcomponent* c) {
    std::u16string joined;
    for (const std::u16string& word : ical::CategoriesOf(c)) {
        joined += (joined.empty() ? u"" : u", ") + word;
    }
    return joined;
}

int SensitivityOf(icalcomponent* c) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_CLASS_PROPERTY);
    if (p == nullptr) {
        return 0;
    }
    switch (icalproperty_get_class(p)) {
    case ICAL_CLASS_PRIVATE:
        return 2;
    case ICAL_CLASS_CONFIDENTIAL:
        return 3;
    default:
        return 0;
    }
}

int BusyOf(icalcomponent* c) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(p);
        const char* value = icalproperty_get_x(p);
        if (name == nullptr || value == nullptr ||
            std::string_view(name) != "X-MICROSOFT-CDO-BUSYSTATUS") {
            continue;
        }
        const std::string_view v = value;
        if (v == "FREE") {
            return 0;
        }
        if (v == "TENTATIVE") {
            return 1;
        }
        if (v == "OOF") {
            return 3;
        }
        if (v == "BUSY") {
            return 2;
        }
    }
    icalproperty* transp = icalcomponent_get_first_property(c, ICAL_TRANSP_PROPERTY);
    if (transp != nullptr &&
        (icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT ||
         icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENTNOCONFLICT)) {
        return 0;
    }
    return 2;
}

int ImportanceOf(icalcomponent* c) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY);
    const int priority = p == nullptr ? 0 : icalproperty_get_priority(p);
    if (priority >= 1 && priority <= 4) {
        return 2;
    }
    return priority >= 6 && priority <= 9 ? 0 : 1;
}

Minutes Local(const ical::Moment& m) {
    return ical::LocalMinutesOf(m);
}

// A series the pattern cannot express, on the engine: its occurrence is
// computed at the moment asked. The last answer holds until that
// occurrence ends, so a refresh of an unchanged file costs next to nothing.
class EngineSeries : public LiveSeries {
  public:
    EngineSeries(std::shared_ptr<const ical::Series> series, std::u16string subject)
        : series_(std::move(series)), subject_(std::move(subject)) {}

    std::optional<Occurrence> Current(Minutes now) const override {
        const std::int64_t utc = UtcSecondsOfLocal(now);
        if (cached_ && utc >= cachedFrom_ && utc < cachedUntil_) {
            return *cached_;
        }
        // As the item's own query: an occurrence that ends this very minute
        // is still in progress.
        const std::optional<ical::Occurrence> o = series_->FirstNotEnded(utc - 1);
        cachedFrom_ = utc;
        cachedUntil_ = std::numeric_limits<std::int64_t>::max();
        if (o) {
            cachedUntil_ = std::max(ical::UtcSecondsOf(o->end), ical::UtcSecondsOf(o->start) + 1);
        }
        cached_ = o ? std::optional<Occurrence>(Convert(*o)) : std::nullopt;
        return *cached_;
    }

    // The item asks for the same window at every refresh of a day: the
    // last window's answer is kept.
    std::vector<Occurrence> StartingBetween(Minutes from, Minutes to) const override {
        if (window_ && window_->from == from && window_->to == to) {
            return window_->occurrences;
        }
        std::vector<Occurrence> out;
        for (const ical::Occurrence& o :
             series_->StartingBetween(UtcSecondsOfLocal(from), UtcSecondsOfLocal(to))) {
            out.push_back(Convert(o));
        }
        window_ = Window{from, to, out};
        return out;
    }

    Minutes Longest() const override { return (series_->LongestSeconds() + 59) / 60; }

  private:
    Occurrence Convert(const ical::Occurrence& o) const {
        Occurrence out;
        out.start = Local(o.start);
        out.end = std::max(out.start, Local(o.end));
        out.subject = subject_;
        if (o.source != series_->Master()) {
            const std::u16string own = ical::TextOf(o.source, ICAL_SUMMARY_PROPERTY);
            out.subject = own.empty() ? subject_ : own;
        }
        out.originalDay = DayOf(Local(o.slot));
        out.slotUtc = ical::UtcSecondsOf(o.slot);
        return out;
    }

    std::shared_ptr<const ical::Series> series_;
    std::u16string subject_;
    struct Window {
        Minutes from = 0, to = 0;
        std::vector<Occurrence> occurrences;
    };
    mutable std::optional<Window> window_;
    mutable std::optional<std::optional<Occurrence>> cached_;
    mutable std::int64_t cachedFrom_ = 0, cachedUntil_ = 0;
};

struct Reader {
    std::shared_ptr<const ical::Calendar> calendar;
    const IcsClock& clock;
    ParsedStore& result;
    ZoneShifts shifts;

    void Problem(const ical::Entry& e, const std::string& why) {
        std::string who = "UID " + e.uid;
        if (e.uid.empty()) {
            who = e.span != ical::kNoSpan
                      ? "line " + std::to_string(calendar->Spans().components[e.span].line)
                      : "a component without UID";
        }
        result.problems.push_back(who + ": " + why);
    }

    // What libical could not read of a component (an RRULE, a date).
    void ReportErrors(const ical::Entry& e) {
        for (const std::string& message : ical::ReadErrorsOf(e.component)) {
            Problem(e, "not understood: " + message);
        }
    }

    RecordSpan SpanOf(const ical::Entry& e) const {
        if (e.span == ical::kNoSpan) {
            return {};
        }
        const ComponentSpan& c = calendar->Spans().components[e.span];
        return {c.begin, c.end, c.line, false};
    }

    std::shared_ptr<const ical::Series> SeriesOf(const ical::EntryGroup& group) {
        std::vector<icalcomponent*> overrides;
        for (const ical::Entry* o : group.overrides) {
            overrides.push_back(o->component);
        }
        std::vector<std::string> problems;
        auto series = std::make_shared<const ical::Series>(calendar, group.master->component,
                                                           std::move(overrides), problems);
        for (const std::string& p : problems) {
            Problem(*group.master, p);
        }
        return series;
    }

    void ReadEvent(const ical::EntryGroup& group, int oid) {
        const ical::Entry& e = *group.master;
        ReportErrors(e);
        icalcomponent* ic = e.component;
        const std::shared_ptr<const ical::Series> series = SeriesOf(group);
        if (!series->Valid()) {
            Problem(e, "a VEVENT without DTSTART is left as it is");
            return;
        }
        Appointment a;
        a.oid = oid;
        a.span = SpanOf(e);
        a.subject = ical::TextOf(ic, ICAL_SUMMARY_PROPERTY);
        a.location = ical::TextOf(ic, ICAL_LOCATION_PROPERTY);
        a.categories = CategoriesOf(ic);
        a.allDay = series->StartTime().wall.is_date != 0;
        a.start = Local(ical::MomentOf(series->StartTime()));
        a.end = std::max(a.start, Local(ical::MomentOf(series->EndTime())));
        a.busyStatus = BusyOf(ic);
        a.sensitivity = SensitivityOf(ic);
        if (!series->Recurs()) {
            if (!group.overrides.empty()) {
                Problem(e, "changed occurrences of an event that does not recur are left as "
                           "they are");
            }
            result.store.appointments.push_back(std::move(a));
            return;
        }
        const RuleMapping mapping = MapSeries(*series, shifts);
        if (mapping.values) {
            a.recurrence = mapping.values;
            a.exactSeconds = series->ExactLength();
            for (const ical::Moment& m : series->ExcludedSlots()) {
                Exception ex;
                ex.originalDay = DayOf(Local(m));
                ex.deleted = true;
                a.exceptions.push_back(ex);
            }
            for (icalcomponent* o : series->Overrides()) {
                const ical::Occurrence moved = series->FromOverride(o);
                Exception ex;
                ex.originalDay = DayOf(Local(moved.slot));
                ex.deleted = icalcomponent_get_status(o) == ICAL_STATUS_CANCELLED;
                ex.start = Local(moved.start);
                ex.end = std::max(ex.start, Local(moved.end));
                const std::u16string subject = ical::TextOf(o, ICAL_SUMMARY_PROPERTY);
                ex.subject = subject == a.subject ? std::u16string() : subject;
                std::erase_if(a.exceptions,
                              [&](const Exception& x) { return x.originalDay == ex.originalDay; });
                a.exceptions.push_back(ex);
            }
            result.store.appointments.push_back(std::move(a));
            return;
        }
        a.live = std::make_shared<EngineSeries>(series, a.subject);
        if (const std::optional<Occurrence> now = a.live->Current(clock.localNow)) {
            a.start = now->start;
            a.end = now->end;
            a.subject = now->subject;
            a.slotUtc = now->slotUtc;
        } else {
            a.ended = true;
            if (series->Finite() && !series->Last()) {
                Problem(e, "every occurrence of the series is excluded; it is not shown");
            }
        }
        result.store.appointments.push_back(std::move(a));
    }

    void ReadTodo(const ical::EntryGroup& group, int oid) {
        const ical::Entry& e = *group.master;
        ReportErrors(e);
        icalcomponent* ic = e.component;
        Task t;
        t.oid = oid;
        t.span = SpanOf(e);
        t.subject = ical::TextOf(ic, ICAL_SUMMARY_PROPERTY);
        t.categories = CategoriesOf(ic);
        const ical::Moment start = ical::MomentOf(calendar->TimeOf(ic, ICAL_DTSTART_PROPERTY));
        const ical::Moment due = ical::MomentOf(calendar->TimeOf(ic, ICAL_DUE_PROPERTY));
        if (!start.IsNone()) {
            t.startDay = DayOf(Local(start));
        }
        if (!due.IsNone()) {
            t.dueDay = DayOf(Local(due));
        }
        icalproperty* completed = icalcomponent_get_first_property(ic, ICAL_COMPLETED_PROPERTY);
        t.complete = icalcomponent_get_status(ic) == ICAL_STATUS_COMPLETED || completed != nullptr;
        if (completed != nullptr) {
            t.completedDay = DayOf(Local(ical::MomentOf(calendar->TimeOf(ic, completed))));
        }
        t.importance = ImportanceOf(ic);
        t.sensitivity = SensitivityOf(ic);
        if (icalcomponent_get_first_property(ic, ICAL_RRULE_PROPERTY) != nullptr &&
            (!start.IsNone() || !due.IsNone())) {
            const std::shared_ptr<const ical::Series> series = SeriesOf(group);
            const RuleMapping mapping = MapSeries(*series, shifts);
            if (mapping.values) {
                t.recurrence = mapping.values;
            } else {
                t.live = std::make_shared<EngineSeries>(series, t.subject);
                if (const std::optional<Occurrence> now = t.live->Current(clock.localNow)) {
                    t.dueDay = t.dueDay ? std::optional<int>(DayOf(now->end)) : std::nullopt;
                    t.startDay = t.startDay ? std::optional<int>(DayOf(now->start)) : std::nullopt;
                }
            }
        }
        result.store.tasks.push_back(std::move(t));
    }
};

} // namespace

bool IsICalendarName(std::u16string_view path) {
    if (path.size() < 4) {
        return false;
    }
    std::u16string tail(path.substr(path.size() - 4));
    for (char16_t& ch : tail) {
        ch = ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
    }
    return tail == u".ics";
}

Minutes LocalOfUtc(std::int64_t utcSeconds) {
    return LocalMinutesOfUtc(utcSeconds);
}

std::int64_t UtcOfLocal(Minutes local) {
    return UtcSecondsOfLocal(local);
}

IcsClock IcsClockAt(Minutes localNow) {
    return {localNow, UtcOfLocal(localNow)};
}

ParsedStore ParseIcsStore(std::string_view text, const IcsClock& clock) {
    ParsedStore result;
    const std::shared_ptr<const ical::Calendar> calendar = ical::Calendar::Parse(text);
    const CalendarSpans& spans = calendar->Spans();
    if (!spans.found || !calendar->Found()) {
        if (!text.empty()) {
            result.problems.push_back("line 1: not an iCalendar file (no BEGIN:VCALENDAR ... "
                                      "END:VCALENDAR)");
        }
        result.ok = result.problems.empty();
        result.error = result.ok ? std::string() : result.problems.front();
        return result;
    }
    if (!spans.paired) {
        result.problems.push_back("line 1: BEGIN and END lines do not pair up; the file is "
                                  "shown but never changed");
    } else if (calendar->Several()) {
        result.problems.push_back("line 1: the file holds more than one VCALENDAR; it is shown "
                                  "but never changed");
    } else if (!calendar->Exact()) {
        result.problems.push_back("line 1: libical reads the components otherwise than their "
                                  "BEGIN and END lines show; the file is shown but never changed");
    }
    // Oids by the text's components where they stand for what libical
    // read, else by libical's own.
    const bool exact = calendar->Exact();
    const std::vector<int> oids = AssignOids(exact ? KeysOf(text, spans) : KeysOf(*calendar));
    Reader reader{calendar, clock, result, {}};
    const std::vector<ical::Entry>& entries = calendar->Entries();
    for (const ical::EntryGroup& group : ical::GroupEntries(*calendar)) {
        const ical::Entry& e = *group.master;
        const std::size_t at = exact ? e.span : static_cast<std::size_t>(&e - entries.data());
        const int oid = at < oids.size() ? oids[at] : 0;
        if (e.todo) {
            reader.ReadTodo(group, oid);
        } else {
            reader.ReadEvent(group, oid);
        }
    }
    for (const std::string& p : calendar->Problems()) {
        result.problems.push_back("line 1: " + p);
    }
    int highest = 999;
    for (const int oid : oids) {
        highest = std::max(highest, oid);
    }
    result.store.nextOid = highest + 1;
    result.ok = result.problems.empty();
    result.error = result.ok ? std::string() : result.problems.front();
    result.exact = exact && spans.paired;
    return result;
}

namespace {

// The component a change names: the one component of its kind with the
// very text it was read with. Gone, or there twice, names none.
std::optional<std::size_t> Locate(std::string_view text, const CalendarSpans& cal,
                                  const StoreChange& change) {
    const std::string kind = change.task ? "VTODO" : "VEVENT";
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < cal.components.size(); ++i) {
        const ComponentSpan& c = cal.components[i];
        if (c.name == kind && text.substr(c.begin, c.end - c.begin) == change.recordText) {
            if (found) {
                return std::nullopt;
            }
            found = i;
        }
    }
    return found;
}

std::string Splice(std::string_view text, std::size_t begin, std::size_t end,
                   std::string_view with) {
    std::string out(text.substr(0, begin));
    out.append(with);
    out.append(text.substr(end));
    return out;
}

// The components a record stands for: the one at `index` and, for the
// first master of a UID, the overrides of that UID and kind (in file order).
std::vector<std::size_t> GroupOf(const CalendarSpans& cal, std::size_t index) {
    std::vector<std::size_t> group{index};
    const ComponentSpan& c = cal.components[index];
    if (c.hasRecurrenceId || c.uid.empty()) {
        return group;
    }
    for (std::size_t i = 0; i < index; ++i) {
        const ComponentSpan& other = cal.components[i];
        if (other.name == c.name && other.uid == c.uid && !other.hasRecurrenceId) {
            return group; // an earlier master of the UID has the overrides
        }
    }
    for (std::size_t i = 0; i < cal.components.size(); ++i) {
        const ComponentSpan& other = cal.components[i];
        if (i != index && other.name == c.name && other.uid == c.uid && other.hasRecurrenceId) {
            group.push_back(i);
        }
    }
    return group;
}

// A calendar of the file's VTIMEZONEs and the components `indexes` (file
// order kept), so that one record is read as the whole file reads it
// without reading the whole file; and where each of them begins in it.
struct Excerpt {
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> pieces; // (excerpt offset, index)
};
Excerpt ExcerptOf(std::string_view text, const CalendarSpans& cal,
                  std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    Excerpt out;
    out.text = "BEGIN:VCALENDAR" + cal.eol + "VERSION:2.0" + cal.eol;
    for (const ComponentSpan& c : cal.components) {
        if (c.name == "VTIMEZONE") {
            out.text.append(text.substr(c.begin, c.end - c.begin));
        }
    }
    for (const std::size_t i : indexes) {
        const ComponentSpan& c = cal.components[i];
        out.pieces.emplace_back(out.text.size(), i);
        out.text.append(text.substr(c.begin, c.end - c.begin));
    }
    out.text += "END:VCALENDAR" + cal.eol;
    return out;
}

// The entry of an excerpt's calendar that is the file's component `index`.
const ical::Entry* EntryOf(const ical::Calendar& mini, const Excerpt& excerpt, std::size_t index) {
    for (const auto& [at, i] : excerpt.pieces) {
        if (i != index) {
            continue;
        }
        for (const ical::Entry& e : mini.Entries()) {
            if (e.span != ical::kNoSpan && mini.Spans().components[e.span].begin == at) {
                return &e;
            }
        }
    }
    return nullptr;
}

// A name that a TZID parameter carries as it is.
bool PlainParameter(std::string_view value) {
    return !value.empty() && value.find_first_of("\":;,\r\n") == std::string_view::npos;
}

// An EXDATE for the regular occurrence `slot` of `series`, in a form every
// reader resolves to the same instant: a DATE, the file's own zone, UTC,
// or a floating time for a floating series.
std::string ExdateLine(const ical::Series& series, const ical::Occurrence& slot) {
    const icaltimetype wall = slot.slotTime.wall;
    char value[32];
    if (wall.is_date) {
        std::snprintf(value, sizeof value, "%04d%02d%02d", wall.year, wall.month, wall.day);
        return std::string("EXDATE;VALUE=DATE:") + value;
    }
    std::snprintf(value, sizeof value, "%04d%02d%02dT%02d%02d%02d", wall.year, wall.month, wall.day,
                  wall.hour, wall.minute, wall.second);
    icalproperty* dtstart =
        icalcomponent_get_first_property(series.Master(), ICAL_DTSTART_PROPERTY);
    icalparameter* tzid = dtstart == nullptr
                              ? nullptr
                              : icalproperty_get_first_parameter(dtstart, ICAL_TZID_PARAMETER);
    if (tzid == nullptr && slot.slotTime.zone == nullptr) {
        return std::string("EXDATE:") + value; // floating
    }
    const char* name = tzid != nullptr ? icalparameter_get_tzid(tzid) : nullptr;
    icalcomponent* parent = icalcomponent_get_parent(series.Master());
    if (name != nullptr && slot.slotTime.zone != nullptr && parent != nullptr &&
        icalcomponent_get_timezone(parent, name) == slot.slotTime.zone && PlainParameter(name)) {
        return std::string("EXDATE;TZID=") + name + ":" + value;
    }
    return "EXDATE:" + UtcStamp(ical::UtcSecondsOf(slot.slot));
}

// Skips one occurrence of the series at `index`: an EXDATE for it, and its
// override, if any, removed.
std::optional<ChangedText> SkipOccurrence(std::string_view text, const CalendarSpans& cal,
                                          std::size_t index, const StoreChange& change) {
    const std::vector<std::size_t> group = GroupOf(cal, index);
    if (cal.components[index].hasRecurrenceId) {
        return std::nullopt;
    }
    const Excerpt excerpt = ExcerptOf(text, cal, group);
    const std::shared_ptr<const ical::Calendar> mini = ical::Calendar::Parse(excerpt.text);
    const ical::Entry* master = mini->Exact() ? EntryOf(*mini, excerpt, index) : nullptr;
    if (master == nullptr) {
        return std::nullopt;
    }
    std::vector<icalcomponent*> overrides;
    std::vector<std::pair<icalcomponent*, std::size_t>> overrideAt;
    for (std::size_t k = 1; k < group.size(); ++k) {
        if (const ical::Entry* o = EntryOf(*mini, excerpt, group[k])) {
            overrides.push_back(o->component);
            overrideAt.emplace_back(o->component, group[k]);
        }
    }
    std::vector<std::string> problems;
    const ical::Series series(mini, master->component, overrides, problems);
    const int day = change.slotUtc ? DayOf(LocalOfUtc(*change.slotUtc)) : change.day;
    std::optional<ical::Occurrence> slot;
    for (const ical::Occurrence& o : series.SlotsOnLocalDay(day)) {
        if (!change.slotUtc || ical::UtcSecondsOf(o.slot) == *change.slotUtc) {
            slot = o;
            break;
        }
    }
    if (!slot) {
        return std::nullopt;
    }
    const ComponentSpan& c = cal.components[index];
    ical::ComponentEdit edit{std::string(text.substr(c.begin, c.end - c.begin)), cal.eol};
    edit.Add(ExdateLine(series, *slot));
    std::string out = Splice(text, c.begin, c.end, edit.text);
    // The overrides come after or before the master; cut them from the
    // spliced text with offsets corrected for the master's growth.
    const std::size_t grown = edit.text.size() - (c.end - c.begin);
    std::vector<std::size_t> moved;
    for (const auto& [component, i] : overrideAt) {
        if (series.Names(mini->TimeOf(component, ICAL_RECURRENCEID_PROPERTY), *slot)) {
            moved.push_back(i);
        }
    }
    std::sort(moved.rbegin(), moved.rend());
    for (const std::size_t i : moved) {
        const ComponentSpan& o = cal.components[i];
        const std::size_t shift = o.begin > c.begin ? grown : 0;
        out.erase(o.begin + shift, o.end - o.begin);
    }
    return ChangedText{std::move(out), 0};
}

std::string NewUid(std::string_view text, const IcsClock& clock, std::string_view seed) {
    const CalendarSpans cal = ical::ScanCalendar(text);
    const std::string stamp = UtcStamp(clock.utcSeconds);
    for (unsigned n = 0;; ++n) {
        char hash[16];
        std::snprintf(hash, sizeof hash, "%08x",
                      Fnv(std::string(seed) + stamp + std::to_string(n)));
        const std::string uid = "vantrel-" + stamp + "-" + hash + "@vantrel";
        const bool taken = std::any_of(cal.components.begin(), cal.components.end(),
                                       [&](const ComponentSpan& c) { return c.uid == uid; });
        if (!taken) {
            return uid;
        }
    }
}

std::optional<ChangedText> AddRecord(std::string_view text, const StoreChange& change,
                                     const IcsClock& clock, bool knownExact) {
    const ParsedStore parsed = ParseStore(change.record);
    if (!parsed.ok || parsed.store.appointments.size() + parsed.store.tasks.size() != 1) {
        return std::nullopt;
    }
    const std::string eol = text.empty() ? "\r\n" : ical::ScanCalendar(text).eol;
    const std::string uid = NewUid(text, clock, change.record);
    std::string component;
    const auto line = [&](const std::string& l) { component += ical::Folded(l, eol); };
    if (!parsed.store.appointments.empty()) {
        const Appointment& a = parsed.store.appointments.front();
        line("BEGIN:VEVENT");
        line("UID:" + uid);
        line("DTSTAMP:" + UtcStamp(clock.utcSeconds));
        const std::string date = a.allDay ? ";VALUE=DATE" : "";
        line("DTSTART" + date + ":" + LocalStamp(a.start, !a.allDay));
        line("DTEND" + date + ":" + LocalStamp(a.end, !a.allDay));
        line("SUMMARY:" + ical::Escaped(ToUtf8(a.subject)));
        line("END:VEVENT");
    } else {
        const Task& t = parsed.store.tasks.front();
        line("BEGIN:VTODO");
        line("UID:" + uid);
        line("DTSTAMP:" + UtcStamp(clock.utcSeconds));
        if (t.startDay) {
            line("DTSTART;VALUE=DATE:" + LocalStamp(MomentOf(*t.startDay, 0, 0), false));
        }
        if (t.dueDay) {
            line("DUE;VALUE=DATE:" + LocalStamp(MomentOf(*t.dueDay, 0, 0), false));
        }
        line("SUMMARY:" + ical::Escaped(ToUtf8(t.subject)));
        line("STATUS:NEEDS-ACTION");
        line("END:VTODO");
    }
    std::string out;
    const CalendarSpans cal = ical::ScanCalendar(text);
    if (cal.found && !(knownExact && cal.paired) && !ical::Calendar::Parse(text)->Exact()) {
        return std::nullopt; // a file libical reads otherwise: no byte of it is changed
    }
    if (!cal.found) {
        if (!text.empty()) {
            return std::nullopt; // not a calendar: nothing is written into it
        }
        out = "BEGIN:VCALENDAR" + eol + "VERSION:2.0" + eol + "PRODID:-//Vantrel//Store//JA" + eol +
              component + "END:VCALENDAR" + eol;
    } else {
        out = Splice(text, cal.endLine, cal.endLine, component);
    }
    const CalendarSpans after = ical::ScanCalendar(out);
    const std::vector<int> oids = AssignOids(KeysOf(out, after));
    for (std::size_t i = 0; i < after.components.size(); ++i) {
        if (after.components[i].uid == uid) {
            return ChangedText{std::move(out), oids[i]};
        }
    }
    return std::nullopt;
}

// A DATE or DATE-TIME property moved by whole days, in its own form.
std::string ShiftedLine(const std::string& line, int days) {
    icaltimetype t = icaltime_from_string(std::string(ical::ValueOf(line)).c_str());
    if (icaltime_is_null_time(t)) {
        return line;
    }
    icaltime_adjust(&t, days, 0, 0, 0);
    const std::size_t colon = line.size() - ical::ValueOf(line).size();
    return line.substr(0, colon) + icaltime_as_ical_string(t);
}

} // namespace

std::optional<ChangedText> ApplyIcsChange(std::string_view text, const StoreChange& change,
                                          const IcsClock& clock, bool knownExact) {
    if (change.kind == StoreChange::kAdd) {
        return AddRecord(text, change, clock, knownExact);
    }
    const CalendarSpans cal = ical::ScanCalendar(text);
    if (!cal.found || !cal.paired || (!knownExact && !ical::Calendar::Parse(text)->Exact())) {
        return std::nullopt; // a file libical reads otherwise: no byte of it is changed
    }
    const std::optional<std::size_t> index = Locate(text, cal, change);
    if (!index) {
        return std::nullopt;
    }
    const ComponentSpan& c = cal.components[*index];
    ical::ComponentEdit edit{std::string(text.substr(c.begin, c.end - c.begin)), cal.eol};
    switch (change.kind) {
    case StoreChange::kDelete: {
        // The record with every changed occurrence of its series.
        std::vector<std::size_t> gone = GroupOf(cal, *index);
        std::sort(gone.rbegin(), gone.rend());
        std::string out(text);
        for (const std::size_t i : gone) {
            out.erase(cal.components[i].begin, cal.components[i].end - cal.components[i].begin);
        }
        return ChangedText{std::move(out), 0};
    }
    case StoreChange::kSkipOccurrence:
        return SkipOccurrence(text, cal, *index, change);
    case StoreChange::kSetComplete:
        if (change.complete) {
            const int today = DayOf(clock.localNow);
            const std::int64_t when = change.day == 0 || change.day == today
                                          ? clock.utcSeconds
                                          : UtcOfLocal(MomentOf(change.day, 12, 0));
            edit.Set("STATUS", "STATUS:COMPLETED");
            edit.Set("COMPLETED", "COMPLETED:" + UtcStamp(when));
            edit.Set("PERCENT-COMPLETE", "PERCENT-COMPLETE:100");
        } else {
            edit.Set("STATUS", "STATUS:NEEDS-ACTION");
            edit.Remove("COMPLETED");
            edit.Remove("PERCENT-COMPLETE");
        }
        break;
    case StoreChange::kSkipTask: {
        const Excerpt excerpt = ExcerptOf(text, cal, GroupOf(cal, *index));
        const ParsedStore parsed = ParseIcsStore(excerpt.text, clock);
        const std::size_t at = excerpt.pieces.front().first;
        const auto t = std::find_if(parsed.store.tasks.begin(), parsed.store.tasks.end(),
                                    [&](const Task& task) { return task.span.begin == at; });
        if (t == parsed.store.tasks.end() || !t->recurrence) {
            return std::nullopt;
        }
        const std::optional<int> next = NextTaskDay(*t);
        const int current = t->dueDay.value_or(t->startDay.value_or(0));
        if (!next) {
            return std::nullopt;
        }
        for (const char* name : {"DUE", "DTSTART"}) {
            const std::string line = edit.Get(name);
            if (!line.empty()) {
                edit.Set(name, ShiftedLine(line, *next - current));
            }
        }
        break;
    }
    default:
        return std::nullopt;
    }
    return ChangedText{Splice(text, c.begin, c.end, edit.text), 0};
}

namespace {

// Drops the records whose components begin at `dropped` and moves those
// after the changed bytes (which end at `to` in the old text) by `shift`.
template <class Record>
void KeepOthers(std::vector<Record>& records, const std::unordered_set<std::size_t>& dropped,
                std::size_t to, std::ptrdiff_t shift, int lines) {
    std::erase_if(records, [&](const Record& r) { return dropped.count(r.span.begin) != 0; });
    for (Record& r : records) {
        if (r.span.begin >= to) {
            r.span.line += lines;
            r.span.begin =
                static_cast<std::size_t>(static_cast<std::ptrdiff_t>(r.span.begin) + shift);
            r.span.end = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(r.span.end) + shift);
        }
    }
}

// The records read from an excerpt, with their spans in the new text.
template <class Record>
bool PlaceRead(std::vector<Record>& from, std::vector<Record>& into, const Excerpt& excerpt,
               const CalendarSpans& cal) {
    for (Record& r : from) {
        bool placed = false;
        for (const auto& [at, i] : excerpt.pieces) {
            const ComponentSpan& c = cal.components[i];
            if (r.span.begin == at) {
                r.span.begin = c.begin;
                r.span.end = c.begin + (r.span.end - at);
                r.span.line = c.line;
                placed = true;
            }
        }
        if (!placed) {
            return false;
        }
        into.push_back(std::move(r));
    }
    std::stable_sort(into.begin(), into.end(),
                     [](const Record& x, const Record& y) { return x.span.begin < y.span.begin; });
    return true;
}

} // namespace

void UpdateIcsStore(ParsedStore& parsed, std::string_view oldText, std::string_view newText,
                    const IcsClock& clock) {
    const auto whole = [&] { parsed = ParseIcsStore(newText, clock); };
    if (!parsed.exact) {
        return whole();
    }
    // The bytes that changed: between the longest common head and tail.
    std::size_t head = 0;
    const std::size_t shorter = std::min(oldText.size(), newText.size());
    while (head < shorter && oldText[head] == newText[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail]) {
        ++tail;
    }
    if (head == oldText.size() && head == newText.size()) {
        return; // the same text
    }
    const CalendarSpans before = ical::ScanCalendar(oldText);
    const CalendarSpans after = ical::ScanCalendar(newText);
    if (!after.found || !after.paired || !before.found) {
        return whole();
    }
    // The components the change touches, in either version, and every
    // component of their UIDs: those records are read again.
    std::set<std::pair<std::string, std::string>> redone;
    std::size_t oldFrom = head, oldTo = oldText.size() - tail;
    const auto touch = [&](const CalendarSpans& cal, std::size_t from, std::size_t to,
                           std::size_t* lo, std::size_t* hi) {
        for (const ComponentSpan& c : cal.components) {
            if (c.end > from && c.begin < std::max(to, from + 1)) {
                if (c.name != "VEVENT" && c.name != "VTODO") {
                    return false; // a zone or another component: all is read again
                }
                if (!c.uid.empty()) {
                    redone.insert({c.name, c.uid});
                }
                if (lo != nullptr) {
                    *lo = std::min(*lo, c.begin);
                    *hi = std::max(*hi, c.end);
                }
            }
        }
        return true;
    };
    const std::size_t newFrom = head, newTo = newText.size() - tail;
    if (before.components.empty() || head < before.components.front().begin ||
        !touch(before, oldFrom, oldTo, &oldFrom, &oldTo) ||
        !touch(after, newFrom, newTo, nullptr, nullptr) || oldTo > before.endLine) {
        return whole();
    }
    const std::ptrdiff_t shift =
        static_cast<std::ptrdiff_t>(newText.size()) - static_cast<std::ptrdiff_t>(oldText.size());
    const auto redo = [&](const ComponentSpan& c, std::size_t from, std::size_t to) {
        const bool record = c.name == "VEVENT" || c.name == "VTODO";
        const bool inChange = c.end > from && c.begin < std::max(to, from + 1);
        return record && (inChange || (!c.uid.empty() && redone.count({c.name, c.uid}) != 0));
    };
    // The old records of the changed bytes and of those UIDs go; the new
    // version's are read from an excerpt.
    std::unordered_set<std::size_t> dropped;
    for (const ComponentSpan& c : before.components) {
        if (redo(c, oldFrom, oldTo)) {
            dropped.insert(c.begin);
        }
    }
    const std::size_t newEnd = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(oldTo) + shift);
    std::vector<std::size_t> read;
    for (std::size_t i = 0; i < after.components.size(); ++i) {
        if (redo(after.components[i], oldFrom, newEnd)) {
            read.push_back(i);
        }
    }
    const Excerpt excerpt = ExcerptOf(newText, after, read);
    ParsedStore fresh = ParseIcsStore(excerpt.text, clock);
    if (!fresh.exact) {
        return whole();
    }
    ParsedStore next = parsed;
    const auto breaks = [](std::string_view t) {
        return static_cast<int>(std::count(t.begin(), t.end(), '\n'));
    };
    const int lines = breaks(newText.substr(head, newText.size() - tail - head)) -
                      breaks(oldText.substr(head, oldText.size() - tail - head));
    KeepOthers(next.store.appointments, dropped, oldTo, shift, lines);
    KeepOthers(next.store.tasks, dropped, oldTo, shift, lines);
    // Oids follow from the UIDs; one read again must not meet a kept one.
    std::unordered_set<int> kept;
    for (const Appointment& a : next.store.appointments) {
        kept.insert(a.oid);
    }
    for (const Task& t : next.store.tasks) {
        kept.insert(t.oid);
    }
    for (const Appointment& a : fresh.store.appointments) {
        if (!kept.insert(a.oid).second) {
            return whole();
        }
    }
    for (const Task& t : fresh.store.tasks) {
        if (!kept.insert(t.oid).second) {
            return whole();
        }
    }
    if (!PlaceRead(fresh.store.appointments, next.store.appointments, excerpt, after) ||
        !PlaceRead(fresh.store.tasks, next.store.tasks, excerpt, after)) {
        return whole();
    }
    next.store.nextOid = std::max(next.store.nextOid, fresh.store.nextOid);
    next.problems = fresh.problems;
    next.ok = parsed.ok && fresh.ok;
    next.error = next.problems.empty() ? std::string() : next.problems.front();
    parsed = std::move(next);
}

} // namespace vantrel::store
