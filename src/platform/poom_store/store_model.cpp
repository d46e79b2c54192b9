#include "platform/poom_store/store_model.h"

#include "model/date_parse.h"
#include "text/utf8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace vantrel::store {
namespace {

const int kVariantEpoch = DayNumberOf(1899, 12, 30);

constexpr const char* kBusyNames[] = {"free", "tentative", "busy", "out-of-office"};
constexpr const char* kSensitivityNames[] = {"normal", "personal", "private", "confidential"};
constexpr const char* kImportanceNames[] = {"low", "normal", "high"};
constexpr const char* kDayNames[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < s.size()) {
        while (at < s.size() && s[at] == ' ') {
            ++at;
        }
        std::size_t end = s.find(' ', at);
        end = end == std::string_view::npos ? s.size() : end;
        if (end > at) {
            words.push_back(s.substr(at, end - at));
        }
        at = end;
    }
    return words;
}

std::optional<int> Number(std::string_view s) {
    if (s.empty() || s.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    bool negative = s.front() == '-';
    for (std::size_t i = negative ? 1 : 0; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

template <std::size_t N>
std::optional<int> Named(std::string_view s, const char* const (&names)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (s == names[i]) {
            return static_cast<int>(i);
        }
    }
    const std::optional<int> n = Number(s);
    return n && *n >= 0 && *n < static_cast<int>(N) ? n : std::nullopt;
}

struct Moment {
    int day = 0;
    bool timed = false;
    int hour = 0;
    int minute = 0;
};

std::optional<Moment> MomentText(std::string_view s) {
    const ParsedDateTime p = ParseDateTime(s);
    if (!p.ok || !p.value.HasDate()) {
        return std::nullopt;
    }
    Moment m;
    m.day = DayNumberOf(p.value);
    m.timed = p.value.HasTime();
    m.hour = m.timed ? p.value.hour : 0;
    m.minute = m.timed ? p.value.minute : 0;
    return m;
}

std::optional<int> MaskText(std::string_view s) {
    if (s == "weekdays") {
        return kMaskWeekdays;
    }
    if (s == "weekend") {
        return kMaskWeekend;
    }
    if (s == "day") {
        return kMaskEveryDay;
    }
    int mask = 0;
    std::size_t at = 0;
    while (at <= s.size()) {
        std::size_t end = s.find(',', at);
        end = end == std::string_view::npos ? s.size() : end;
        const std::optional<int> day = Named(s.substr(at, end - at), kDayNames);
        if (!day) {
            return std::nullopt;
        }
        mask |= 1 << *day;
        at = end + 1;
    }
    return mask;
}

// "weekly every 2 on mon,wed", "daily weekdays", "monthly-nth every 1 instance 2 on tue" ...
std::optional<RecurrenceValues> RepeatText(std::string_view s) {
    const std::vector<std::string_view> w = Words(s);
    if (w.empty()) {
        return std::nullopt;
    }
    static const std::map<std::string_view, int> kTypes{
        {"daily", kRecursDaily},     {"weekly", kRecursWeekly},
        {"monthly", kRecursMonthly}, {"monthly-nth", kRecursMonthNth},
        {"yearly", kRecursYearly},   {"yearly-nth", kRecursYearNth}};
    const auto type = kTypes.find(w[0]);
    if (type == kTypes.end()) {
        return std::nullopt;
    }
    RecurrenceValues r;
    r.type = type->second;
    for (std::size_t i = 1; i < w.size(); ++i) {
        if (w[i] == "weekdays" && r.type == kRecursDaily) {
            r.interval = std::nullopt;
            r.dayOfWeekMask = kMaskWeekdays;
            continue;
        }
        if (i + 1 >= w.size()) {
            return std::nullopt;
        }
        const std::string_view key = w[i];
        const std::string_view value = w[++i];
        std::optional<int> n = key == "on" ? MaskText(value) : Number(value);
        if (!n) {
            return std::nullopt;
        }
        if (key == "every" && *n >= 1) {
            r.interval = *n;
        } else if (key == "on") {
            r.dayOfWeekMask = *n;
        } else if (key == "day") {
            r.dayOfMonth = *n;
        } else if (key == "instance") {
            r.instance = *n;
        } else if (key == "month" && *n >= 1 && *n <= 12) {
            r.monthOfYear = *n;
        } else {
            return std::nullopt;
        }
    }
    return r;
}

std::string DayText(int day) {
    const CalendarDate d = DateOfDayNumber(day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string MomentTextOf(Minutes m, bool withTime) {
    std::string text = DayText(DayOf(m));
    if (withTime) {
        const int minutes = static_cast<int>(m - static_cast<Minutes>(DayOf(m)) * 1440);
        char clock[16];
        std::snprintf(clock, sizeof clock, " %02d:%02d", minutes / 60, minutes % 60);
        text += clock;
    }
    return text;
}

std::string MaskTextOf(int mask) {
    if (mask == kMaskWeekdays) {
        return "weekdays";
    }
    if (mask == kMaskWeekend) {
        return "weekend";
    }
    if (mask == kMaskEveryDay) {
        return "day";
    }
    std::string text;
    for (int d = 0; d < 7; ++d) {
        if ((mask >> d) & 1) {
            text += (text.empty() ? "" : ",") + std::string(kDayNames[d]);
        }
    }
    return text.empty() ? "sun" : text;
}

std::string RepeatTextOf(const RecurrenceValues& r) {
    std::ostringstream out;
    const int every = r.interval.value_or(1);
    switch (r.type) {
    case kRecursDaily:
        if (!r.interval) {
            out << "daily weekdays";
        } else {
            out << "daily every " << every;
        }
        break;
    case kRecursWeekly:
        out << "weekly every " << every << " on " << MaskTextOf(r.dayOfWeekMask);
        break;
    case kRecursMonthly:
        out << "monthly every " << every << " day " << r.dayOfMonth;
        break;
    case kRecursMonthNth:
        out << "monthly-nth every " << every << " instance " << r.instance << " on "
            << MaskTextOf(r.dayOfWeekMask);
        break;
    case kRecursYearly:
        out << "yearly month " << r.monthOfYear << " day " << r.dayOfMonth;
        break;
    default:
        out << "yearly-nth month " << r.monthOfYear << " instance " << r.instance << " on "
            << MaskTextOf(r.dayOfWeekMask);
        break;
    }
    return out.str();
}

void SetPatternStart(std::optional<RecurrenceValues>& r, int day) {
    if (r) {
        const CalendarDate d = DateOfDayNumber(day);
        r->patternStart = d;
    }
}

} // namespace

double VariantOf(Minutes m) {
    return static_cast<double>(m - static_cast<Minutes>(kVariantEpoch) * 1440) / 1440.0;
}

Minutes MinutesOfVariant(double v) {
    return static_cast<Minutes>(std::llround(v * 1440.0)) +
           static_cast<Minutes>(kVariantEpoch) * 1440;
}

ParsedStore ParseStore(std::string_view text) {
    ParsedStore result;
    Store& store = result.store;
    enum { kNone, kAppointment, kTask } section = kNone;
    bool startTimed = true;
    int lineNumber = 0;
    const auto fail = [&](const std::string& why) {
        result.ok = false;
        result.error = "line " + std::to_string(lineNumber) + ": " + why;
        return result;
    };
    const auto finishAppointment = [&] {
        if (section == kAppointment) {
            Appointment& a = store.appointments.back();
            SetPatternStart(a.recurrence, DayOf(a.start));
            a.allDay = a.allDay || !startTimed;
            if (a.end < a.start) {
                a.end = a.start;
            }
        }
        if (section == kTask) {
            Task& t = store.tasks.back();
            SetPatternStart(t.recurrence, t.startDay.value_or(t.dueDay.value_or(0)));
        }
    };
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = Trim(text.substr(at, end - at));
        at = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line == "[appointment]" || line == "[task]") {
            finishAppointment();
            section = line == "[task]" ? kTask : kAppointment;
            if (section == kTask) {
                store.tasks.emplace_back();
            } else {
                store.appointments.emplace_back();
                startTimed = true;
            }
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || section == kNone) {
            return fail("expected [appointment], [task] or \"key: value\"");
        }
        const std::string_view key = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        const std::u16string wide = FromUtf8(value);
        bool ok = true;
        if (key == "oid") {
            const std::optional<int> n = Number(value);
            ok = n && *n > 0;
            if (ok) {
                (section == kTask ? store.tasks.back().oid : store.appointments.back().oid) = *n;
            }
        } else if (key == "subject") {
            (section == kTask ? store.tasks.back().subject : store.appointments.back().subject) =
                wide;
        } else if (key == "categories") {
            (section == kTask ? store.tasks.back().categories
                              : store.appointments.back().categories) = wide;
        } else if (key == "sensitivity") {
            const std::optional<int> n = Named(value, kSensitivityNames);
            ok = n.has_value();
            if (ok) {
                (section == kTask ? store.tasks.back().sensitivity
                                  : store.appointments.back().sensitivity) = *n;
            }
        } else if (key == "repeat") {
            std::optional<RecurrenceValues> r = RepeatText(value);
            ok = r.has_value();
            (section == kTask ? store.tasks.back().recurrence
                              : store.appointments.back().recurrence) = r;
        } else if (key == "until") {
            const std::optional<Moment> m = MomentText(value);
            std::optional<RecurrenceValues>& r = section == kTask
                                                     ? store.tasks.back().recurrence
                                                     : store.appointments.back().recurrence;
            ok = m && r;
            if (ok) {
                r->noEndDate = false;
                r->patternEnd = DateOfDayNumber(m->day);
            }
        } else if (section == kAppointment) {
            Appointment& a = store.appointments.back();
            if (key == "location") {
                a.location = wide;
            } else if (key == "start" || key == "end") {
                const std::optional<Moment> m = MomentText(value);
                ok = m.has_value();
                if (ok) {
                    (key == "start" ? a.start : a.end) = MomentOf(m->day, m->hour, m->minute);
                    if (key == "start") {
                        startTimed = m->timed;
                    } else if (!m->timed) {
                        a.end = MomentOf(m->day + 1, 0, 0); // an all-day end is exclusive
                    }
                }
            } else if (key == "all-day") {
                ok = value == "yes" || value == "no";
                a.allDay = value == "yes";
            } else if (key == "busy") {
                const std::optional<int> n = Named(value, kBusyNames);
                ok = n.has_value();
                a.busyStatus = n.value_or(2);
            } else if (key == "skip" || key == "move") {
                const std::size_t arrow = value.find("->");
                const std::optional<Moment> day = MomentText(Trim(value.substr(0, arrow)));
                Exception ex;
                ok = day.has_value() && (key == "skip") == (arrow == std::string_view::npos);
                if (ok) {
                    ex.originalDay = day->day;
                    ex.deleted = key == "skip";
                }
                if (ok && !ex.deleted) {
                    // "ORIGINAL -> START - END [| SUBJECT]"
                    std::string_view rest = Trim(value.substr(arrow + 2));
                    const std::size_t bar = rest.find('|');
                    if (bar != std::string_view::npos) {
                        ex.subject = FromUtf8(Trim(rest.substr(bar + 1)));
                        rest = Trim(rest.substr(0, bar));
                    }
                    const std::size_t dash = rest.find(" - ");
                    const std::optional<Moment> s = dash == std::string_view::npos
                                                        ? std::nullopt
                                                        : MomentText(rest.substr(0, dash));
                    const std::optional<Moment> e = dash == std::string_view::npos
                                                        ? std::nullopt
                                                        : MomentText(rest.substr(dash + 3));
                    ok = s && e;
                    if (ok) {
                        ex.start = MomentOf(s->day, s->hour, s->minute);
                        ex.end = std::max(ex.start, MomentOf(e->day, e->hour, e->minute));
                    }
                }
                if (ok) {
                    a.exceptions.push_back(ex);
                }
            } else {
                return fail("unknown appointment key '" + std::string(key) + "'");
            }
        } else {
            Task& t = store.tasks.back();
            if (key == "start" || key == "due") {
                const std::optional<Moment> m = value == "none" ? std::nullopt : MomentText(value);
                ok = value == "none" || m.has_value();
                (key == "start" ? t.startDay : t.dueDay) =
                    m ? std::optional<int>(m->day) : std::nullopt;
            } else if (key == "complete") {
                const std::vector<std::string_view> w = Words(value);
                ok = !w.empty() && (w[0] == "yes" || w[0] == "no") && w.size() <= 2;
                t.complete = ok && w[0] == "yes";
                if (ok && w.size() == 2) {
                    const std::optional<Moment> m = MomentText(w[1]);
                    ok = m.has_value();
                    t.completedDay = m ? std::optional<int>(m->day) : std::nullopt;
                }
            } else if (key == "importance") {
                const std::optional<int> n = Named(value, kImportanceNames);
                ok = n.has_value();
                t.importance = n.value_or(1);
            } else {
                return fail("unknown task key '" + std::string(key) + "'");
            }
        }
        if (!ok) {
            return fail("bad value for '" + std::string(key) + "': " + std::string(value));
        }
    }
    finishAppointment();
    // Oids: kept when given and unique, else assigned.
    std::vector<int> used;
    for (const Appointment& a : store.appointments) {
        used.push_back(a.oid);
    }
    for (const Task& t : store.tasks) {
        used.push_back(t.oid);
    }
    store.nextOid = 1000;
    for (const int oid : used) {
        store.nextOid = std::max(store.nextOid, oid + 1);
    }
    std::vector<int> seen;
    const auto assign = [&](int& oid) {
        if (oid <= 0 || std::find(seen.begin(), seen.end(), oid) != seen.end()) {
            oid = store.nextOid++;
        }
        seen.push_back(oid);
    };
    for (Appointment& a : store.appointments) {
        assign(a.oid);
    }
    for (Task& t : store.tasks) {
        assign(t.oid);
    }
    result.ok = true;
    return result;
}

std::string FormatStore(const Store& store) {
    std::ostringstream out;
    out << "# Vantrel replacement Pocket Outlook store (UTF-8). See README.\n";
    for (const Appointment& a : store.appointments) {
        out << "\n[appointment]\noid: " << a.oid << "\nsubject: " << ToUtf8(a.subject) << '\n';
        if (!a.location.empty()) {
            out << "location: " << ToUtf8(a.location) << '\n';
        }
        out << "start: " << MomentTextOf(a.start, !a.allDay) << '\n';
        out << "end: " << MomentTextOf(a.allDay ? a.end - 1440 : a.end, !a.allDay) << '\n';
        if (a.allDay) {
            out << "all-day: yes\n";
        }
        out << "busy: " << kBusyNames[std::clamp(a.busyStatus, 0, 3)] << '\n';
        if (a.sensitivity != 0) {
            out << "sensitivity: " << kSensitivityNames[std::clamp(a.sensitivity, 0, 3)] << '\n';
        }
        if (!a.categories.empty()) {
            out << "categories: " << ToUtf8(a.categories) << '\n';
        }
        if (a.recurrence) {
            out << "repeat: " << RepeatTextOf(*a.recurrence) << '\n';
            if (!a.recurrence->noEndDate) {
                const CalendarDate e = a.recurrence->patternEnd;
                out << "until: " << DayText(DayNumberOf(e.year, e.month, e.day)) << '\n';
            }
        }
        for (const Exception& ex : a.exceptions) {
            if (ex.deleted) {
                out << "skip: " << DayText(ex.originalDay) << '\n';
            } else {
                out << "move: " << DayText(ex.originalDay) << " -> " << MomentTextOf(ex.start, true)
                    << " - " << MomentTextOf(ex.end, true);
                if (!ex.subject.empty()) {
                    out << " | " << ToUtf8(ex.subject);
                }
                out << '\n';
            }
        }
    }
    for (const Task& t : store.tasks) {
        out << "\n[task]\noid: " << t.oid << "\nsubject: " << ToUtf8(t.subject) << '\n';
        out << "start: " << (t.startDay ? DayText(*t.startDay) : "none") << '\n';
        out << "due: " << (t.dueDay ? DayText(*t.dueDay) : "none") << '\n';
        out << "complete: " << (t.complete ? "yes" : "no");
        if (t.complete && t.completedDay) {
            out << ' ' << DayText(*t.completedDay);
        }
        out << "\nimportance: " << kImportanceNames[std::clamp(t.importance, 0, 2)] << '\n';
        if (t.sensitivity != 0) {
            out << "sensitivity: " << kSensitivityNames[std::clamp(t.sensitivity, 0, 3)] << '\n';
        }
        if (!t.categories.empty()) {
            out << "categories: " << ToUtf8(t.categories) << '\n';
        }
        if (t.recurrence) {
            out << "repeat: " << RepeatTextOf(*t.recurrence) << '\n';
            if (!t.recurrence->noEndDate) {
                const CalendarDate e = t.recurrence->patternEnd;
                out << "until: " << DayText(DayNumberOf(e.year, e.month, e.day)) << '\n';
            }
        }
    }
    return out.str();
}

std::vector<Occurrence> OccurrencesStarting(const Appointment& a, int fromDay, int toDay) {
    std::vector<Occurrence> found;
    if (!a.recurrence) {
        if (DayOf(a.start) >= fromDay && DayOf(a.start) <= toDay) {
            found.push_back({&a, a.start, a.end, a.subject, DayOf(a.start)});
        }
        return found;
    }
    const Minutes timeOfDay = a.start - static_cast<Minutes>(DayOf(a.start)) * 1440;
    const Minutes duration = a.end - a.start;
    for (int day = fromDay; day <= toDay; ++day) {
        const bool excepted = std::any_of(a.exceptions.begin(), a.exceptions.end(),
                                          [&](const Exception& e) { return e.originalDay == day; });
        if (!excepted && OccursOn(*a.recurrence, day)) {
            const Minutes start = static_cast<Minutes>(day) * 1440 + timeOfDay;
            found.push_back({&a, start, start + duration, a.subject, day});
        }
    }
    for (const Exception& e : a.exceptions) {
        if (!e.deleted && DayOf(e.start) >= fromDay && DayOf(e.start) <= toDay) {
            found.push_back(
                {&a, e.start, e.end, e.subject.empty() ? a.subject : e.subject, e.originalDay});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Occurrence& x, const Occurrence& y) { return x.start < y.start; });
    return found;
}

std::optional<Occurrence> OccurrenceOn(const Appointment& a, int day) {
    std::vector<Occurrence> found = OccurrencesStarting(a, day, day);
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front();
}

std::optional<std::vector<Condition>> ParseQuery(std::u16string_view text) {
    const std::string s = ToUtf8(text);
    std::vector<Condition> query;
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < s.size() && s[at] == ' ') {
            ++at;
        }
    };
    while (true) {
        skipBlanks();
        Condition c;
        if (s.compare(at, 7, "[Start]") == 0) {
            c.field = Condition::kStart;
            at += 7;
        } else if (s.compare(at, 5, "[End]") == 0) {
            c.field = Condition::kEnd;
            at += 5;
        } else if (s.compare(at, 5, "[Oid]") == 0) {
            c.field = Condition::kOid;
            at += 5;
        } else {
            return std::nullopt;
        }
        skipBlanks();
        static const std::pair<const char*, Condition::Op> kOps[] = {
            {">=", Condition::kGreaterEqual},
            {"<=", Condition::kLessEqual},
            {">", Condition::kGreater},
            {"<", Condition::kLess},
            {"=", Condition::kEqual}};
        bool opFound = false;
        for (const auto& [name, op] : kOps) {
            const std::size_t length = std::char_traits<char>::length(name);
            if (s.compare(at, length, name) == 0) {
                c.op = op;
                at += length;
                opFound = true;
                break;
            }
        }
        if (!opFound) {
            return std::nullopt;
        }
        skipBlanks();
        const bool quoted = at < s.size() && s[at] == '"';
        at += quoted ? 1 : 0;
        at += at < s.size() && s[at] == '<' ? 1 : 0;
        const std::size_t numberStart = at;
        while (at < s.size() &&
               (std::isdigit(static_cast<unsigned char>(s[at])) || s[at] == '.' || s[at] == '-')) {
            ++at;
        }
        if (at == numberStart) {
            return std::nullopt;
        }
        c.value = std::strtod(s.substr(numberStart, at - numberStart).c_str(), nullptr);
        if (quoted) {
            if (at >= s.size() || s[at] != '"') {
                return std::nullopt;
            }
            ++at;
        }
        query.push_back(c);
        skipBlanks();
        if (at == s.size()) {
            return query;
        }
        if (s.compare(at, 3, "AND") != 0) {
            return std::nullopt;
        }
        at += 3;
    }
}

bool Matches(const std::vector<Condition>& query, Minutes start, Minutes end, int oid) {
    for (const Condition& c : query) {
        const Minutes value = c.field == Condition::kOid
                                  ? static_cast<Minutes>(std::llround(c.value))
                                  : MinutesOfVariant(c.value);
        const Minutes have = c.field == Condition::kStart ? start
                             : c.field == Condition::kEnd ? end
                                                          : static_cast<Minutes>(oid);
        bool ok = false;
        switch (c.op) {
        case Condition::kLess:
            ok = have < value;
            break;
        case Condition::kLessEqual:
            ok = have <= value;
            break;
        case Condition::kEqual:
            ok = have == value;
            break;
        case Condition::kGreaterEqual:
            ok = have >= value;
            break;
        case Condition::kGreater:
            ok = have > value;
            break;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

std::optional<int> NextTaskDay(const Task& task) {
    if (!task.recurrence) {
        return std::nullopt;
    }
    const int current = task.dueDay.value_or(task.startDay.value_or(0));
    const CalendarDate next = DateOfDayNumber(current + 1);
    SystemTime date = SystemTimeAt(next.year, next.month, next.day, 0, 0);
    if (NextOccurrence(*task.recurrence, date) == 0) {
        return std::nullopt;
    }
    return DayNumberOf(date);
}

} // namespace vantrel::store
