// Each input is used twice.
//
// As text: any bytes parse without overruns; a reported success carries a
// valid date and a valid-or-no time; and what the program keeps of the
// result (the date repaired as on loading), written the way the data file
// writes dates, parses back as itself: parse, write, parse is a fixed point.
//
// As choices: any date and time the program can hold, written and parsed,
// is the same date and time.
#include "fuzz/storage_fuzz_support.h"
#include "model/date_parse.h"
#include "model/normalize_dates.h"
#include "storage/vrl_writer.h"

#include <string>

namespace {

using namespace vantrel;

// Written and parsed again, `held` (a date as the program holds it) must come
// back unchanged and write as the same text.
void CheckWrittenAndParsed(const DateTime& held) {
    std::string text;
    AppendVrlDate(text, held);
    fuzzing::Check(text.empty() == !held.HasDate());
    const ParsedDateTime again = ParseDateTime(text);
    fuzzing::Check(again.ok == held.HasDate());
    fuzzing::Check(again.value == held);
    std::string rewritten;
    AppendVrlDate(rewritten, again.value);
    fuzzing::Check(rewritten == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::Bytes(data, size);
    const ParsedDateTime r = ParseDateTime(bytes);
    if (r.ok) {
        const DateTime& v = r.value;
        fuzzing::Check(!IsBadDate(v.year, v.month, v.day));
        fuzzing::Check(v.hour == -1 ? v.minute == -1 : !IsBadTime(v.hour, v.minute));
    }
    Item item = NewOwnEntry();
    item.startDate = r.value;
    item.endDate = item.checkDate = kNoDate;
    NormalizeDates(item);
    fuzzing::Check(!r.ok || item.startDate == r.value); // a success needs no repair
    CheckWrittenAndParsed(item.startDate);

    fuzzing::Choices choices(bytes);
    const std::uint32_t kind = choices.Below(4); // 0 no date, 1 a day, 2-3 a day and time
    CheckWrittenAndParsed(kind == 0 ? kNoDate : fuzzing::GenerateDate(choices, kind >= 2));
    return 0;
}
