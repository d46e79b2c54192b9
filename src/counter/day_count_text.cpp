#include "counter/day_count_text.h"

#include "counter/text_compose.h"

namespace vantrel {
namespace {

// The words of one form. Ids of 0 mark cases the form does not have.
struct DayVocabulary {
    int todayWord, yesterdayWord, tomorrowWord; // used when DrawTomorrow is on
    std::u16string_view shortMark;
    bool shortPlusWhenPast;
    int zeroText, pastOneText, futureOneText;
    int pastPrefix, futurePrefix, suffix;
};

constexpr int kDeadlineToday = 42212;     // 〆今日
constexpr int kDeadlineYesterday = 42213; // 〆昨日
constexpr int kDeadlineTomorrow = 42214;  // 〆明日

constexpr DayVocabulary kDateWords{42249, 42242, 42243, u"",   true, 42037,
                                   42038, 42039, 42040, 42041, 42042};
constexpr DayVocabulary kPeriodWords{42250, 42246, 42247, u"E",  true, 42120,
                                     42121, 42122, 42123, 42124, 42125};
constexpr DayVocabulary kDoneWords{42251, 42248, 0, u"x", false, 42130, 42131, 0, 42132, 0, 42133};

std::u16string CountText(const TextTable& texts, const CounterSettings& s, const DayVocabulary& w,
                         int n) {
    const bool nearDay = n == 0 || n == 1 || n == -1;
    if (s.DrawTomorrow != 0 && nearDay) {
        return LoadText(texts, n == 0 ? w.todayWord : n == 1 ? w.yesterdayWord : w.tomorrowWord);
    }
    if (s.ShortView != 0) {
        return ShortText(w.shortMark, n, w.shortPlusWhenPast);
    }
    if (nearDay) {
        return LoadText(texts, n == 0 ? w.zeroText : n == 1 ? w.pastOneText : w.futureOneText);
    }
    return n > 0 ? ComposeNumber(texts, w.pastPrefix, n, w.suffix)
                 : ComposeNumber(texts, w.futurePrefix, -static_cast<long long>(n), w.suffix);
}

} // namespace

std::u16string DateCountText(const TextTable& texts, const CounterSettings& s, int d) {
    return CountText(texts, s, kDateWords, d);
}

std::u16string PeriodCountText(const TextTable& texts, const CounterSettings& s, int e) {
    return CountText(texts, s, kPeriodWords, e);
}

std::u16string DoneCountText(const TextTable& texts, const CounterSettings& s, int a) {
    return CountText(texts, s, kDoneWords, a); // a >= 0 here
}

std::u16string DeadlineCountText(const TextTable& texts, const CounterSettings& s, int e) {
    // Short texts come first here, and the DrawTomorrow words are not used.
    if (s.ShortView != 0) {
        return ShortText(u"\u3006", e, true);
    }
    switch (e) {
    case 0:
        return LoadText(texts, kDeadlineToday);
    case 1:
        return LoadText(texts, kDeadlineYesterday);
    case -1:
        return LoadText(texts, kDeadlineTomorrow);
    default:
        return e > 0 ? ComposeNumber(texts, 42215, e, 42216)
                     : ComposeNumber(texts, 42217, -static_cast<long long>(e), 42218);
    }
}

} // namespace vantrel
