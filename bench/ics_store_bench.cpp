// What the .ics store costs against libical's own parse of the same file,
// the floor: opening it, a refresh with the file unchanged, and a change by
// the item with its flushed write. Figures, not a test.
//
//   vantrel_ics_bench [N]          (default 10000 events; TZ as the host's)
//
// Calendars: the kinds of events real exporters write (zones with daylight
// saving time, so that from a host in Japan every series is followed by
// the engine), the Outlook benchmark's own, and fifty MINUTELY series from
// 2010.

#include "bench/ics_bench_calendars.h"
#include "native/std_file_access.h"
#include "platform/poom_store/ics_store.h"
#include "platform/poom_store/store_index.h"
#include "storage/file_replace.h"
#include "text/utf8.h"

#include <libical/ical.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

using namespace vantrel;
using namespace vantrel::store;
using Clock = std::chrono::steady_clock;

// The best of `runs` timings of `work`, in milliseconds.
double Best(int runs, const std::function<void()>& work) {
    double best = 1e18;
    for (int i = 0; i < runs; ++i) {
        const auto from = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - from).count());
    }
    return best;
}

double Floor(const std::string& text) {
    return Best(5, [&] {
        icalcomponent* root = icalparser_parse_string(text.c_str());
        icalcomponent_free(root);
    });
}

const Minutes kNow = MomentOf(DayNumberOf(2026, 12, 9), 12, 0);

void Report(const char* name, const std::string& text) {
    const double floor = Floor(text);
    ParsedStore parsed;
    const double open = Best(5, [&] { parsed = ParseIcsStore(text, IcsClockAt(kNow)); });
    std::size_t live = 0;
    for (const Appointment& a : parsed.store.appointments) {
        live += a.live ? 1 : 0;
    }
    // A refresh: every live series at the next minute, the index when one
    // moved, and the item's seven-day window.
    StoreIndex index;
    index.Rebuild(parsed.store);
    Minutes now = kNow;
    std::size_t found = 0;
    const double refresh = Best(20, [&] {
        now += 1;
        if (AdvanceLive(parsed.store, now)) {
            index.Rebuild(parsed.store);
        }
        // The item's window: from today's start, seven days.
        const Minutes today = MomentOf(DayOf(now), 0, 0);
        const std::vector<Condition> week{
            {Condition::kStart, Condition::kGreaterEqual, VariantOf(today)},
            {Condition::kStart, Condition::kLess,
             VariantOf(today + static_cast<Minutes>(7) * 1440)}};
        found = index.Restrict(week, true).size();
    });
    // A change: skipping the shown occurrence of the first live series,
    // read, applied, written (flushed) and taken as the store's new state.
    const char* dir = std::getenv("TMPDIR");
    const std::u16string path = FromUtf8(std::string(dir ? dir : "/tmp") + "/vantrel-bench.ics");
    StdFileAccess files;
    const Appointment* target = nullptr;
    std::optional<Occurrence> next;
    for (const Appointment& a : parsed.store.appointments) {
        if ((a.live && !a.ended) || a.recurrence) {
            const std::vector<Occurrence> week =
                OccurrencesStarting(a, DayOf(kNow), DayOf(kNow) + 7);
            if (!week.empty()) {
                target = &a;
                next = week.front();
                break;
            }
        }
    }
    double change = -1;
    bool applied = false;
    if (target != nullptr) {
        StoreChange skip = ChangeOf(StoreChange::kSkipOccurrence, text, *target);
        skip.day = next->originalDay;
        skip.slotUtc = next->slotUtc;
        change = 1e18;
        for (int run = 0; run < 5; ++run) {
            const FileContent none = files.Read(path, 64u << 20);
            (void)ReplaceIfUnchanged(files, path, none.identity, text, 64u << 20);
            ParsedStore store = parsed;
            const auto from = Clock::now();
            const FileContent fresh = files.Read(path, 64u << 20);
            const std::optional<ChangedText> changed =
                ApplyIcsChange(fresh.bytes, skip, IcsClockAt(now), fresh.bytes == text);
            applied = changed.has_value();
            if (changed) {
                (void)ReplaceIfUnchanged(files, path, fresh.identity, changed->text, 64u << 20);
                UpdateIcsStore(store, text, changed->text, IcsClockAt(now));
                found += store.store.appointments.size();
            }
            change = std::min(
                change, std::chrono::duration<double, std::milli>(Clock::now() - from).count());
        }
    }
    std::printf("%-34s %8.2f MB %7zu appts %5zu live | floor %7.1f ms | open %7.1f ms (%.2fx) "
                "| refresh %6.2f ms | change %7.1f ms%s\n",
                name, static_cast<double>(text.size()) / 1e6, parsed.store.appointments.size(),
                live, floor, open, open / floor, refresh, change, applied ? "" : " (none made)");
    (void)found;
}

std::string MinutelySeries(int count) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
    char line[300];
    for (int i = 0; i < count; ++i) {
        std::snprintf(
            line, sizeof line,
            "BEGIN:VEVENT\r\nUID:m%d\r\nDTSTAMP:20100101T000000Z\r\n"
            "DTSTART:20100101T0%d0000Z\r\nDURATION:PT5M\r\n"
            "RRULE:FREQ=MINUTELY;INTERVAL=%d\r\nSUMMARY:every %d minutes\r\nEND:VEVENT\r\n",
            i, i % 10, 7 + i, 7 + i);
        text += line;
    }
    return text + "END:VCALENDAR\r\n";
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    Report("exporters' events, DST zones", bench::ExporterCalendar(n));
    Report("vantrel_outlook_bench --ics", bench::BenchIcsCalendar(n));
    Report("50 MINUTELY series from 2010", MinutelySeries(50));
    return 0;
}
