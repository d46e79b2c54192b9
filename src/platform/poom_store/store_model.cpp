#include "platform/poom_store/store_model.h"

#include "model/date_parse.h"
#include "model/local_zone.h"
#include "text/utf8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>
#include <unordered_set>

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

// Why the store cannot represent a series, or nullptr.
const char* RecurrenceProblem(const RecurrenceValues& r) {
    const bool masked =
        r.type == kRecursWeekly || r.type == kRecursMonthNth || r.type == kRecursYearNth;
    if (masked && (r.dayOfWeekMask & kMaskEveryDay) == 0) {
        return "the series names no days of the week";
    }
    if ((r.type == kRecursMonthly || r.type == kRecursYearly) &&
        (r.dayOfMonth < 1 || r.dayOfMonth > 31)) {
        return "the series names no day of the month";
    }
    if ((r.type == kRecursYearly || r.type == kRecursYearNth) &&
        (r.monthOfYear < 1 || r.monthOfYear > 12)) {
        return "the series names no month";
    }
    if ((r.type == kRecursMonthNth || r.type == kRecursYearNth) &&
        (r.instance < 1 || r.instance > 5)) {
        return "the series names no instance (1-5)";
    }
    return nullptr;
}

// "ORIGINAL" (skip) or "ORIGINAL -> START - END [| SUBJECT]" (move).
std::optional<Exception> ExceptionText(bool skip, std::string_view value) {
    const std::size_t arrow = value.find("->");
    const std::optional<Moment> day = MomentText(Trim(value.substr(0, arrow)));
    if (!day || skip != (arrow == std::string_view::npos)) {
        return std::nullopt;
    }
    Exception ex;
    ex.originalDay = day->day;
    ex.deleted = skip;
    if (skip) {
        return ex;
    }
    std::string_view rest = Trim(value.substr(arrow + 2));
    const std::size_t bar = rest.find('|');
    if (bar != std::string_view::npos) {
        ex.subject = FromUtf8(Trim(rest.substr(bar + 1)));
        rest = Trim(rest.substr(0, bar));
    }
    const std::size_t dash = rest.find(" - ");
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<Moment> s = MomentText(rest.substr(0, dash));
    const std::optional<Moment> e = MomentText(rest.substr(dash + 3));
    if (!s || !e) {
        return std::nullopt;
    }
    ex.start = MomentOf(s->day, s->hour, s->minute);
    ex.end = std::max(ex.start, MomentOf(e->day, e->hour, e->minute));
    return ex;
}

} // namespace

double VariantOf(Minutes m) {
    return static_cast<double>(m - static_cast<Minutes>(kVariantEpoch) * 1440) / 1440.0;
}

Minutes MinutesOfVariant(double v) {
    return static_cast<Minutes>(std::llround(std::clamp(v, -1e9, 1e9) * 1440.0)) +
           static_cast<Minutes>(kVariantEpoch) * 1440;
}

int DayOfVariant(double v) {
    const double day = std::floor(std::clamp(v, -1e8, 1e8));
    return kVariantEpoch + static_cast<int>(day);
}

ParsedStore ParseStore(std::string_view text) {
    ParsedStore result;
    Store& store = result.store;
    enum { kNone, kAppointment, kTask } section = kNone;
    bool startTimed = true, hasStart = false, setAside = false;
    int lineNumber = 0, headerLine = 0, repeatLine = 0;
    std::size_t recordBegin = 0, recordEnd = 0;
    std::vector<int> named; // Oids the file gives, set-aside records' too
    const auto problem = [&](int line, const std::string& why) {
        result.problems.push_back("line " + std::to_string(line) + ": " + why);
        setAside = true;
    };
    const auto finishRecord = [&] {
        if (section == kNone) {
            return;
        }
        std::optional<RecurrenceValues>& r =
            section == kTask ? store.tasks.back().recurrence : store.appointments.back().recurrence;
        if (!setAside && section == kAppointment && !hasStart) {
            problem(headerLine, "an appointment needs a start");
        }
        if (!setAside && r) {
            if (const char* why = RecurrenceProblem(*r)) {
                problem(repeatLine, why);
            }
        }
        if (setAside) {
            section == kTask ? store.tasks.pop_back() : store.appointments.pop_back();
            return;
        }
        RecordSpan& span =
            section == kTask ? store.tasks.back().span : store.appointments.back().span;
        span.begin = recordBegin;
        span.end = recordEnd;
        span.line = headerLine;
        if (section == kAppointment) {
            Appointment& a = store.appointments.back();
            SetPatternStart(a.recurrence, DayOf(a.start));
            a.allDay = a.allDay || !startTimed;
            if (a.end < a.start) {
                a.end = a.start;
            }
        } else {
            Task& t = store.tasks.back();
            SetPatternStart(t.recurrence, t.startDay.value_or(t.dueDay.value_or(0)));
        }
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lineBegin = at;
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = Trim(text.substr(at, end - at));
        at = std::min(end + 1, text.size());
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line == "[appointment]" || line == "[task]") {
            finishRecord();
            section = line == "[task]" ? kTask : kAppointment;
            if (section == kTask) {
                store.tasks.emplace_back();
            } else {
                store.appointments.emplace_back();
            }
            startTimed = true;
            hasStart = false;
            setAside = false;
            headerLine = lineNumber;
            repeatLine = 0;
            recordBegin = lineBegin;
            recordEnd = at;
            continue;
        }
        const std::size_t colon = line.find(':');
        if (section == kNone) {
            // Not in any record: reported, and kept in the file as it is.
            result.problems.push_back("line " + std::to_string(lineNumber) +
                                      ": expected [appointment], [task] or a comment");
            continue;
        }
        recordEnd = at;
        if (setAside) {
            continue;
        }
        if (colon == std::string_view::npos) {
            problem(lineNumber, "expected \"key: value\"");
            continue;
        }
        const std::string_view key = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        const std::u16string wide = FromUtf8(value);
        bool ok = true;
        if (key == "oid") {
            const std::optional<int> n = Number(value);
            ok = n && *n > 0;
            if (ok) {
                RecordSpan& span =
                    section == kTask ? store.tasks.back().span : store.appointments.back().span;
                (section == kTask ? store.tasks.back().oid : store.appointments.back().oid) = *n;
                span.oidInFile = true;
                named.push_back(*n);
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
            std::optional<RecurrenceValues>& r = section == kTask
                                                     ? store.tasks.back().recurrence
                                                     : store.appointments.back().recurrence;
            r = RepeatText(value);
            ok = r.has_value();
            repeatLine = lineNumber;
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
                        hasStart = true;
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
                const std::optional<Exception> ex = ExceptionText(key == "skip", value);
                ok = ex.has_value();
                if (ok) {
                    a.exceptions.push_back(*ex);
                }
            }
            // Other keys are kept in the file and not read.
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
                t.completedDay.reset();
                if (ok && w.size() == 2) {
                    const std::optional<Moment> m = MomentText(w[1]);
                    ok = m.has_value();
                    t.completedDay = m ? std::optional<int>(m->day) : std::nullopt;
                }
            } else if (key == "importance") {
                const std::optional<int> n = Named(value, kImportanceNames);
                ok = n.has_value();
                t.importance = n.value_or(1);
            }
        }
        if (!ok) {
            problem(lineNumber, "bad value for '" + std::string(key) + "': " + std::string(value));
        }
    }
    finishRecord();
    // Oids: kept when given and unique, else assigned past every Oid the
    // file names.
    store.nextOid = 1000;
    for (const int oid : named) {
        if (oid < std::numeric_limits<int>::max()) {
            store.nextOid = std::max(store.nextOid, oid + 1);
        }
    }
    std::unordered_set<int> seen;
    const auto assign = [&](int& oid, RecordSpan& span) {
        if (oid <= 0 || !seen.insert(oid).second) {
            oid = store.nextOid++;
            span.oidInFile = false;
            seen.insert(oid);
        }
    };
    for (Appointment& a : store.appointments) {
        assign(a.oid, a.span);
    }
    for (Task& t : store.tasks) {
        assign(t.oid, t.span);
    }
    result.ok = result.problems.empty();
    result.error = result.ok ? std::string() : result.problems.front();
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
    if (a.live) {
        found = a.live->StartingBetween(MomentOf(fromDay, 0, 0), MomentOf(toDay + 1, 0, 0));
        for (Occurrence& o : found) {
            o.series = &a;
        }
        return found;
    }
    if (!a.recurrence) {
        if (DayOf(a.start) >= fromDay && DayOf(a.start) <= toDay) {
            found.push_back({&a, a.start, a.end, a.subject, DayOf(a.start)});
        }
        return found;
    }
    const Minutes timeOfDay = a.start - static_cast<Minutes>(DayOf(a.start)) * 1440;
    const Minutes duration = a.end - a.start;
    // Regular days only within the pattern's own run.
    const RecurrenceValues& r = *a.recurrence;
    int first = std::max(fromDay, DayOf(a.start));
    int last = toDay;
    if (!r.noEndDate) {
        last = std::min(last, DayNumberOf(r.patternEnd.year, r.patternEnd.month, r.patternEnd.day));
    }
    std::vector<int> excepted;
    for (const Exception& e : a.exceptions) {
        if (e.originalDay >= first && e.originalDay <= last) {
            excepted.push_back(e.originalDay);
        }
    }
    std::sort(excepted.begin(), excepted.end());
    for (int day = first; day <= last; ++day) {
        if (OccursOn(r, day) && !std::binary_search(excepted.begin(), excepted.end(), day)) {
            const Minutes start = static_cast<Minutes>(day) * 1440 + timeOfDay;
            const Minutes end = a.exactSeconds
                                    ? LocalMinutesOfUtc(UtcSecondsOfLocal(start) + *a.exactSeconds)
                                    : start + duration;
            found.push_back({&a, start, std::max(start, end), a.subject, day});
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

Minutes LongestOccurrence(const Appointment& a) {
    if (a.live) {
        return a.live->Longest();
    }
    Minutes longest = a.end - a.start;
    for (const Exception& e : a.exceptions) {
        if (!e.deleted) {
            longest = std::max(longest, e.end - e.start);
        }
    }
    return longest;
}

bool AdvanceLive(Store& store, Minutes now) {
    bool moved = false;
    for (Appointment& a : store.appointments) {
        if (!a.live) {
            continue;
        }
        const std::optional<Occurrence> o = a.live->Current(now);
        if (a.ended != !o) {
            a.ended = !o;
            moved = true;
        }
        if (o && (o->start != a.start || o->end != a.end || o->subject != a.subject ||
                  o->slotUtc != a.slotUtc)) {
            a.start = o->start;
            a.end = o->end;
            a.subject = o->subject;
            a.slotUtc = o->slotUtc;
            moved = true;
        }
    }
    for (Task& t : store.tasks) {
        if (!t.live) {
            continue;
        }
        const std::optional<Occurrence> o = t.live->Current(now);
        if (!o) {
            continue;
        }
        const std::optional<int> due = t.dueDay ? std::optional<int>(DayOf(o->end)) : std::nullopt;
        const std::optional<int> start =
            t.startDay ? std::optional<int>(DayOf(o->start)) : std::nullopt;
        if (due != t.dueDay || start != t.startDay) {
            t.dueDay = due;
            t.startDay = start;
            moved = true;
        }
    }
    return moved;
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
        // Minutes with their fraction: a query at 23:59:30 is not midnight.
        // Within a hundredth of a minute counts as equal, for the six
        // decimals the texts carry.
        const double value = c.field == Condition::kOid ? std::round(c.value)
                                                        : c.value * 1440.0 + kVariantEpoch * 1440.0;
        const double have = static_cast<double>(c.field == Condition::kStart ? start
                                                : c.field == Condition::kEnd ? end
                                                                             : oid);
        const double difference = have - value;
        const int order = std::fabs(difference) < 0.01 ? 0 : difference < 0 ? -1 : 1;
        bool ok = false;
        switch (c.op) {
        case Condition::kLess:
            ok = order < 0;
            break;
        case Condition::kLessEqual:
            ok = order <= 0;
            break;
        case Condition::kEqual:
            ok = order == 0;
            break;
        case Condition::kGreaterEqual:
            ok = order >= 0;
            break;
        case Condition::kGreater:
            ok = order > 0;
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

std::optional<int> CompletionDay(const Task& task, int today) {
    if (!task.complete) {
        return std::nullopt;
    }
    return task.completedDay.value_or(today);
}

namespace {

// The lines of a record, each with its own line break.
std::vector<std::string> LinesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

std::string_view KeyOf(std::string_view line) {
    line = Trim(line);
    const std::size_t colon = line.find(':');
    if (line.empty() || line.front() == '#' || colon == std::string_view::npos) {
        return {};
    }
    return Trim(line.substr(0, colon));
}

std::string_view ValueOf(std::string_view line) {
    line = Trim(line);
    return Trim(line.substr(line.find(':') + 1));
}

// The line break of a line (none for a last line without one).
std::string BreakOf(const std::string& line) {
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) {
        return "\r\n";
    }
    return !line.empty() && line.back() == '\n' ? "\n" : "";
}

void AddLine(std::vector<std::string>& lines, const std::string& text, const std::string& eol) {
    if (!lines.empty() && BreakOf(lines.back()).empty()) {
        lines.back() += eol;
    }
    lines.push_back(text + eol);
}

// Replaces the last line of `key`, or adds one at the end of the record.
void SetKey(std::vector<std::string>& lines, std::string_view key, const std::string& value,
            const std::string& eol) {
    const std::string text = std::string(key) + ": " + value;
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (KeyOf(lines[i]) == key) {
            lines[i] = text + BreakOf(lines[i]);
            return;
        }
    }
    AddLine(lines, text, eol);
}

std::string WithBreaks(std::string_view text, const std::string& eol) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += eol;
        } else {
            out += c;
        }
    }
    return out;
}

std::string OneLine(std::u16string_view text) {
    std::string s = ToUtf8(text);
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return std::string(Trim(s));
}

// The record the change names in this version of the file.
template <class Record>
const Record* Find(const std::vector<Record>& records, std::string_view text,
                   const StoreChange& change) {
    const Record* byText = nullptr;
    for (const Record& r : records) {
        if (change.oidInFile) {
            if (r.span.oidInFile && r.oid == change.oid) {
                return &r;
            }
            continue;
        }
        if (!r.span.oidInFile &&
            text.substr(r.span.begin, r.span.end - r.span.begin) == change.recordText) {
            if (r.oid == change.oid) {
                return &r;
            }
            byText = byText != nullptr ? byText : &r;
        }
    }
    return byText;
}

} // namespace

std::optional<ChangedText> ApplyChange(std::string_view text, const StoreChange& change) {
    const std::string eol = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    const ParsedStore fresh = ParseStore(text);
    if (change.kind == StoreChange::kAdd) {
        ChangedText out;
        out.oid = fresh.store.nextOid;
        out.text = std::string(text);
        if (!out.text.empty() && out.text.back() != '\n') {
            out.text += eol;
        }
        const std::size_t header = change.record.find('\n');
        out.text += (out.text.empty() ? "" : eol) +
                    WithBreaks(change.record.substr(0, header + 1), eol) +
                    "oid: " + std::to_string(out.oid) + eol +
                    WithBreaks(change.record.substr(header + 1), eol);
        return out;
    }
    RecordSpan span;
    const Task* task = nullptr;
    if (change.task) {
        task = Find(fresh.store.tasks, text, change);
        if (task == nullptr) {
            return std::nullopt;
        }
        span = task->span;
    } else {
        const Appointment* a = Find(fresh.store.appointments, text, change);
        if (a == nullptr) {
            return std::nullopt;
        }
        span = a->span;
    }
    std::vector<std::string> lines = LinesOf(text.substr(span.begin, span.end - span.begin));
    switch (change.kind) {
    case StoreChange::kDelete: {
        lines.clear();
        // One blank line between records goes with the record.
        bool blankBefore = span.begin == 0;
        if (!blankBefore) {
            const std::size_t lineEnd = span.begin - 1; // a record starts a line
            const std::size_t previous =
                lineEnd == 0 ? std::string_view::npos : text.rfind('\n', lineEnd - 1);
            const std::size_t lineStart = previous == std::string_view::npos ? 0 : previous + 1;
            blankBefore = Trim(text.substr(lineStart, lineEnd - lineStart)).empty();
        }
        const std::size_t next = text.find('\n', span.end);
        if (blankBefore && next != std::string_view::npos &&
            Trim(text.substr(span.end, next - span.end)).empty()) {
            span.end = next + 1;
        }
        break;
    }
    case StoreChange::kSkipOccurrence: {
        bool done = false;
        for (std::string& line : lines) {
            const std::string_view key = KeyOf(line);
            if (key != "skip" && key != "move") {
                continue;
            }
            const std::optional<Exception> ex = ExceptionText(key == "skip", ValueOf(line));
            if (ex && ex->originalDay == change.day) {
                line = "skip: " + DayText(change.day) + BreakOf(line);
                done = true;
            }
        }
        if (!done) {
            AddLine(lines, "skip: " + DayText(change.day), eol);
        }
        break;
    }
    case StoreChange::kSetComplete:
        SetKey(lines, "complete", change.complete ? "yes " + DayText(change.day) : "no", eol);
        break;
    case StoreChange::kSkipTask: {
        const std::optional<int> next = task != nullptr ? NextTaskDay(*task) : std::nullopt;
        if (!next) {
            return std::nullopt;
        }
        if (task->startDay && task->dueDay) {
            SetKey(lines, "start", DayText(*task->startDay + (*next - *task->dueDay)), eol);
        }
        SetKey(lines, "due", DayText(*next), eol);
        break;
    }
    case StoreChange::kAdd:
        break;
    }
    ChangedText out;
    out.oid = change.oid;
    out.text = std::string(text.substr(0, span.begin));
    for (const std::string& line : lines) {
        out.text += line;
    }
    out.text += text.substr(span.end);
    return out;
}

namespace {

template <class Record>
StoreChange ChangeOfRecord(StoreChange::Kind kind, std::string_view text, const Record& r,
                           bool task) {
    StoreChange change;
    change.kind = kind;
    change.task = task;
    change.oid = r.oid;
    change.oidInFile = r.span.oidInFile;
    if (r.span.end <= text.size() && r.span.begin <= r.span.end) {
        change.recordText = std::string(text.substr(r.span.begin, r.span.end - r.span.begin));
        change.at = r.span.begin;
    }
    return change;
}

} // namespace

StoreChange ChangeOf(StoreChange::Kind kind, std::string_view text, const Appointment& a) {
    return ChangeOfRecord(kind, text, a, false);
}

StoreChange ChangeOf(StoreChange::Kind kind, std::string_view text, const Task& t) {
    return ChangeOfRecord(kind, text, t, true);
}

std::string AppointmentRecord(std::u16string_view subject, std::u16string_view start,
                              std::u16string_view end) {
    return "[appointment]\nsubject: " + OneLine(subject) + "\nstart: " + OneLine(start) +
           "\nend: " + OneLine(end) + "\n";
}

std::string TaskRecord(std::u16string_view subject, std::u16string_view start,
                       std::u16string_view due) {
    const std::string s = OneLine(start), d = OneLine(due);
    return "[task]\nsubject: " + OneLine(subject) + "\nstart: " + (s.empty() ? "none" : s) +
           "\ndue: " + (d.empty() ? "none" : d) + "\n";
}

} // namespace vantrel::store
