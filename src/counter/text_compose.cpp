#include "counter/text_compose.h"

#include "text/text_ids.h"

#include <cstdio>

namespace vantrel {

std::u16string Decimal(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Joined(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (std::u16string_view part : parts) {
        AppendBounded(text, part);
    }
    return text;
}

std::u16string ComposeNumber(const TextTable& texts, int prefixId, long long number, int suffixId) {
    return Joined({LoadPiece(texts, prefixId), Decimal(number), LoadPiece(texts, suffixId)});
}

std::u16string ComposeCount(const TextTable& texts, int prefixId, long long number, int oneWordId,
                            int unitSuffixId) {
    const long long magnitude = number < 0 ? -number : number;
    if (magnitude == 1) {
        return Joined({LoadPiece(texts, prefixId), LoadText(texts, oneWordId)});
    }
    return ComposeNumber(texts, prefixId, magnitude, unitSuffixId);
}

std::u16string ShortText(std::u16string_view mark, long long number, bool plusWhenPast,
                         std::u16string_view unit) {
    const long long magnitude = number < 0 ? -number : number;
    const std::u16string_view plus = (plusWhenPast && number > 0) ? u"+" : u"";
    return Joined({u"[", mark, plus, Decimal(magnitude), unit, u"]"});
}

std::u16string ClockTime(int hour, int minute) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hour, minute);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

namespace {

// One part of a month-day composition, selected by a pattern letter.
std::u16string Part(const TextTable& texts, char16_t letter, const DateTime& date,
                    bool withWeekday) {
    if (letter == u'M') {
        return LoadText(texts, text_id::kMonthBase + date.month);
    }
    if (!withWeekday || letter == u'D') {
        return LoadText(texts, text_id::kDayBase + date.day);
    }
    return LoadText(texts, text_id::kWeekdaySunday + WeekdayOf(DayNumberOf(date)));
}

} // namespace

std::u16string MonthDayCore(const TextTable& texts, const MonthDayPieces& pieces,
                            const DateTime& date, bool withWeekday) {
    const std::u16string pattern = LoadText(texts, withWeekday ? pieces.pattern3 : pieces.pattern2);
    // Exactly two or three letters are read; a short pattern reads as blanks.
    auto letter = [&](std::size_t i) { return i < pattern.size() ? pattern[i] : u'\0'; };
    if (!withWeekday) {
        return Joined({Part(texts, letter(0), date, false), LoadPiece(texts, pieces.separator2),
                       Part(texts, letter(1), date, false)});
    }
    return Joined({Part(texts, letter(0), date, true), LoadPiece(texts, pieces.separator3a),
                   Part(texts, letter(1), date, true), LoadPiece(texts, pieces.separator3b),
                   Part(texts, letter(2), date, true)});
}

std::u16string ComposeMonthDay(const TextTable& texts, const MonthDayPieces& pieces,
                               const DateTime& date, bool withWeekday) {
    return Joined({LoadPiece(texts, withWeekday ? pieces.prefix3 : pieces.prefix2),
                   MonthDayCore(texts, pieces, date, withWeekday),
                   LoadPiece(texts, withWeekday ? pieces.suffix3 : pieces.suffix2)});
}

std::u16string ComposeYear(const TextTable& texts, int prefixId, int year, int suffixId) {
    return ComposeNumber(texts, prefixId, year, suffixId);
}

} // namespace vantrel
