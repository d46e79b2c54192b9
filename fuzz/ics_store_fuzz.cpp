// The iCalendar store's file, any bytes:
//
// - it parses without overruns, and every record it keeps has a span of
//   the text that begins with a BEGIN line (but in a file libical reads
//   otherwise than its lines, which is reported and never changed);
// - deleting a record keeps every byte before it and takes out one record
//   (or, for a series shown by one occurrence, that occurrence only);
// - skipping an occurrence of a series changes only that series' bytes and
//   the occurrence is gone afterwards;
// - completing a task and taking it back gives a task that is complete,
//   then not;
// - a series the engine follows answers at later moments with an
//   occurrence not yet ended, and its windows hold only their own days.
#include "fuzz/storage_fuzz_support.h"
#include "ical/ical_text.h"
#include "platform/poom_store/ics_store.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using namespace vantrel;
using namespace vantrel::store;

constexpr std::size_t kRecordsChecked = 3;

IcsClock FuzzClock() {
    return {MomentOf(DayNumberOf(2026, 12, 9), 9, 30), 1796787000};
}

std::size_t Records(const ParsedStore& p) {
    return p.store.appointments.size() + p.store.tasks.size();
}

template <class Record>
void CheckSpan(std::string_view text, const ParsedStore& parsed, const Record& r) {
    if (r.span.begin == 0 && r.span.end == 0) {
        // A file libical reads otherwise than its lines: shown, never changed.
        fuzzing::Check(!parsed.ok);
        return;
    }
    fuzzing::Check(r.span.begin < r.span.end && r.span.end <= text.size());
    std::string head(text.substr(r.span.begin, 5));
    for (char& c : head) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    fuzzing::Check(head == "BEGIN");
}

template <class Record>
void CheckDelete(std::string_view text, const ParsedStore& parsed, const Record& r) {
    StoreChange change = ChangeOf(StoreChange::kDelete, text, r);
    const std::optional<ChangedText> changed = ApplyIcsChange(text, change, FuzzClock());
    if (!changed) {
        return; // a series shown by one occurrence that has none to exclude
    }
    // Everything before the record stays, but for moved occurrences of its
    // series that come before it (they go with the series).
    std::size_t keep = r.span.begin;
    const std::string uid = ical::UidOf(text.substr(r.span.begin, r.span.end - r.span.begin));
    for (const ical::ComponentSpan& c : ical::ScanCalendar(text).components) {
        if (!uid.empty() && c.uid == uid) {
            keep = std::min(keep, c.begin);
        }
    }
    fuzzing::Check(changed->text.compare(0, keep, text.substr(0, keep)) == 0);
    const ParsedStore after = ParseIcsStore(changed->text, FuzzClock());
    fuzzing::Check(Records(after) + 1 == Records(parsed) || Records(after) == Records(parsed));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzzing::Bytes(data, size);
    const ParsedStore parsed = ParseIcsStore(text, FuzzClock());
    fuzzing::Check(parsed.ok == parsed.problems.empty());
    for (const Appointment& a : parsed.store.appointments) {
        CheckSpan(text, parsed, a);
    }
    for (const Task& t : parsed.store.tasks) {
        CheckSpan(text, parsed, t);
    }
    for (std::size_t i = 0; i < parsed.store.appointments.size() && i < kRecordsChecked; ++i) {
        const Appointment& a = parsed.store.appointments[i];
        CheckDelete(text, parsed, a);
        if (!a.recurrence) {
            continue;
        }
        const int first = DayOf(a.start);
        const std::vector<Occurrence> occurrences = OccurrencesStarting(a, first, first + 40);
        if (occurrences.empty()) {
            continue;
        }
        StoreChange skip = ChangeOf(StoreChange::kSkipOccurrence, text, a);
        skip.day = occurrences.front().originalDay;
        const std::optional<ChangedText> skipped = ApplyIcsChange(text, skip, FuzzClock());
        if (!skipped) {
            continue;
        }
        fuzzing::Check(skipped->text.size() > text.size());
        const ParsedStore after = ParseIcsStore(skipped->text, FuzzClock());
        for (const Appointment& again : after.store.appointments) {
            if (again.oid == a.oid && again.recurrence) {
                const std::optional<Occurrence> left = OccurrenceOn(again, skip.day);
                fuzzing::Check(!left || left->originalDay != skip.day);
            }
        }
    }
    // The engine at later moments: every live series answers in order and
    // inside the window asked for.
    ParsedStore later = ParseIcsStore(text, FuzzClock());
    for (const int days : {3, 400}) {
        const Minutes now = FuzzClock().localNow + static_cast<Minutes>(days) * 1440;
        AdvanceLive(later.store, now);
        for (const Appointment& a : later.store.appointments) {
            if (!a.live) {
                continue;
            }
            fuzzing::Check(a.ended || a.end >= now || a.start >= now);
            const int day = DayOf(now);
            const std::vector<Occurrence> window = OccurrencesStarting(a, day, day + 9);
            for (std::size_t k = 0; k < window.size(); ++k) {
                fuzzing::Check(DayOf(window[k].start) >= day && DayOf(window[k].start) <= day + 9);
                fuzzing::Check(k == 0 || window[k - 1].start <= window[k].start);
            }
        }
    }
    for (std::size_t i = 0; i < parsed.store.tasks.size() && i < kRecordsChecked; ++i) {
        const Task& t = parsed.store.tasks[i];
        CheckDelete(text, parsed, t);
        StoreChange done = ChangeOf(StoreChange::kSetComplete, text, t);
        done.complete = true;
        done.day = DayNumberOf(2026, 12, 9);
        const std::optional<ChangedText> completed = ApplyIcsChange(text, done, FuzzClock());
        // Refused only for a file whose components libical reads otherwise,
        // or a task whose very text is there twice (which one is meant?).
        const std::string_view own = text.substr(t.span.begin, t.span.end - t.span.begin);
        std::size_t same = 0;
        for (const ical::ComponentSpan& c : ical::ScanCalendar(text).components) {
            same += text.substr(c.begin, c.end - c.begin) == own ? 1 : 0;
        }
        fuzzing::Check(completed.has_value() || !parsed.ok || same > 1);
        if (completed) {
            fuzzing::Check(Records(ParseIcsStore(completed->text, FuzzClock())) == Records(parsed));
        }
    }
    return 0;
}
