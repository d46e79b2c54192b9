#include "platform/poom_store/ics_store.h"

#include "model/date_time.h"
#include "model/local_zone.h"
#include "platform/poom_store/ics_recurrence.h"
#include "platform/poom_store/ics_text.h"
#include "text/utf8.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <unordered_set>

namespace vantrel::store {
namespace {

using ics::Calendar;
using ics::Component;

const int kUnixEpochDay = DayNumberOf(1970, 1, 1);

struct CalendarFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using CalendarPtr = std::unique_ptr<icalcomponent, CalendarFree>;

CalendarPtr ParseCalendar(std::string_view text) {
    const std::string copy(text);
    icalcomponent* root = icalparser_parse_string(copy.c_str());
    if (root != nullptr && icalcomponent_isa(root) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent_free(root);
        root = nullptr;
    }
    return CalendarPtr(root);
}

std::vector<icalcomponent*> Children(icalcomponent* cal) {
    std::vector<icalcomponent*> out;
    for (icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
        out.push_back(c);
    }
    return out;
}

// Whether libical and the text scan see the same components in the same
// order: only then do the scan's byte ranges stand for what libical read.
bool Agrees(const Calendar& cal, const std::vector<icalcomponent*>& children) {
    if (children.size() != cal.components.size()) {
        return false;
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Component& c = cal.components[i];
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

bool IsRecord(const Component& c) {
    return c.name == "VEVENT" || c.name == "VTODO";
}

std::uint32_t Fnv(std::string_view s) {
    std::uint32_t h = 2166136261U;
    for (const char c : s) {
        h = (h ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return h;
}

// Oids follow from the UIDs (or, without one, from the component's text),
// so they stay the same from one read of the file to the next. An override
// of one occurrence shares its series' Oid.
std::vector<int> AssignOids(std::string_view text, const Calendar& cal) {
    std::vector<int> oids(cal.components.size(), 0);
    std::set<std::string> masters;
    for (const Component& c : cal.components) {
        if (IsRecord(c) && !c.hasRecurrenceId && !c.uid.empty()) {
            masters.insert(c.name + "\n" + c.uid);
        }
    }
    std::unordered_set<int> used;
    std::map<std::string, int> given; // how many of each key so far
    for (std::size_t i = 0; i < cal.components.size(); ++i) {
        const Component& c = cal.components[i];
        if (!IsRecord(c)) {
            continue;
        }
        const std::string key = c.name + "\n" + c.uid;
        if (c.hasRecurrenceId && masters.count(key) != 0) {
            continue;
        }
        // The n-th component of a UID keeps its Oid when its own text
        // changes; only a component without UID goes by its text.
        const std::string own = key + (c.hasRecurrenceId ? "\nR" : "");
        const int n = given[own]++;
        const std::string basis = c.uid.empty() ? std::string(text.substr(c.begin, c.end - c.begin))
                                                : own + (n == 0 ? "" : "\n#" + std::to_string(n));
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

std::u16string Text(const char* utf8) {
    return utf8 == nullptr ? std::u16string() : FromUtf8(utf8);
}

// CATEGORIES as the Outlook store writes them: "a, b".
std::u16string CategoriesOf(icalcomponent* c) {
    std::string joined;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
        const char* v = icalproperty_get_categories(p);
        std::string_view rest = v == nullptr ? "" : v;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            std::string_view word = rest.substr(0, comma);
            while (!word.empty() && word.front() == ' ') {
                word.remove_prefix(1);
            }
            if (!word.empty()) {
                joined += (joined.empty() ? "" : ", ") + std::string(word);
            }
            rest = comma == std::string_view::npos ? "" : rest.substr(comma + 1);
        }
    }
    return FromUtf8(joined);
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

std::string Who(const Component& c) {
    return c.uid.empty() ? "line " + std::to_string(c.line) : "UID " + c.uid;
}

struct Reader {
    const IcsClock& clock;
    ParsedStore& result;
    std::map<std::string, std::size_t> seriesByUid; // VEVENT UID -> appointment

    void Problem(const Component& c, const std::string& why) {
        result.problems.push_back(Who(c) + ": " + why);
    }

    // The recurrence of a component, or its next occurrence alone when the
    // pattern cannot express the rule.
    void ReadRule(icalcomponent* ic, const Component& c, icaltimetype start,
                  std::optional<RecurrenceValues>& recurrence, bool* single) {
        icalproperty* rrule = icalcomponent_get_first_property(ic, ICAL_RRULE_PROPERTY);
        if (rrule == nullptr) {
            return;
        }
        if (icalcomponent_get_next_property(ic, ICAL_RRULE_PROPERTY) != nullptr) {
            Problem(c, "more than one RRULE; only its next occurrence is shown");
            *single = true;
            return;
        }
        const struct icalrecurrencetype rule = icalproperty_get_rrule(rrule);
        RuleMapping mapping = MapRule(rule, start);
        if (mapping.values) {
            recurrence = mapping.values;
            return;
        }
        Problem(c, "RRULE " +
                       std::string(icalrecurrencetype_as_string(
                           const_cast<struct icalrecurrencetype*>(&rule))) +
                       " cannot be shown as a series (" + mapping.problem +
                       "); only its next occurrence is shown");
        *single = true;
    }

    void ReadEvent(icalcomponent* ic, const Component& c, int oid) {
        const icaltimetype start = TimeOf(ic, ICAL_DTSTART_PROPERTY);
        if (icaltime_is_null_time(start)) {
            Problem(c, "a VEVENT without DTSTART is left as it is");
            return;
        }
        NoteUnknownZone(ic, c, ICAL_DTSTART_PROPERTY, start);
        icaltimetype end = TimeOf(ic, ICAL_DTEND_PROPERTY);
        Appointment a;
        a.oid = oid;
        a.span = {c.begin, c.end, c.line, false};
        a.subject = Text(icalcomponent_get_summary(ic));
        a.location = Text(icalcomponent_get_location(ic));
        a.categories = CategoriesOf(ic);
        a.allDay = start.is_date != 0;
        a.start = LocalMinutes(start);
        a.end =
            icaltime_is_null_time(end) ? (a.allDay ? a.start + 1440 : a.start) : LocalMinutes(end);
        a.end = std::max(a.end, a.start);
        a.busyStatus = BusyOf(ic);
        a.sensitivity = SensitivityOf(ic);
        bool single = false;
        ReadRule(ic, c, start, a.recurrence, &single);
        if (single) {
            const std::optional<Minutes> next =
                NextIcsOccurrence(ic, start, a.end - a.start, clock.localNow);
            if (next) {
                a.end = *next + (a.end - a.start);
                a.start = *next;
            }
        } else if (a.recurrence) {
            for (const int day : ExcludedDays(ic)) {
                Exception ex;
                ex.originalDay = day;
                ex.deleted = true;
                a.exceptions.push_back(ex);
            }
            if (icalcomponent_get_first_property(ic, ICAL_RDATE_PROPERTY) != nullptr) {
                Problem(c, "RDATE occurrences are not shown");
            }
        }
        if (a.recurrence) {
            seriesByUid[c.uid] = result.store.appointments.size();
        }
        result.store.appointments.push_back(std::move(a));
    }

    // A VEVENT with RECURRENCE-ID: one occurrence of a series moved,
    // changed or cancelled.
    bool ReadOverride(icalcomponent* ic, const Component& c) {
        const auto found = seriesByUid.find(c.uid);
        if (found == seriesByUid.end()) {
            return false;
        }
        Appointment& series = result.store.appointments[found->second];
        const icaltimetype original = TimeOf(ic, ICAL_RECURRENCEID_PROPERTY);
        const icaltimetype start = TimeOf(ic, ICAL_DTSTART_PROPERTY);
        if (icaltime_is_null_time(original)) {
            Problem(c, "a RECURRENCE-ID that cannot be read");
            return true;
        }
        Exception ex;
        ex.originalDay = DayOf(LocalMinutes(original));
        ex.deleted = icalcomponent_get_status(ic) == ICAL_STATUS_CANCELLED;
        const Minutes length = series.end - series.start;
        ex.start = icaltime_is_null_time(start) ? LocalMinutes(original) : LocalMinutes(start);
        const icaltimetype end = TimeOf(ic, ICAL_DTEND_PROPERTY);
        ex.end =
            icaltime_is_null_time(end) ? ex.start + length : std::max(ex.start, LocalMinutes(end));
        const std::u16string subject = Text(icalcomponent_get_summary(ic));
        ex.subject = subject == series.subject ? std::u16string() : subject;
        std::erase_if(series.exceptions,
                      [&](const Exception& e) { return e.originalDay == ex.originalDay; });
        series.exceptions.push_back(ex);
        return true;
    }

    void ReadTodo(icalcomponent* ic, const Component& c, int oid) {
        Task t;
        t.oid = oid;
        t.span = {c.begin, c.end, c.line, false};
        t.subject = Text(icalcomponent_get_summary(ic));
        t.categories = CategoriesOf(ic);
        const icaltimetype start = TimeOf(ic, ICAL_DTSTART_PROPERTY);
        const icaltimetype due = TimeOf(ic, ICAL_DUE_PROPERTY);
        if (!icaltime_is_null_time(start)) {
            t.startDay = DayOf(LocalMinutes(start));
        }
        if (!icaltime_is_null_time(due)) {
            t.dueDay = DayOf(LocalMinutes(due));
        }
        icalproperty* completed = icalcomponent_get_first_property(ic, ICAL_COMPLETED_PROPERTY);
        t.complete = icalcomponent_get_status(ic) == ICAL_STATUS_COMPLETED || completed != nullptr;
        if (completed != nullptr) {
            t.completedDay = DayOf(LocalMinutes(icalproperty_get_completed(completed)));
        }
        t.importance = ImportanceOf(ic);
        t.sensitivity = SensitivityOf(ic);
        const icaltimetype anchor = icaltime_is_null_time(start) ? due : start;
        bool single = false;
        if (!icaltime_is_null_time(anchor)) {
            ReadRule(ic, c, anchor, t.recurrence, &single);
        }
        if (single && !icaltime_is_null_time(due)) {
            // The task's next due day in the series stands for the series.
            const std::optional<Minutes> next = NextIcsOccurrence(ic, due, 0, clock.localNow);
            if (next) {
                t.dueDay = DayOf(*next);
            }
        }
        result.store.tasks.push_back(std::move(t));
    }

    void NoteUnknownZone(icalcomponent* ic, const Component& c, icalproperty_kind kind,
                         icaltimetype t) {
        icalproperty* p = icalcomponent_get_first_property(ic, kind);
        if (p != nullptr && t.zone == nullptr &&
            icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) != nullptr) {
            Problem(c, "its time zone is not defined in the file; its times are read as local");
        }
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
    const Calendar cal = ics::ScanCalendar(text);
    const CalendarPtr root = ParseCalendar(text);
    if (!cal.found || !root) {
        if (!text.empty()) {
            result.problems.push_back("line 1: not an iCalendar file (no BEGIN:VCALENDAR ... "
                                      "END:VCALENDAR)");
        }
        result.ok = result.problems.empty();
        result.error = result.ok ? std::string() : result.problems.front();
        return result;
    }
    const std::vector<icalcomponent*> children = Children(root.get());
    const std::vector<int> oids = AssignOids(text, cal);
    Reader reader{clock, result, {}};
    std::vector<std::pair<icalcomponent*, std::size_t>> overrides;
    // libical keeps the file's components in order; a count that differs
    // means it dropped one, and the components are then matched by UID.
    const bool inStep = Agrees(cal, children);
    if (!cal.paired) {
        result.problems.push_back("line 1: BEGIN and END lines do not pair up; the file is "
                                  "shown but never changed");
    } else if (!inStep) {
        result.problems.push_back("line 1: libical reads the components otherwise than their "
                                  "BEGIN and END lines show; the file is shown but never changed");
    }
    for (std::size_t i = 0; i < cal.components.size(); ++i) {
        const Component& c = cal.components[i];
        if (!IsRecord(c)) {
            continue;
        }
        icalcomponent* ic = inStep ? children[i] : nullptr;
        if (!inStep) {
            // The first child of that UID that is, like the component, an
            // override or not.
            for (icalcomponent* child : children) {
                const char* uid = icalcomponent_get_uid(child);
                const bool isOverride =
                    icalcomponent_get_first_property(child, ICAL_RECURRENCEID_PROPERTY) != nullptr;
                if (uid != nullptr && c.uid == uid && isOverride == c.hasRecurrenceId) {
                    ic = child;
                    break;
                }
            }
        }
        const icalcomponent_kind kind =
            c.name == "VEVENT" ? ICAL_VEVENT_COMPONENT : ICAL_VTODO_COMPONENT;
        if (ic == nullptr || icalcomponent_isa(ic) != kind) {
            reader.Problem(c, "the component could not be read");
            continue;
        }
        if (c.hasRecurrenceId && oids[i] == 0) {
            overrides.emplace_back(ic, i);
        } else if (kind == ICAL_VEVENT_COMPONENT) {
            reader.ReadEvent(ic, c, oids[i]);
        } else {
            reader.ReadTodo(ic, c, oids[i]);
        }
    }
    for (const auto& [ic, i] : overrides) {
        if (!reader.ReadOverride(ic, cal.components[i])) {
            reader.Problem(cal.components[i],
                           "a changed occurrence of a series that is not shown as one");
        }
    }
    int highest = 999;
    for (const int oid : oids) {
        highest = std::max(highest, oid);
    }
    result.store.nextOid = highest + 1;
    result.ok = result.problems.empty();
    result.error = result.ok ? std::string() : result.problems.front();
    return result;
}

namespace {

struct Located {
    Calendar cal;
    std::optional<std::size_t> index; // of the master component
};

// The component a change names: the one with the very text it was read
// with (where it was, of equal ones), else (the file changed since) the
// first of its UID.
Located Locate(std::string_view text, const StoreChange& change) {
    Located found{ics::ScanCalendar(text), std::nullopt};
    const std::string uid = ics::UidOf(change.recordText);
    const std::string kind = change.task ? "VTODO" : "VEVENT";
    enum Match { kTextInPlace, kText, kUid };
    for (const Match match : {kTextInPlace, kText, kUid}) {
        for (std::size_t i = 0; i < found.cal.components.size() && !found.index; ++i) {
            const Component& c = found.cal.components[i];
            // A record with RECURRENCE-ID (an occurrence whose series is not
            // in the file) is found by its text only.
            if (c.name != kind || (match == kUid && c.hasRecurrenceId)) {
                continue;
            }
            const bool sameText = text.substr(c.begin, c.end - c.begin) == change.recordText;
            const bool same = match == kTextInPlace ? sameText && c.begin == change.at
                              : match == kText      ? sameText
                                                    : !uid.empty() && c.uid == uid;
            if (same) {
                found.index = i;
            }
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

// Removes the components (given by index), last first so the offsets hold.
std::string Without(std::string_view text, const Calendar& cal, std::vector<std::size_t> indexes) {
    std::sort(indexes.rbegin(), indexes.rend());
    // An occurrence whose series is not in the file is its own record and
    // one of its UID's overrides too: cut once.
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::string out(text);
    for (const std::size_t i : indexes) {
        out.erase(cal.components[i].begin, cal.components[i].end - cal.components[i].begin);
    }
    return out;
}

// The overrides of the series `uid` whose original day is `day` (any day
// when nullopt).
std::vector<std::size_t> OverridesOf(std::string_view text, const Calendar& cal,
                                     const std::string& uid, std::optional<int> day) {
    std::vector<std::size_t> out;
    CalendarPtr root;
    for (std::size_t i = 0; i < cal.components.size(); ++i) {
        const Component& c = cal.components[i];
        if (c.name != "VEVENT" || !c.hasRecurrenceId || c.uid != uid || uid.empty()) {
            continue;
        }
        if (!day) {
            out.push_back(i);
            continue;
        }
        if (!root) {
            root = ParseCalendar(text);
        }
        const std::vector<icalcomponent*> children =
            root ? Children(root.get()) : std::vector<icalcomponent*>();
        if (Agrees(cal, children) &&
            DayOf(LocalMinutes(TimeOf(children[i], ICAL_RECURRENCEID_PROPERTY))) == *day) {
            out.push_back(i);
        }
    }
    return out;
}

// The master component's DTSTART line and icalcomponent, for the EXDATE of
// one of its occurrences.
std::optional<ChangedText> ExcludeOccurrence(std::string_view text, const Calendar& cal,
                                             std::size_t index, int day) {
    const Component& master = cal.components[index];
    const std::string masterText(text.substr(master.begin, master.end - master.begin));
    const CalendarPtr root = ParseCalendar(text);
    if (!root) {
        return std::nullopt;
    }
    const std::vector<icalcomponent*> children = Children(root.get());
    if (!Agrees(cal, children)) {
        return std::nullopt;
    }
    ics::ComponentEdit edit{masterText, cal.eol};
    const std::optional<std::string> value = OccurrenceValueOn(children[index], day);
    if (!value) {
        return std::nullopt;
    }
    // In the form DTSTART was read in: a day, UTC, its zone, or local.
    std::string line = "EXDATE";
    const icaltimetype start = TimeOf(children[index], ICAL_DTSTART_PROPERTY);
    if (start.is_date) {
        line += ";VALUE=DATE";
    } else if (start.zone != nullptr && !icaltime_is_utc(start)) {
        const char* tzid = icaltimezone_get_tzid(const_cast<icaltimezone*>(start.zone));
        const std::string name = tzid == nullptr ? "" : tzid;
        if (name.empty() || name.find_first_of("\":;,") != std::string::npos) {
            return std::nullopt; // a zone name this line could not carry
        }
        line += ";TZID=" + name;
    }
    edit.Add(line + ":" + *value);
    std::vector<std::size_t> moved = OverridesOf(text, cal, master.uid, day);
    std::string out = Splice(text, master.begin, master.end, edit.text);
    // The overrides come after or before the master; cut them from the
    // spliced text with offsets corrected for the master's growth.
    const std::ptrdiff_t grown = static_cast<std::ptrdiff_t>(edit.text.size()) -
                                 static_cast<std::ptrdiff_t>(master.end - master.begin);
    std::sort(moved.rbegin(), moved.rend());
    for (const std::size_t i : moved) {
        const Component& c = cal.components[i];
        const std::size_t shift = c.begin > master.begin ? static_cast<std::size_t>(grown) : 0;
        out.erase(c.begin + shift, c.end - c.begin);
    }
    return ChangedText{std::move(out), 0};
}

std::string NewUid(std::string_view text, const IcsClock& clock, std::string_view seed) {
    const Calendar cal = ics::ScanCalendar(text);
    const std::string stamp = UtcStamp(clock.utcSeconds);
    for (unsigned n = 0;; ++n) {
        char hash[16];
        std::snprintf(hash, sizeof hash, "%08x",
                      Fnv(std::string(seed) + stamp + std::to_string(n)));
        const std::string uid = "vantrel-" + stamp + "-" + hash + "@vantrel";
        const bool taken = std::any_of(cal.components.begin(), cal.components.end(),
                                       [&](const Component& c) { return c.uid == uid; });
        if (!taken) {
            return uid;
        }
    }
}

std::optional<ChangedText> AddRecord(std::string_view text, const StoreChange& change,
                                     const IcsClock& clock) {
    const ParsedStore parsed = ParseStore(change.record);
    if (!parsed.ok || parsed.store.appointments.size() + parsed.store.tasks.size() != 1) {
        return std::nullopt;
    }
    const std::string eol = text.empty() ? "\r\n" : ics::ScanCalendar(text).eol;
    const std::string uid = NewUid(text, clock, change.record);
    std::string component;
    const auto line = [&](const std::string& l) { component += ics::Folded(l, eol); };
    if (!parsed.store.appointments.empty()) {
        const Appointment& a = parsed.store.appointments.front();
        line("BEGIN:VEVENT");
        line("UID:" + uid);
        line("DTSTAMP:" + UtcStamp(clock.utcSeconds));
        const std::string date = a.allDay ? ";VALUE=DATE" : "";
        line("DTSTART" + date + ":" + LocalStamp(a.start, !a.allDay));
        line("DTEND" + date + ":" + LocalStamp(a.end, !a.allDay));
        line("SUMMARY:" + ics::Escaped(ToUtf8(a.subject)));
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
        line("SUMMARY:" + ics::Escaped(ToUtf8(t.subject)));
        line("STATUS:NEEDS-ACTION");
        line("END:VTODO");
    }
    std::string out;
    const Calendar cal = ics::ScanCalendar(text);
    if (cal.found) {
        const CalendarPtr root = ParseCalendar(text);
        if (!cal.paired || !root || !Agrees(cal, Children(root.get()))) {
            return std::nullopt;
        }
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
    const Calendar after = ics::ScanCalendar(out);
    const std::vector<int> oids = AssignOids(out, after);
    for (std::size_t i = 0; i < after.components.size(); ++i) {
        if (after.components[i].uid == uid) {
            return ChangedText{std::move(out), oids[i]};
        }
    }
    return std::nullopt;
}

// A DATE or DATE-TIME property moved by whole days, in its own form.
std::string ShiftedLine(const std::string& line, int days) {
    icaltimetype t = icaltime_from_string(std::string(ics::ValueOf(line)).c_str());
    if (icaltime_is_null_time(t)) {
        return line;
    }
    icaltime_adjust(&t, days, 0, 0, 0);
    const std::size_t colon = line.size() - ics::ValueOf(line).size();
    return line.substr(0, colon) + icaltime_as_ical_string(t);
}

} // namespace

std::optional<ChangedText> ApplyIcsChange(std::string_view text, const StoreChange& change,
                                          const IcsClock& clock) {
    if (change.kind == StoreChange::kAdd) {
        return AddRecord(text, change, clock);
    }
    const Located found = Locate(text, change);
    if (!found.index) {
        return std::nullopt;
    }
    const Calendar& cal = found.cal;
    if (const CalendarPtr root = ParseCalendar(text);
        !cal.paired || !root || !Agrees(cal, Children(root.get()))) {
        return std::nullopt; // a file libical reads otherwise: no byte of it is changed
    }
    const Component& c = cal.components[*found.index];
    ics::ComponentEdit edit{std::string(text.substr(c.begin, c.end - c.begin)), cal.eol};
    switch (change.kind) {
    case StoreChange::kDelete: {
        // A series shown by one occurrence loses that occurrence only.
        if (!change.task && !edit.Get("RRULE").empty()) {
            const ParsedStore parsed = ParseIcsStore(text, clock);
            for (const Appointment& a : parsed.store.appointments) {
                if (a.span.begin == c.begin && !a.recurrence) {
                    const int day = change.day != 0 ? change.day : DayOf(a.start);
                    return ExcludeOccurrence(text, cal, *found.index, day);
                }
            }
        }
        std::vector<std::size_t> gone = OverridesOf(text, cal, c.uid, std::nullopt);
        gone.push_back(*found.index);
        return ChangedText{Without(text, cal, gone), 0};
    }
    case StoreChange::kSkipOccurrence:
        return ExcludeOccurrence(text, cal, *found.index, change.day);
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
        const ParsedStore parsed = ParseIcsStore(text, clock);
        const auto t = std::find_if(parsed.store.tasks.begin(), parsed.store.tasks.end(),
                                    [&](const Task& task) { return task.span.begin == c.begin; });
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

} // namespace vantrel::store
