// The replacement Outlook store's file, any bytes:
//
// - it parses without overruns, and every record it keeps has a span of
//   the text that starts with its header;
// - deleting a record found by its Oid or its text takes out that record's
//   lines only: what is before it is kept byte for byte, every other
//   record is still there and no problem comes or goes;
// - skipping an occurrence of a series changes only that record, and the
//   occurrence is gone afterwards;
// - the occurrences of a series over a few weeks are in start order.
#include "fuzz/storage_fuzz_support.h"
#include "platform/poom_store/store_index.h"
#include "platform/poom_store/store_model.h"

#include <algorithm>
#include <string>

namespace {

using namespace vantrel;
using namespace vantrel::store;

constexpr std::size_t kRecordsChecked = 4;

template <class Record> void CheckSpan(std::string_view text, const Record& r) {
    fuzzing::Check(r.span.begin < r.span.end && r.span.end <= text.size());
    const std::size_t header = text.find_first_not_of(" \t", r.span.begin);
    fuzzing::Check(header < r.span.end && text[header] == '[');
}

template <class Record>
void CheckDelete(std::string_view text, const ParsedStore& parsed, const Record& r) {
    const std::optional<ChangedText> changed =
        ApplyChange(text, ChangeOf(StoreChange::kDelete, text, r));
    fuzzing::Check(changed.has_value());
    if (!changed) {
        return;
    }
    fuzzing::Check(changed->text.compare(0, r.span.begin, text.substr(0, r.span.begin)) == 0);
    const ParsedStore after = ParseStore(changed->text);
    fuzzing::Check(after.problems.size() == parsed.problems.size());
    fuzzing::Check(after.store.appointments.size() + after.store.tasks.size() + 1 ==
                   parsed.store.appointments.size() + parsed.store.tasks.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzzing::Bytes(data, size);
    const ParsedStore parsed = ParseStore(text);
    fuzzing::Check(parsed.ok == parsed.problems.empty());
    for (const Appointment& a : parsed.store.appointments) {
        CheckSpan(text, a);
    }
    for (const Task& t : parsed.store.tasks) {
        CheckSpan(text, t);
    }
    StoreIndex index;
    index.Rebuild(parsed.store);
    for (std::size_t i = 0; i < parsed.store.appointments.size() && i < kRecordsChecked; ++i) {
        const Appointment& a = parsed.store.appointments[i];
        fuzzing::Check(index.FindAppointment(a.oid) == &a);
        CheckDelete(text, parsed, a);
        if (!a.recurrence) {
            continue;
        }
        const int first = DayOf(a.start);
        const std::vector<Occurrence> occurrences = OccurrencesStarting(a, first, first + 40);
        fuzzing::Check(std::is_sorted(
            occurrences.begin(), occurrences.end(),
            [](const Occurrence& x, const Occurrence& y) { return x.start < y.start; }));
        if (occurrences.empty()) {
            continue;
        }
        StoreChange skip = ChangeOf(StoreChange::kSkipOccurrence, text, a);
        skip.day = occurrences.front().originalDay;
        const std::optional<ChangedText> skipped = ApplyChange(text, skip);
        fuzzing::Check(skipped.has_value());
        if (!skipped) {
            continue;
        }
        fuzzing::Check(skipped->text.compare(0, a.span.begin, text.substr(0, a.span.begin)) == 0);
        const ParsedStore after = ParseStore(skipped->text);
        fuzzing::Check(after.problems.size() == parsed.problems.size());
        fuzzing::Check(after.store.appointments.size() == parsed.store.appointments.size());
        const Appointment& again = after.store.appointments[i];
        fuzzing::Check(!OccurrenceOn(again, skip.day) ||
                       OccurrenceOn(again, skip.day)->originalDay != skip.day);
    }
    for (std::size_t i = 0; i < parsed.store.tasks.size() && i < kRecordsChecked; ++i) {
        fuzzing::Check(index.FindTask(parsed.store.tasks[i].oid) == &parsed.store.tasks[i]);
        CheckDelete(text, parsed, parsed.store.tasks[i]);
    }
    return 0;
}
