#include "counter/date_column_text.h"

#include "counter/text_compose.h"

namespace vantrel {
namespace {

constexpr int kFarLimit = 364; // beyond, the year is shown instead of month and day

bool IsFar(int offset) {
    return offset < -kFarLimit || offset > kFarLimit;
}

constexpr int kAnniversaryYears = 42028; // 周年; the three after it name years 1 to 3

constexpr MonthDayPieces kDatePieces{42043, 42044, 42045, 42046, 42047, 42048, 42049, 42050, 42051};
constexpr MonthDayPieces kPeriodBeforeEnd{42107, 42109, 42110, 42112, 42113,
                                          42115, 42116, 42117, 42119};
constexpr MonthDayPieces kPeriodEnded{42107, 42108, 42110, 42111, 42113,
                                      42114, 42116, 42117, 42118};
constexpr MonthDayPieces kDeadlineAhead{42107, 42208, 42110, 42209, 42113,
                                        42204, 42116, 42117, 42205};
constexpr MonthDayPieces kDeadlinePassed{42107, 42210, 42110, 42211, 42113,
                                         42206, 42116, 42117, 42207};
constexpr MonthDayPieces kDonePieces{42175, 42176, 42177, 42178, 42179, 42180, 42181, 42182, 42183};

bool SameMonthDay(const DateTime& a, const DateTime& b) {
    return a.month == b.month && a.day == b.day;
}

std::u16string AnniversaryText(const TextTable& texts, int years) {
    if (years <= -1) {
        return ComposeNumber(texts, 42032, -static_cast<long long>(years),
                             years == -1 ? 42033 : 42034);
    }
    if (years >= 1 && years <= 3) {
        return LoadText(texts, kAnniversaryYears + years); // 1周年 … 3周年
    }
    return ComposeNumber(texts, 42027, years, kAnniversaryYears);
}

// The end part that DrawSpan adds to a period that has not begun yet.
std::u16string SpanEndPart(const TextTable& texts, const CounterSettings& s, const Item& item) {
    const DateTime& start = item.startDate;
    const DateTime& end = item.endDate;
    const bool sameDay = SameMonthDay(start, end);
    if (!end.HasTime()) {
        return sameDay ? u""
                       : Joined({u"-", ComposeMonthDay(texts, kDatePieces, end, s.DrawWDay != 0)});
    }
    if (sameDay) {
        return Joined({u"-", ClockTime(end.hour, end.minute)});
    }
    return Joined({u" - ", ComposeMonthDay(texts, kDatePieces, end, s.DrawWDay != 0), u" ",
                   ClockTime(end.hour, end.minute)});
}

} // namespace

int AnniversaryYears(const DateTime& start, int d, const SystemTime& now) {
    return IsFar(d) && start.month == now.month && start.day == now.day ? now.year - start.year : 0;
}

std::u16string DateColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                              int d, const SystemTime& now) {
    const DateTime& start = item.startDate;
    if (IsFar(d)) {
        if (const int years = AnniversaryYears(start, d, now); years != 0) {
            return AnniversaryText(texts, years);
        }
        return ComposeYear(texts, 42035, start.year, 42036);
    }
    std::u16string text = ComposeMonthDay(texts, kDatePieces, start, s.DrawWDay != 0);
    if (s.DrawSpan != 0) {
        if (start.HasTime()) {
            AppendBounded(text, Joined({u" ", ClockTime(start.hour, start.minute)}));
        }
        if (item.endDate.HasDate()) {
            AppendBounded(text, SpanEndPart(texts, s, item));
        }
    }
    return text;
}

std::u16string PeriodColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                                int e) {
    if (IsFar(e)) {
        return e < 0 ? ComposeYear(texts, 42105, item.endDate.year, 42106)
                     : ComposeYear(texts, 42103, item.endDate.year, 42104);
    }
    return ComposeMonthDay(texts, e < 0 ? kPeriodBeforeEnd : kPeriodEnded, item.endDate,
                           s.DrawWDay != 0);
}

std::u16string DeadlineColumnText(const TextTable& texts, const CounterSettings& s,
                                  const Item& item, int e) {
    if (IsFar(e)) {
        return e < 0 ? ComposeYear(texts, 42200, item.endDate.year, 42201)
                     : ComposeYear(texts, 42202, item.endDate.year, 42203);
    }
    return ComposeMonthDay(texts, e <= 0 ? kDeadlineAhead : kDeadlinePassed, item.endDate,
                           s.DrawWDay != 0);
}

std::u16string DoneColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                              int a) {
    const DateTime& check = item.checkDate;
    if (a > kFarLimit) {
        return s.ShortView != 0 ? Joined({u"x", Decimal(check.year), u"\u5E74"})
                                : ComposeYear(texts, 42173, check.year, 42174);
    }
    if (s.ShortView != 0) {
        return Joined({u"x", MonthDayCore(texts, kDonePieces, check, s.DrawWDay != 0)});
    }
    return ComposeMonthDay(texts, kDonePieces, check, s.DrawWDay != 0);
}

} // namespace vantrel
