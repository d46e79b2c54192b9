#include "storage/ics_entries.h"

#include "model/entry_text.h"
#include "model/local_zone.h"
#include "model/normalize_dates.h"
#include "storage/shift_jis_bytes.h"
#include "storage/vrl_writer.h"
#include "text/utf8.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace vantrel {
namespace {

constexpr const char* kProductId = "-//Orvane//Vantrel vantrel-list//JA";
constexpr const char* kCheckName = "X-VANTREL-CHECK";
constexpr const char* kTagsName = "X-VANTREL-TAGS";
constexpr const char* kPinnedName = "X-VANTREL-PINNED";
// A series is followed at most this far; a rule that needs more to reach
// now (every minute for years) comes in as the occurrence it stopped at.
constexpr int kMaxInstances = 500000;
// The years libical writes a date of: outside them it writes zeros.
constexpr int kFirstYear = 2;
constexpr int kLastYear = 3000;
// Characters named in one report; the rest are counted.
constexpr int kNamedLosses = 3;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};
using IteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

DateTime DateOnly(const CalendarDate& c) {
    return DateTime{c.year, c.month, c.day, -1, -1};
}

DateTime ShiftDays(const DateTime& d, int days) {
    return DateOnly(DateOfDayNumber(DayNumberOf(d) + days));
}

// Wall-clock minutes, for ordering moments of one zone.
std::int64_t MinutesOf(const DateTime& d) {
    const std::int64_t day = DayNumberOf(d);
    return day * 1440 + (d.HasTime() ? d.hour * 60 + d.minute : 0);
}

// The host's zone through its seam, in DateTime terms.
DateTime LocalOfInstant(std::int64_t utcSeconds) {
    const std::int64_t minutes = LocalMinutesOfUtc(utcSeconds);
    DateTime d = DateOnly(DateOfDayNumber(static_cast<int>(minutes / 1440)));
    d.hour = static_cast<int>(minutes % 1440 / 60);
    d.minute = static_cast<int>(minutes % 60);
    return d;
}

std::int64_t InstantOfLocal(const DateTime& local) {
    return UtcSecondsOfLocal(MinutesOf(local));
}

// ---- export ----

bool Writable(const DateTime& d) {
    return !d.HasDate() || (d.year >= kFirstYear && d.year <= kLastYear);
}

// Whether every date the entry's component would carry can be written.
bool Writable(const Item& item) {
    if (!item.startDate.HasDate()) {
        return Writable(item.endDate);
    }
    const DateTime& last = item.endDate.HasDate() ? item.endDate : item.startDate;
    return Writable(item.startDate) &&
           Writable(item.startDate.HasTime() ? item.endDate : ShiftDays(last, 1));
}

icaltimetype LocalValue(const DateTime& d) {
    icaltimetype t = d.HasTime() ? icaltime_null_time() : icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    if (d.HasTime()) {
        t.hour = d.hour;
        t.minute = d.minute;
    }
    return t;
}

icaltimetype UtcValue(std::int64_t seconds) {
    return icaltime_from_timet_with_zone(static_cast<time_t>(seconds), 0,
                                         icaltimezone_get_utc_timezone());
}

void AddX(icalcomponent* c, const char* name, const std::string& value) {
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

// "YYYYMMDD" or "YYYYMMDDTHHMM".
std::string CompactDate(const DateTime& d) {
    char text[32];
    if (d.HasTime()) {
        std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d", d.year, d.month, d.day, d.hour,
                      d.minute);
    } else {
        std::snprintf(text, sizeof text, "%04d%02d%02d", d.year, d.month, d.day);
    }
    return text;
}

std::string CheckText(const Item& item) {
    std::string text = std::to_string(item.checkState);
    if (item.checkDate.HasDate()) {
        text += ' ';
        text += CompactDate(item.checkDate);
    }
    return text;
}

std::vector<std::u16string_view> SplitTags(std::u16string_view tags) {
    std::vector<std::u16string_view> pieces;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = tags.find(kTagSeparator, from);
        pieces.push_back(tags.substr(from, tab - from));
        if (tab == std::u16string_view::npos) {
            return pieces;
        }
        from = tab + 1;
    }
}

// libical splits CATEGORIES at every comma, escaped or not: a tag with a
// comma, and empty pieces, only survive in X-VANTREL-TAGS.
void AddTags(icalcomponent* c, std::u16string_view tags) {
    if (tags.empty()) {
        return;
    }
    std::u16string joined;
    for (const std::u16string_view piece : SplitTags(tags)) {
        if (piece.empty() || piece.find(u',') != std::u16string_view::npos) {
            continue;
        }
        icalcomponent_add_property(c, icalproperty_new_categories(ToUtf8(piece).c_str()));
        if (!joined.empty()) {
            joined += kTagSeparator;
        }
        joined += piece;
    }
    if (joined != tags) {
        AddX(c, kTagsName, ToUtf8(tags));
    }
}

void AddEventDates(icalcomponent* c, const Item& item) {
    icalcomponent_add_property(c, icalproperty_new_dtstart(LocalValue(item.startDate)));
    if (!item.startDate.HasTime()) {
        // All-day: DTEND is the day after the last day.
        const DateTime& last = item.endDate.HasDate() ? item.endDate : item.startDate;
        icalcomponent_add_property(c, icalproperty_new_dtend(LocalValue(ShiftDays(last, 1))));
    } else if (item.endDate.HasDate()) {
        icalcomponent_add_property(c, icalproperty_new_dtend(LocalValue(item.endDate)));
    }
}

void AddTodoDates(icalcomponent* c, const Item& item) {
    if (item.endDate.HasDate()) {
        icalcomponent_add_property(c, icalproperty_new_due(LocalValue(item.endDate)));
    }
    if (item.checkState != 0) {
        icalcomponent_add_property(c, icalproperty_new_status(ICAL_STATUS_COMPLETED));
        // The check time, else the deadline; COMPLETED is always UTC.
        const DateTime& when = item.checkDate.HasDate() ? item.checkDate : item.endDate;
        if (when.HasDate() && Writable(when)) {
            icalcomponent_add_property(c,
                                       icalproperty_new_completed(UtcValue(InstantOfLocal(when))));
        }
    }
}

std::string AsText(icalcomponent* c) {
    char* text = icalcomponent_as_ical_string_r(c);
    if (text == nullptr) {
        return {};
    }
    std::string out(text);
    std::free(text);
    return out;
}

// ---- import ----

std::optional<std::string> XValue(icalcomponent* c, std::string_view name) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* x = icalproperty_get_x_name(p);
        const char* value = icalproperty_get_x(p);
        if (x != nullptr && name == x && value != nullptr) {
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::optional<int> DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<DateTime> ParseCompactDate(std::string_view text) {
    if (text.size() != 8 && text.size() != 13) {
        return std::nullopt;
    }
    const auto year = DigitsAt(text, 0, 4);
    const auto month = DigitsAt(text, 4, 2);
    const auto day = DigitsAt(text, 6, 2);
    if (!year || !month || !day) {
        return std::nullopt;
    }
    DateTime d{*year, *month, *day, -1, -1};
    if (text.size() == 13) {
        const auto hour = DigitsAt(text, 9, 2);
        const auto minute = DigitsAt(text, 11, 2);
        if (text[8] != 'T' || !hour || !minute) {
            return std::nullopt;
        }
        d.hour = *hour;
        d.minute = *minute;
    }
    return d;
}

// "STATE[ DATE]" as the export writes it.
bool ApplyCheckText(Item& item, std::string_view text) {
    if (text.empty() || (text[0] != '1' && text[0] != '2')) {
        return false;
    }
    DateTime date = kNoDate;
    if (text.size() > 1) {
        if (text[1] != ' ') {
            return false;
        }
        const std::optional<DateTime> parsed = ParseCompactDate(text.substr(2));
        if (!parsed) {
            return false;
        }
        date = *parsed;
    }
    item.checkState = text[0] - '0';
    item.checkDate = date;
    return true;
}

struct Importer {
    const ShiftJisCodec& codec;
    std::int64_t nowMinutes;
    IcsImport& result;

    void Report(std::string_view what, const std::string& message) {
        std::string line = "'";
        line += what;
        line += "': ";
        line += message;
        result.problems.push_back(std::move(line));
    }

    // A DATE or DATE-TIME property with the zone its TZID names, from the
    // calendar's VTIMEZONEs or libical's own; an unknown zone is reported
    // and the time taken as local.
    icaltimetype TimeOf(icalproperty* p, icalcomponent* c, std::string_view what) {
        if (p == nullptr) {
            return icaltime_null_time();
        }
        icaltimetype t = icalproperty_get_datetime_with_component(p, c);
        if (icalproperty_isa(p) == ICAL_RDATE_PROPERTY && icaltime_is_null_time(t)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
            t = icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
        }
        if (t.is_date != 0 || t.zone != nullptr) {
            return t;
        }
        icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
        if (tzid == nullptr) {
            return t;
        }
        const char* name = icalparameter_get_tzid(tzid);
        icalcomponent* calendar = icalcomponent_get_parent(c);
        icaltimezone* found = calendar != nullptr && name != nullptr
                                  ? icalcomponent_get_timezone(calendar, name)
                                  : nullptr;
        if (found == nullptr && name != nullptr) {
            found = icaltimezone_get_builtin_timezone(name);
        }
        if (found == nullptr) {
            Report(what, std::string("unknown time zone ") + (name ? name : "") +
                             ": taken as local time");
        }
        t.zone = found;
        return t;
    }

    icaltimetype TimeOf(icalcomponent* c, icalproperty_kind kind, std::string_view what) {
        return TimeOf(icalcomponent_get_first_property(c, kind), c, what);
    }

    // The time here of a value: DATE and floating times as they are, UTC
    // and TZID times converted.
    DateTime LocalOf(icaltimetype t) const {
        if (icaltime_is_null_time(t)) {
            return kNoDate;
        }
        if (t.is_date != 0) {
            return DateTime{t.year, t.month, t.day, -1, -1};
        }
        if (t.zone == nullptr) {
            return DateTime{t.year, t.month, t.day, t.hour, t.minute};
        }
        const icaltimetype utc = icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone());
        return LocalOfInstant(static_cast<std::int64_t>(icaltime_as_timet(utc)));
    }

    // The instant of a date-time value, for matching EXDATE and
    // RECURRENCE-ID against occurrences.
    std::int64_t InstantOf(icaltimetype t) const {
        if (t.zone == nullptr) {
            return InstantOfLocal(DateTime{t.year, t.month, t.day, t.hour, t.minute});
        }
        return static_cast<std::int64_t>(
            icaltime_as_timet(icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone())));
    }

    bool SameOccurrence(icaltimetype a, icaltimetype b) const {
        if (a.is_date != 0 || b.is_date != 0) {
            return a.year == b.year && a.month == b.month && a.day == b.day;
        }
        return InstantOf(a) == InstantOf(b);
    }

    // A text as the data file keeps it; what does not survive is reported.
    std::u16string StoredText(const char* utf8, std::string_view what) {
        if (utf8 == nullptr) {
            return {};
        }
        const std::u16string text = WithoutLineBreaks(FromUtf8(utf8));
        const std::string bytes = codec.Encode(text, text.size() * 2 + 2);
        if (codec.Decode(bytes, text.size() + 1) != text) {
            ReportLosses(text, what);
        }
        const std::string_view kept = CutShiftJis(bytes, kVrlTextBytes);
        if (kept.size() < bytes.size()) {
            Report(what, "cut to the " + std::to_string(kVrlTextBytes) +
                             " bytes a data-file record keeps");
        }
        return codec.Decode(kept, kVrlTextBytes + 1);
    }

    void ReportLosses(std::u16string_view text, std::string_view what) {
        std::string named;
        int count = 0;
        for (std::size_t i = 0; i < text.size();) {
            const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                              text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            const std::u16string_view one = text.substr(i, pair ? 2 : 1);
            i += one.size();
            if (codec.Decode(codec.Encode(one, 4), 2) == one) {
                continue;
            }
            if (++count <= kNamedLosses) {
                const char32_t c =
                    pair ? 0x10000 + ((one[0] - 0xD800) << 10) + (one[1] - 0xDC00) : one[0];
                char code[16];
                std::snprintf(code, sizeof code, "%sU+%04X", named.empty() ? "" : ", ",
                              static_cast<unsigned>(c));
                named += code;
            }
        }
        std::string message = named;
        if (count > kNamedLosses) {
            message += " and " + std::to_string(count - kNamedLosses) + " more";
        }
        message += " not in Shift_JIS: stored as '?'";
        Report(what, message);
    }

    void ReportErrors(icalcomponent* c, std::string_view what) {
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY)) {
            const char* message = icalproperty_get_xlicerror(p);
            Report(what, std::string("not understood: ") + (message ? message : ""));
        }
    }

    // Title, tags and pin, common to events and to-dos.
    Item Entry(icalcomponent* c, std::string_view what) {
        Item item = NewOwnEntry();
        item.title = StoredText(icalcomponent_get_summary(c), what);
        if (const std::optional<std::string> tags = XValue(c, kTagsName)) {
            item.tags = StoredText(tags->c_str(), what);
        } else {
            std::string joined;
            for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY);
                 p != nullptr; p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
                const char* tag = icalproperty_get_categories(p);
                if (tag == nullptr || *tag == '\0') {
                    continue;
                }
                if (!joined.empty()) {
                    joined += '\t';
                }
                joined += tag;
            }
            item.tags = StoredText(joined.c_str(), what);
        }
        const std::optional<std::string> pinned = XValue(c, kPinnedName);
        item.pinned = pinned && *pinned == "1" ? 1 : 0;
        return item;
    }

    void ApplyCheck(Item& item, icalcomponent* c, std::string_view what) {
        const std::optional<std::string> check = XValue(c, kCheckName);
        if (check && !ApplyCheckText(item, *check)) {
            Report(what, std::string(kCheckName) + " not understood: " + *check);
        }
    }

    Item Event(icalcomponent* c, icaltimetype start, icaltimetype end, std::string_view what) {
        Item item = Entry(c, what);
        item.startDate = LocalOf(start);
        if (!icaltime_is_null_time(end)) {
            DateTime last = LocalOf(end);
            if (start.is_date != 0 && end.is_date != 0) {
                last = ShiftDays(last, -1); // DTEND is exclusive
            }
            if (item.startDate.HasDate() && MinutesOf(last) > MinutesOf(item.startDate)) {
                item.endDate = last;
            }
        }
        ApplyCheck(item, c, what);
        NormalizeDates(item);
        return item;
    }

    Item Todo(icalcomponent* c, std::string_view what) {
        Item item = Entry(c, what);
        item.endDate = LocalOf(TimeOf(c, ICAL_DUE_PROPERTY, what));
        icalproperty* completed = icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY);
        if (icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED || completed != nullptr) {
            item.checkState = 1;
            if (completed != nullptr) {
                item.checkDate = LocalOf(TimeOf(completed, c, what));
            }
            ApplyCheck(item, c, what);
        }
        NormalizeDates(item);
        return item;
    }

    // DTEND, or DTSTART plus DURATION; an all-day event without either
    // lasts its one day.
    icaltimetype EndOf(icalcomponent* c, icaltimetype start, std::string_view what) {
        if (icalproperty* end = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
            return TimeOf(end, c, what);
        }
        if (icalproperty* d = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
            return icaltime_add(start, icalproperty_get_duration(d));
        }
        if (start.is_date == 0) {
            return icaltime_null_time();
        }
        icaltimetype next = start;
        icaltime_adjust(&next, 1, 0, 0, 0);
        return next;
    }

    struct Occurrence {
        icalcomponent* source = nullptr; // the series, or its moved occurrence
        icaltimetype start{};
        icaltimetype end{};
        std::int64_t startMinutes = 0;
        bool ended = false;
    };

    Occurrence Make(icalcomponent* source, icaltimetype start, icaltimetype end) const {
        Occurrence o{source, start, end, MinutesOf(LocalOf(start)), false};
        const std::int64_t endMinutes =
            icaltime_is_null_time(end) ? o.startMinutes : MinutesOf(LocalOf(end));
        o.ended = o.startMinutes < nowMinutes && endMinutes <= nowMinutes;
        return o;
    }

    // Keeps the first occurrence that has not ended, else the latest one.
    static void Consider(std::optional<Occurrence>& best, const Occurrence& o) {
        if (!best || (best->ended && !o.ended) ||
            (best->ended == o.ended && (o.ended ? o.startMinutes > best->startMinutes
                                                : o.startMinutes < best->startMinutes))) {
            best = o;
        }
    }

    std::optional<Occurrence> Next(icalcomponent* series, const std::vector<icalcomponent*>& moved,
                                   std::string_view what) {
        const icaltimetype start = TimeOf(series, ICAL_DTSTART_PROPERTY, what);
        if (icaltime_is_null_time(start)) {
            return std::nullopt;
        }
        const icaltimetype end = EndOf(series, start, what);
        const icaldurationtype length = icaltime_subtract(end, start);
        const bool hasEnd = !icaltime_is_null_time(end);
        std::vector<icaltimetype> skipped;
        for (icalproperty* p = icalcomponent_get_first_property(series, ICAL_EXDATE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(series, ICAL_EXDATE_PROPERTY)) {
            skipped.push_back(TimeOf(p, series, what));
        }
        for (icalcomponent* m : moved) {
            skipped.push_back(TimeOf(m, ICAL_RECURRENCEID_PROPERTY, what));
        }
        auto excluded = [&](icaltimetype t) {
            return std::any_of(skipped.begin(), skipped.end(),
                               [&](icaltimetype s) { return SameOccurrence(s, t); });
        };
        auto occurrence = [&](icaltimetype t) {
            return Make(series, t, hasEnd ? icaltime_add(t, length) : icaltime_null_time());
        };

        std::optional<Occurrence> best;
        for (icalproperty* p = icalcomponent_get_first_property(series, ICAL_RRULE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(series, ICAL_RRULE_PROPERTY)) {
            const IteratorPtr it(icalrecur_iterator_new(icalproperty_get_rrule(p), start));
            if (!it) {
                Report(what, "RRULE not understood");
                continue;
            }
            int count = 0;
            for (icaltimetype t = icalrecur_iterator_next(it.get()); !icaltime_is_null_time(t);
                 t = icalrecur_iterator_next(it.get())) {
                t.zone = start.zone;
                if (excluded(t)) {
                    continue;
                }
                const Occurrence o = occurrence(t);
                Consider(best, o);
                if (!o.ended) {
                    break;
                }
                if (++count == kMaxInstances) {
                    Report(what, "series followed for " + std::to_string(kMaxInstances) +
                                     " occurrences only");
                    break;
                }
            }
        }
        for (icalproperty* p = icalcomponent_get_first_property(series, ICAL_RDATE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(series, ICAL_RDATE_PROPERTY)) {
            const icaltimetype t = TimeOf(p, series, what);
            if (!icaltime_is_null_time(t) && !excluded(t)) {
                Consider(best, occurrence(t));
            }
        }
        // Starting with DTSTART itself, which every series includes.
        if (!excluded(start)) {
            Consider(best, occurrence(start));
        }
        for (icalcomponent* m : moved) {
            if (icalcomponent_get_status(m) == ICAL_STATUS_CANCELLED) {
                continue;
            }
            const icaltimetype t = TimeOf(m, ICAL_DTSTART_PROPERTY, what);
            if (!icaltime_is_null_time(t)) {
                Consider(best, Make(m, t, EndOf(m, t, what)));
            }
        }
        return best;
    }

    static bool IsSeries(icalcomponent* c) {
        return icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr &&
               (icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) != nullptr ||
                icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) != nullptr);
    }

    static std::string Uid(icalcomponent* c) {
        const char* uid = icalcomponent_get_uid(c);
        return uid != nullptr ? uid : "";
    }

    void Calendar(icalcomponent* calendar) {
        std::vector<icalcomponent*> entries;
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
             c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(c);
            if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) {
                entries.push_back(c);
            }
        }
        std::map<std::string, std::vector<icalcomponent*>> moved;
        std::set<std::string> series;
        for (icalcomponent* c : entries) {
            if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT) {
                continue;
            }
            if (IsSeries(c)) {
                series.insert(Uid(c));
            } else if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
                moved[Uid(c)].push_back(c);
            }
        }
        for (icalcomponent* c : entries) {
            const char* summary = icalcomponent_get_summary(c);
            const std::string what = summary != nullptr ? summary : Uid(c);
            ReportErrors(c, what);
            if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT) {
                result.items.push_back(Todo(c, what));
                continue;
            }
            const bool isMoved =
                icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr;
            if (isMoved && series.count(Uid(c)) != 0) {
                continue; // taken with its series
            }
            if (IsSeries(c)) {
                const std::optional<Occurrence> next = Next(c, moved[Uid(c)], what);
                if (next) {
                    ++result.recurring;
                    result.items.push_back(Event(next->source, next->start, next->end, what));
                    continue;
                }
            }
            const icaltimetype start = TimeOf(c, ICAL_DTSTART_PROPERTY, what);
            result.items.push_back(Event(c, start, EndOf(c, start, what), what));
        }
    }
};

} // namespace

std::string IcsUid(std::string_view record, int occurrence) {
    // FNV-1a, 64 bits: short, stable across runs and platforms.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : record) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    char text[48];
    if (occurrence <= 1) {
        std::snprintf(text, sizeof text, "%016llx@vantrel", static_cast<unsigned long long>(hash));
    } else {
        std::snprintf(text, sizeof text, "%016llx-%d@vantrel",
                      static_cast<unsigned long long>(hash), occurrence);
    }
    return text;
}

IcsExport EntriesToIcs(std::span<const Item> entries, const SystemTime& now,
                       const ShiftJisCodec& codec) {
    IcsExport result;
    const ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    const DateTime nowHere{now.year, now.month, now.day, now.hour, now.minute};
    const icaltimetype stamp = UtcValue(InstantOfLocal(nowHere));
    std::map<std::string, int> seen;
    for (const Item& item : entries) {
        std::string record;
        AppendVrlRecord(record, item, codec);
        if (!Writable(item)) {
            result.leftOut.push_back(
                "'" + ToUtf8(item.title) + "': left out, iCalendar here holds the years " +
                std::to_string(kFirstYear) + " to " + std::to_string(kLastYear) + " only");
            continue;
        }
        const bool dated = item.startDate.HasDate();
        icalcomponent* c = dated ? icalcomponent_new_vevent() : icalcomponent_new_vtodo();
        icalcomponent_add_property(c, icalproperty_new_uid(IcsUid(record, ++seen[record]).c_str()));
        icalcomponent_add_property(c, icalproperty_new_dtstamp(stamp));
        if (dated) {
            AddEventDates(c, item);
        } else {
            AddTodoDates(c, item);
        }
        if (!item.title.empty()) {
            icalcomponent_add_property(c, icalproperty_new_summary(ToUtf8(item.title).c_str()));
        }
        AddTags(c, item.tags);
        if (item.checkState != 0) {
            AddX(c, kCheckName, CheckText(item));
        }
        if (item.pinned != 0) {
            AddX(c, kPinnedName, std::to_string(item.pinned));
        }
        icalcomponent_add_component(calendar.get(), c);
    }
    result.text = AsText(calendar.get());
    return result;
}

IcsImport EntriesFromIcs(std::string_view text, const SystemTime& now, const ShiftJisCodec& codec) {
    IcsImport result;
    const std::string copy(text); // libical wants a terminated string
    const ComponentPtr root(icalparser_parse_string(copy.c_str()));
    if (!root) {
        return result;
    }
    const DateTime nowHere{now.year, now.month, now.day, now.hour, now.minute};
    Importer importer{codec, MinutesOf(nowHere), result};
    const icalcomponent_kind kind = icalcomponent_isa(root.get());
    if (kind == ICAL_VCALENDAR_COMPONENT) {
        result.parsed = true;
        importer.Calendar(root.get());
    } else if (kind == ICAL_XROOT_COMPONENT) {
        // Several calendars in one file.
        for (icalcomponent* c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c != nullptr;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
            result.parsed = true;
            importer.Calendar(c);
        }
    }
    return result;
}

} // namespace vantrel
