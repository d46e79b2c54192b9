// vantrel-ics-probe FILE.ics --at YYYYMMDDTHHMM [--at ...] [--window DAYS]
//
// What the two readers of a calendar show at given moments, for comparing
// them with an independent engine. The file is read once, as the item's
// store reads it; the store then answers at each moment in turn, as it does
// at the item's refreshes. For every moment it prints (times local, TZ):
//   now    store  the occurrence of each event the item shows: the one in
//                 progress or the next; an event that does not recur as it is
//   now    list   what vantrel-list adds for each event at that moment
//   window store  every occurrence starting in [now, now + DAYS days), as
//                 the windowed query with recurrences answers
// each as "START<TAB>END<TAB>SUMMARY", sorted.

#include "model/date_time.h"
#include "native/iconv_codec.h"
#include "platform/poom_store/ics_store.h"
#include "platform/poom_store/store_index.h"
#include "storage/ics_entries.h"
#include "text/utf8.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vantrel;
using namespace vantrel::store;

// The item's search looks this far ahead for a series' next occurrence.
constexpr int kSearchDays = 4 * 366 + 1;

std::optional<Minutes> ParseMoment(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    if (text.size() != 13 ||
        std::sscanf(text.c_str(), "%4d%2d%2dT%2d%2d", &y, &mo, &d, &h, &mi) != 5 ||
        IsBadDate(y, mo, d) || IsBadTime(h, mi)) {
        return std::nullopt;
    }
    return MomentOf(DayNumberOf(y, mo, d), h, mi);
}

std::string Stamp(Minutes m, bool date) {
    const CalendarDate d = DateOfDayNumber(DayOf(m));
    const Minutes inDay = m - static_cast<Minutes>(DayOf(m)) * 1440;
    char out[32];
    if (date) {
        std::snprintf(out, sizeof out, "%04d%02d%02d", d.year, d.month, d.day);
    } else {
        std::snprintf(out, sizeof out, "%04d%02d%02dT%02d%02d", d.year, d.month, d.day,
                      static_cast<int>(inDay / 60), static_cast<int>(inDay % 60));
    }
    return out;
}

std::string Line(Minutes start, Minutes end, bool date, const std::u16string& subject) {
    return Stamp(start, date) + "\t" + Stamp(end, date) + "\t" + ToUtf8(subject);
}

void Print(const char* kind, const char* who, std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    for (const std::string& l : lines) {
        std::cout << kind << '\t' << who << '\t' << l << '\n';
    }
}

// The occurrence of an appointment the item shows at `now`.
std::optional<Occurrence> Shown(const Appointment& a, Minutes now) {
    if (!a.recurrence) {
        if (a.ended) {
            return std::nullopt;
        }
        return Occurrence{&a, a.start, a.end, a.subject, DayOf(a.start)};
    }
    for (const Occurrence& o :
         OccurrencesStarting(a, DayOf(now) - 1 - static_cast<int>(LongestOccurrence(a) / 1440),
                             DayOf(now) + kSearchDays)) {
        if (o.end >= now || o.start >= now) {
            return o;
        }
    }
    return std::nullopt;
}

std::vector<std::string> StoreNow(const Store& s, Minutes now) {
    std::vector<std::string> lines;
    for (const Appointment& a : s.appointments) {
        if (const std::optional<Occurrence> o = Shown(a, now)) {
            lines.push_back(Line(o->start, o->end, a.allDay, o->subject));
        }
    }
    return lines;
}

std::vector<std::string> StoreWindow(const Store& s, const StoreIndex& index, Minutes now,
                                     int days) {
    const std::vector<Condition> query{
        {Condition::kStart, Condition::kGreaterEqual, VariantOf(now)},
        {Condition::kStart, Condition::kLess, VariantOf(now + static_cast<Minutes>(days) * 1440)}};
    std::vector<std::string> lines;
    for (const Occurrence& o : index.Restrict(query, true)) {
        lines.push_back(Line(o.start, o.end, o.series->allDay, o.subject));
    }
    (void)s;
    return lines;
}

Minutes MinutesOfDate(const DateTime& d) {
    return MomentOf(DayNumberOf(d), d.HasTime() ? d.hour : 0, d.HasTime() ? d.minute : 0);
}

std::vector<std::string> ListNow(const std::string& text, Minutes now, const ShiftJisCodec& codec) {
    const CalendarDate d = DateOfDayNumber(DayOf(now));
    const Minutes inDay = now - static_cast<Minutes>(DayOf(now)) * 1440;
    SystemTime at{};
    at.year = static_cast<std::uint16_t>(d.year);
    at.month = static_cast<std::uint16_t>(d.month);
    at.day = static_cast<std::uint16_t>(d.day);
    at.hour = static_cast<std::uint16_t>(inDay / 60);
    at.minute = static_cast<std::uint16_t>(inDay % 60);
    std::vector<std::string> lines;
    for (const Item& item : EntriesFromIcs(text, at, codec).items) {
        if (!item.startDate.HasDate()) {
            continue; // a to-do
        }
        const bool date = !item.startDate.HasTime();
        const Minutes start = MinutesOfDate(item.startDate);
        Minutes end = item.endDate.HasDate() ? MinutesOfDate(item.endDate) : start;
        if (date) {
            end += 1440; // the exclusive day after the last
        }
        lines.push_back(Line(start, end, date, item.title));
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    std::string path;
    std::vector<Minutes> moments;
    int window = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--at" && i + 1 < argc) {
            const std::optional<Minutes> m = ParseMoment(argv[++i]);
            if (!m) {
                std::cerr << "vantrel-ics-probe: not a moment: " << argv[i] << '\n';
                return 2;
            }
            moments.push_back(*m);
        } else if (arg == "--window" && i + 1 < argc) {
            window = std::max(1, std::atoi(argv[++i]));
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            std::cerr << "usage: vantrel-ics-probe FILE.ics --at YYYYMMDDTHHMM [--at ...] "
                         "[--window DAYS]\n";
            return 2;
        }
    }
    if (path.empty() || moments.empty()) {
        std::cerr << "usage: vantrel-ics-probe FILE.ics --at YYYYMMDDTHHMM [--at ...] "
                     "[--window DAYS]\n";
        return 2;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "vantrel-ics-probe: cannot read '" << path << "'\n";
        return 2;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IconvCodec codec;
    ParsedStore parsed = ParseIcsStore(text, IcsClockAt(moments.front()));
    for (const std::string& p : parsed.problems) {
        std::cerr << path << ": " << p << '\n';
    }
    Store& s = parsed.store;
    StoreIndex index;
    index.Rebuild(s);
    for (const Minutes now : moments) {
        if (AdvanceLive(s, now)) {
            index.Rebuild(s);
        }
        std::cout << "at\t" << Stamp(now, false) << '\n';
        Print("now", "store", StoreNow(s, now));
        Print("now", "list", ListNow(text, now, codec));
        Print("window", "store", StoreWindow(s, index, now, window));
    }
    return 0;
}
