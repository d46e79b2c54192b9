#include "options/option_rules.h"
#include "settings/over_minutes.h"
#include "text/builtin_texts.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(OptionRules, StartFilterListSkipsTheSearch) {
    EXPECT_EQ(StartFilterCode(11), 12);
    EXPECT_EQ(StartFilterIndex(12), 11);
    EXPECT_EQ(StartFilterIndex(11), 0);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(StartFilterIndex(StartFilterCode(i)), i);
    }
}

TEST(OptionRules, DayRangesResetWhenOutOfOrderAndSettleWhenTyped) {
    DayRanges ranges{-365, -7, -1, 1, 8, 366, -1, 1};
    EXPECT_FALSE(ValidateDayRanges(ranges));
    ranges[kFilterEnd] = -2;
    EXPECT_TRUE(ValidateDayRanges(ranges));
    EXPECT_EQ(ranges[kFilterEnd], 1);
    ranges[kRangeMinus1] = -400; // below its lower neighbour
    EXPECT_TRUE(ValidateDayRanges(ranges));
    EXPECT_EQ(ranges[kRangeMinus1], -7);

    EXPECT_EQ(SettledRange(ranges, kRangePlus1, 500), 366); // above +2 snaps back
    EXPECT_EQ(SettledRange(ranges, kRangePlus1, 0), 1);     // below the 0 range end
    EXPECT_EQ(SettledRange(ranges, kRangePlus1, 5), 5);
    EXPECT_EQ(SettledRange(ranges, kRangeMinus2, -99999), -99999);
    EXPECT_EQ(SettledRange(ranges, kRangePlus2, 99999), 99999);
    EXPECT_EQ(SettledRange(ranges, kFilterStart, 4), 1);
    EXPECT_EQ(SettledRange(ranges, kFilterEnd, -4), -1);

    // Apply settles boxes left unsettled, lowest first.
    DayRanges typed{-365, -7, -1, 1, 500, 366, 3, -2};
    SettleDayRanges(typed);
    EXPECT_EQ(typed, (DayRanges{-365, -7, -1, 1, 366, 366, -2, -2}));
    DayRanges negative{-30, -20, -10, -5, 8, 366, -14, -3}; // already in order
    SettleDayRanges(negative);
    EXPECT_EQ(negative, (DayRanges{-30, -20, -10, -5, 8, 366, -14, -3}));
}

TEST(OptionRules, ToDoSpanAndOverdueDays) {
    EXPECT_FALSE(ShowToDoSpan(7).on);
    EXPECT_EQ(ShowToDoSpan(7).value, 1);
    EXPECT_TRUE(ShowToDoSpan(-3).on);
    EXPECT_EQ(ShowToDoSpan(0).value, 0);
    EXPECT_EQ(StoreToDoSpan(true, 5), 1);
    EXPECT_EQ(StoreToDoSpan(true, -5), -5);
    EXPECT_EQ(StoreToDoSpan(false, -5), 1);
    for (auto [days, stored] :
         {std::pair{0, 2100000000}, std::pair{-1, 2099997120}, std::pair{-3, 2099994240}}) {
        EXPECT_EQ(OverMinutesFromDays(days), stored);
        EXPECT_EQ(DaysFromOverMinutes(stored), days);
    }
}

TEST(OptionRules, ColumnPositionsStayAPermutation) {
    std::array<int, 3> p{1, 2, 3}; // day count, date, title
    PickPosition(p, 0, 2);
    EXPECT_EQ(p, (std::array<int, 3>{2, 1, 3}));
    PickPosition(p, 2, 2);
    EXPECT_EQ(p, (std::array<int, 3>{3, 1, 2}));
    PickPosition(p, 1, 1); // the same again
    EXPECT_EQ(p, (std::array<int, 3>{3, 1, 2}));
    std::array<int, 3> twice{2, 2, 1};
    RepairPositions(twice);
    EXPECT_EQ(twice, (std::array<int, 3>{1, 2, 3}));
    std::array<int, 3> fine{3, 1, 2};
    RepairPositions(fine);
    EXPECT_EQ(fine, (std::array<int, 3>{3, 1, 2}));
    for (std::array<int, 3> beyond : {std::array<int, 3>{4, 1, 2}, std::array<int, 3>{1, 2, 7},
                                      std::array<int, 3>{0, 2, 3}, std::array<int, 3>{1, -1, 3}}) {
        RepairPositions(beyond);
        EXPECT_EQ(beyond, (std::array<int, 3>{1, 2, 3}));
    }
}

TEST(OptionRules, CommandNamesFollowTheCodes) {
    BuiltinTextTable texts;
    EXPECT_EQ(LoadText(texts, kCommandNameIds[0]), u"なし");
    EXPECT_EQ(LoadText(texts, kCommandNameIds[3 + 1]), u"メニュー");
    EXPECT_EQ(LoadText(texts, kCommandNameIds[34 + 1]), u"過去");
    EXPECT_EQ(LoadText(texts, kCommandNameIds[36 + 1]), u"コピー");
}

} // namespace
} // namespace vantrel
