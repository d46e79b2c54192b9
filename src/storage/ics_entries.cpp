#include "storage/ics_entries.h"

#include "ical/calendar.h"
#include "ical/series.h"
#include "ical/text_values.h"
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
// The years libical writes a date of: outside them it writes zeros.
constexpr int kFirstYear = 2;
constexpr int kLastYear = 3000;
// Bytes of a title that name an entry in a report.
constexpr std::size_t kNamedTitleBytes = 60;
// Characters named in one report; the rest are counted.
constexpr int kNamedLosses = 3;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

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
    std::int64_t nowUtc;
    IcsImport& result;
    std::shared_ptr<const ical::Calendar> calendar;

    void Report(std::string_view what, const std::string& message) {
        std::string line = "'";
        // A long title is named by its start.
        if (what.size() > kNamedTitleBytes) {
            std::size_t cut = kNamedTitleBytes;
            while (cut > 0 && (static_cast<unsigned char>(what[cut]) & 0xC0) == 0x80) {
                --cut; // not inside a UTF-8 character
            }
            line += what.substr(0, cut);
            line += "...";
        } else {
            line += what;
        }
        line += "': ";
        line += message;
        result.problems.push_back(std::move(line));
    }

    // The time here of a value: a day and a floating time as they are, an
    // instant in the host's zone.
    static DateTime LocalOf(const ical::Moment& m) {
        switch (m.kind) {
        case ical::Moment::kDate: {
            const CalendarDate d = DateOfDayNumber(static_cast<int>(m.value));
            return DateTime{d.year, d.month, d.day, -1, -1};
        }
        case ical::Moment::kFloating:
        case ical::Moment::kInstant: {
            const std::int64_t minutes = ical::LocalMinutesOf(m);
            const CalendarDate d = DateOfDayNumber(static_cast<int>(minutes / 1440));
            const auto inDay = static_cast<int>(minutes % 1440);
            return DateTime{d.year, d.month, d.day, inDay / 60, inDay % 60};
        }
        default:
            return kNoDate;
        }
    }

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
        for (const std::string& message : ical::ReadErrorsOf(c)) {
            Report(what, "not understood: " + message);
        }
    }

    // Title, tags and pin, common to events and to-dos.
    Item Entry(icalcomponent* c, std::string_view what) {
        Item item = NewOwnEntry();
        item.title = StoredText(ToUtf8(ical::TextOf(c, ICAL_SUMMARY_PROPERTY)).c_str(), what);
        if (const std::optional<std::string> tags = ical::XValueOf(c, kTagsName)) {
            item.tags = StoredText(tags->c_str(), what);
        } else {
            std::u16string joined;
            for (const std::u16string& tag : ical::CategoriesOf(c)) {
                joined += (joined.empty() ? u"" : u"\t") + tag;
            }
            item.tags = StoredText(ToUtf8(joined).c_str(), what);
        }
        const std::optional<std::string> pinned = ical::XValueOf(c, kPinnedName);
        item.pinned = pinned && *pinned == "1" ? 1 : 0;
        return item;
    }

    void ApplyCheck(Item& item, icalcomponent* c, std::string_view what) {
        const std::optional<std::string> check = ical::XValueOf(c, kCheckName);
        if (check && !ApplyCheckText(item, *check)) {
            Report(what, std::string(kCheckName) + " not understood: " + *check);
        }
    }

    Item Event(icalcomponent* c, const ical::Moment& start, const ical::Moment& end,
               std::string_view what) {
        Item item = Entry(c, what);
        item.startDate = LocalOf(start);
        if (!end.IsNone()) {
            DateTime last = LocalOf(end);
            if (start.kind == ical::Moment::kDate && end.kind == ical::Moment::kDate) {
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
        item.endDate = LocalOf(ical::MomentOf(calendar->TimeOf(c, ICAL_DUE_PROPERTY)));
        icalproperty* completed = icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY);
        if (icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED || completed != nullptr) {
            item.checkState = 1;
            if (completed != nullptr) {
                item.checkDate = LocalOf(ical::MomentOf(calendar->TimeOf(c, completed)));
            }
            ApplyCheck(item, c, what);
        }
        NormalizeDates(item);
        return item;
    }

    void Read() {
        for (const ical::EntryGroup& group : ical::GroupEntries(*calendar)) {
            icalcomponent* c = group.master->component;
            const char* summary = icalcomponent_get_summary(c);
            const std::string what = summary != nullptr ? summary : group.master->uid;
            ReportErrors(c, what);
            if (group.master->todo) {
                result.items.push_back(Todo(c, what));
                continue;
            }
            std::vector<icalcomponent*> overrides;
            for (const ical::Entry* o : group.overrides) {
                overrides.push_back(o->component);
            }
            std::vector<std::string> problems;
            const ical::Series series(calendar, c, std::move(overrides), problems);
            for (const std::string& p : problems) {
                Report(what, p);
            }
            if (!series.Valid()) {
                // Kept as an entry without a date: its text is not lost.
                result.items.push_back(Event(c, {}, {}, what));
                continue;
            }
            if (!series.Recurs()) {
                result.items.push_back(Event(c, ical::MomentOf(series.StartTime()),
                                             ical::MomentOf(series.EndTime()), what));
                continue;
            }
            // A series comes in as its first occurrence that has not ended,
            // or its last one when all have.
            std::optional<ical::Occurrence> o = series.FirstNotEnded(nowUtc);
            if (!o) {
                o = series.Last();
            }
            if (!o) {
                Report(what, "every occurrence of the series is excluded: left out");
                continue;
            }
            ++result.recurring;
            result.items.push_back(Event(o->source, o->start, o->end, what));
        }
        for (const std::string& p : calendar->Problems()) {
            result.problems.push_back(p);
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
    const DateTime nowHere{now.year, now.month, now.day, now.hour, now.minute};
    Importer importer{codec, UtcSecondsOfLocal(MinutesOf(nowHere)), result,
                      ical::Calendar::Parse(text)};
    if (!importer.calendar->Found()) {
        return result;
    }
    result.parsed = true;
    importer.Read();
    return result;
}

} // namespace vantrel
