#include "counter/near_time_text.h"

#include "counter/text_compose.h"

namespace vantrel {
namespace {

// The words of one form for minutes and hours.
struct NearVocabulary {
    int dayWordPast, dayWordFuture;
    std::u16string_view shortMark;
    bool shortHourPlusAtZero; // "[E+0h]" rather than "[E0h]"
    int minuteZero, minutePastPrefix, minuteFuturePrefix, oneMinute, minuteSuffix;
    int hourPastPrefix, hourFuturePrefix, oneHour, hourSuffix;
};

constexpr int kDoneToday = 42251;     // 今日済
constexpr int kDoneYesterday = 42248; // 昨日済
constexpr int kDoneJustNow = 42128;   // 済±0分

constexpr NearVocabulary kDateNear{42242, 42243, u"",   false, 42014, 42015, 42016,
                                   42017, 42018, 42010, 42011, 42012, 42013};
constexpr NearVocabulary kPeriodNear{42246, 42247, u"E",  true,  42126, 42101, 42102,
                                     42017, 42018, 42099, 42100, 42012, 42013};
constexpr NearVocabulary kDeadlineNear{42244, 42245, u"\u3006", false, 42195, 42196, 42197,
                                       42198, 42199, 42191,     42192, 42193, 42194};

std::u16string NearCount(const TextTable& texts, const CounterSettings& s, const NearVocabulary& w,
                         int v, bool otherDay) {
    if (s.DrawTomorrow != 0 && otherDay) {
        return LoadText(texts, v > 0 ? w.dayWordPast : w.dayWordFuture);
    }
    const int magnitude = v < 0 ? -v : v;
    if (magnitude <= s.MaxMinutes) {
        if (s.ShortView != 0) {
            return ShortText(w.shortMark, v, true, u"m");
        }
        if (v == 0) {
            return LoadText(texts, w.minuteZero);
        }
        return ComposeCount(texts, v > 0 ? w.minutePastPrefix : w.minuteFuturePrefix, v,
                            w.oneMinute, w.minuteSuffix);
    }
    const int h = v / 60; // toward zero
    if (s.ShortView != 0) {
        const std::u16string plus = (w.shortHourPlusAtZero && h == 0) ? u"+" : u"";
        return h == 0 ? Joined({u"[", w.shortMark, plus, u"0h]"})
                      : ShortText(w.shortMark, h, true, u"h");
    }
    return ComposeCount(texts, h > 0 ? w.hourPastPrefix : w.hourFuturePrefix, h, w.oneHour,
                        w.hourSuffix);
}

// prefix piece + "hh:mm" + suffix piece.
std::u16string TimeWithPieces(const TextTable& texts, int prefixId, const DateTime& t,
                              int suffixId) {
    return Joined(
        {LoadPiece(texts, prefixId), ClockTime(t.hour, t.minute), LoadPiece(texts, suffixId)});
}

} // namespace

NearTexts NearDateTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                        int nowDay) {
    NearTexts out;
    out.countText = NearCount(texts, s, kDateNear, v, item.startDate.day != nowDay);
    out.dateText = ClockTime(item.startDate.hour, item.startDate.minute);
    if (s.DrawSpan != 0 && item.endDate.HasTime()) {
        AppendBounded(out.dateText,
                      Joined({u"-", ClockTime(item.endDate.hour, item.endDate.minute)}));
    }
    return out;
}

NearTexts NearPeriodTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                          int nowDay) {
    NearTexts out;
    out.countText = NearCount(texts, s, kPeriodNear, v, item.endDate.day != nowDay);
    out.dateText = v >= 0 ? TimeWithPieces(texts, 42095, item.endDate, 42096)
                          : TimeWithPieces(texts, 42097, item.endDate, 42098);
    return out;
}

NearTexts NearDeadlineTexts(const TextTable& texts, const CounterSettings& s, const Item& item,
                            int v, int nowDay) {
    NearTexts out;
    out.countText = NearCount(texts, s, kDeadlineNear, v, item.endDate.day != nowDay);
    out.dateText = v < 0 ? TimeWithPieces(texts, 42187, item.endDate, 42188)
                         : TimeWithPieces(texts, 42189, item.endDate, 42190);
    return out;
}

NearTexts NearDoneTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                        int nowDay) {
    NearTexts out;
    const DateTime& check = item.checkDate;
    if (s.DrawTomorrow != 0) {
        out.countText = LoadText(texts, check.day == nowDay ? kDoneToday : kDoneYesterday);
    } else if (v <= s.MaxMinutes) {
        if (s.ShortView != 0) {
            out.countText = ShortText(u"x", v, false, u"m");
        } else if (v == 0) {
            out.countText = LoadText(texts, kDoneJustNow);
        } else {
            out.countText = ComposeCount(texts, 42129, v, 42017, 42018);
        }
    } else {
        const int h = v / 60;
        out.countText = s.ShortView != 0 ? ShortText(u"x", h, false, u"h")
                                         : ComposeCount(texts, 42127, h, 42012, 42013);
    }
    out.dateText = s.ShortView != 0 ? Joined({u"x", ClockTime(check.hour, check.minute)})
                                    : TimeWithPieces(texts, 42171, check, 42172);
    return out;
}

} // namespace vantrel
