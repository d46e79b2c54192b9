#pragma once

#include "model/date_time.h"
#include "text/text_table.h"

#include <string>
#include <string_view>

namespace vantrel {

// Small builders shared by every form's texts. Results are bounded to
// kTextCapacity - 1 units.

std::u16string Decimal(long long value);

// Concatenation of the parts, bounded.
std::u16string Joined(std::initializer_list<std::u16string_view> parts);

// prefix piece + number + suffix piece ("あと" 3 "日").
std::u16string ComposeNumber(const TextTable& texts, int prefixId, long long number, int suffixId);

// prefix piece + number word for exactly 1, else number + unit suffix piece.
std::u16string ComposeCount(const TextTable& texts, int prefixId, long long number, int oneWordId,
                            int unitSuffixId);

// The bracketed short texts: "[" mark, "+" for a past value when asked,
// |number|, unit "]" ("[+5]", "[E3h]", "[〆0m]", "[x12]").
std::u16string ShortText(std::u16string_view mark, long long number, bool plusWhenPast,
                         std::u16string_view unit = u"");

// "%02d:%02d".
std::u16string ClockTime(int hour, int minute);

// The pieces of one month-day composition.
struct MonthDayPieces {
    int pattern2, prefix2, separator2, suffix2;
    int pattern3, prefix3, separator3a, separator3b, suffix3;
};

// The parts and separators of a date, in pattern order, without prefix
// and suffix: "11" "/" "07" "木" for the three-part pattern "MDW".
std::u16string MonthDayCore(const TextTable& texts, const MonthDayPieces& pieces,
                            const DateTime& date, bool withWeekday);

// prefix + core + suffix: "〆11/04月", "11/05火迄".
std::u16string ComposeMonthDay(const TextTable& texts, const MonthDayPieces& pieces,
                               const DateTime& date, bool withWeekday);

// prefix piece + year + suffix piece ("2012年済").
std::u16string ComposeYear(const TextTable& texts, int prefixId, int year, int suffixId);

} // namespace vantrel
