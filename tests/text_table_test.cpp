#include "text/builtin_texts.h"
#include "text/text_ids.h"

#include <gtest/gtest.h>

#include <set>

namespace vantrel {
namespace {

class FakeTexts : public TextTable {
  public:
    std::u16string Text(int id) const override {
        switch (id) {
        case 1:
            return u"\t";
        case 2:
            return u"\t\t";
        case 3:
            return u" ";
        default:
            return u"x";
        }
    }
};

TEST(TextTable, EntriesAreAscendingAndInTheModuleRange) {
    const auto entries = BuiltinTextEntries();
    ASSERT_FALSE(entries.empty());
    std::set<int> ids;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_GE(entries[i].id, text_id::kFirst);
        EXPECT_LE(entries[i].id, text_id::kLast);
        if (i > 0) {
            EXPECT_LT(entries[i - 1].id, entries[i].id) << "out of order at " << entries[i].id;
        }
        EXPECT_LT(std::u16string(entries[i].text).size(), kTextCapacity);
    }
}

TEST(TextTable, KnownTextsLoadById) {
    const BuiltinTextTable table;
    EXPECT_EQ(table.Text(42010), u"+");
    EXPECT_EQ(table.Text(42012), u"1\u6642\u9593");                // 1時間
    EXPECT_EQ(table.Text(text_id::kWeekdaySunday), u"\u65E5");     // 日
    EXPECT_EQ(table.Text(text_id::kWeekdaySunday + 6), u"\u571F"); // 土
    EXPECT_EQ(table.Text(text_id::kMonthBase + 1), u"01");
    EXPECT_EQ(table.Text(text_id::kMonthBase + 12), u"12");
    EXPECT_EQ(table.Text(text_id::kDayBase + 1), u"01");
    EXPECT_EQ(table.Text(text_id::kDayBase + 31), u"31");
    EXPECT_EQ(table.Text(text_id::kNoData),
              u"\u30C7\u30FC\u30BF\u304C\u3042\u308A\u307E\u305B\u3093");
    EXPECT_EQ(table.Text(text_id::kVersionTitle), u"Vantrel 0.40i");
    EXPECT_EQ(table.Text(42186), u"ToDo");
    EXPECT_NE(table.Text(text_id::kAskKeepOnlyShown).find(u"\n\n"), std::u16string::npos);
    EXPECT_EQ(table.Text(42135), u""); // not in the table
    EXPECT_FALSE(table.Text(text_id::kAskDeleteSettings).empty());
    EXPECT_EQ(table.Text(1), u"");
}

TEST(TextTable, PiecesOfOneTabAreEmpty) {
    const BuiltinTextTable table;
    EXPECT_EQ(table.Text(42044), u"\t");
    EXPECT_EQ(LoadPiece(table, 42044), u"");
    EXPECT_EQ(LoadText(table, 42044), u"\t"); // whole texts are used as loaded
    EXPECT_EQ(LoadPiece(table, 42045), u"/");

    const FakeTexts fake;
    EXPECT_EQ(LoadPiece(fake, 1), u"");
    EXPECT_EQ(LoadPiece(fake, 2), u"\t\t"); // only a lone TAB means empty
    EXPECT_EQ(LoadPiece(fake, 3), u" ");
}

TEST(TextTable, AppendBoundedStopsAtTheBuffer) {
    std::u16string text(250, u'a');
    AppendBounded(text, std::u16string(20, u'b'));
    EXPECT_EQ(text.size(), kTextCapacity - 1);
    EXPECT_EQ(text.back(), u'b');
    AppendBounded(text, u"more");
    EXPECT_EQ(text.size(), kTextCapacity - 1);
}

} // namespace
} // namespace vantrel
