#include "model/tag_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel {
namespace {

ItemList WithTags(std::initializer_list<std::u16string> tags) {
    ItemList list;
    for (const std::u16string& t : tags) {
        Item item = NewOwnEntry();
        item.tags = t;
        list.push_back(item);
    }
    return list;
}

TEST(TagIndex, RebuildKeepsEmptyPiecesReadersSkipThem) {
    TagIndex rebuilt;
    RebuildTagIndex(rebuilt, WithTags({u"work\t\thome"}));
    EXPECT_EQ(EntryCount(rebuilt), 3u);
    EXPECT_EQ(CountOfTag(rebuilt, u""), 1u);

    TagIndex read;
    AddTagsSkippingEmpty(read, u"work\t\thome", 0);
    EXPECT_EQ(EntryCount(read), 2u);
    EXPECT_EQ(CountOfTag(read, u""), 0u);
    EXPECT_EQ(CountOfTag(read, u"work"), 1u);
    EXPECT_EQ(CountOfTag(read, u"home"), 1u);
}

// A file may repeat a word in one entry's tags: the entry is listed once
// under it, by the rebuild and by the reader alike.
TEST(TagIndex, AWordRepeatedInOneEntryListsItOnce) {
    TagIndex rebuilt;
    RebuildTagIndex(rebuilt, WithTags({u"a\ta", u"b\ta\tb", u"a"}));
    const std::span<const int> a = EntriesOfTag(rebuilt, u"a");
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CountOfTag(rebuilt, u"b"), 1u);
    TagIndex read;
    AddTagsSkippingEmpty(read, u"x\t\tx", 5);
    EXPECT_EQ(CountOfTag(read, u"x"), 1u);
}

TEST(TagIndex, ReaderAddsATextOfOnlyTabsWhole) {
    TagIndex read;
    AddTagsSkippingEmpty(read, u"\t\t", 3);
    ASSERT_EQ(EntryCount(read), 1u);
    ASSERT_EQ(CountOfTag(read, u"\t\t"), 1u);
    EXPECT_EQ(EntriesOfTag(read, u"\t\t")[0], 3);
    AddTagsSkippingEmpty(read, u"", 4);
    EXPECT_EQ(EntryCount(read), 1u);
}

TEST(TagIndex, EqualRangeListsPositionsInInsertionOrder) {
    TagIndex index;
    RebuildTagIndex(index, WithTags({u"a\tb", u"", u"b", u"b\tc"}));
    const std::span<const int> positions = EntriesOfTag(index, u"b");
    EXPECT_EQ(std::vector<int>(positions.begin(), positions.end()), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(CountOfTag(index, u"missing"), 0u);
}

TEST(TagIndex, OrdinalOrderOfCodeUnits) {
    TagIndex index;
    AddTagsSkippingEmpty(index, u"\uFF21\tb\tB\t\u3042", 0);
    TagIndex none;
    EXPECT_EQ(TagVocabulary(index, none, none),
              (std::vector<std::u16string>{u"B", u"b", u"\u3042", u"\uFF21"}));
}

TEST(TagIndex, RebuildForgetsTagsNoLongerUsedAndFollowsNewPositions) {
    TagIndex index;
    RebuildTagIndex(index, WithTags({u"old", u"kept"}));
    RebuildTagIndex(index, WithTags({u"kept", u"", u"new\tkept"}));
    EXPECT_EQ(CountOfTag(index, u"old"), 0u);
    TagIndex none;
    EXPECT_EQ(TagVocabulary(index, none, none), (std::vector<std::u16string>{u"kept", u"new"}));
    const std::span<const int> kept = EntriesOfTag(index, u"kept");
    EXPECT_EQ(std::vector<int>(kept.begin(), kept.end()), (std::vector<int>{0, 2}));
}

TEST(TagIndex, VocabularyIsOwnFirstEachTagOnce) {
    TagIndex own, appointments, tasks;
    RebuildTagIndex(own, WithTags({u"z\ta", u"a"}));
    RebuildTagIndex(appointments, WithTags({u"\u795D\u65E5\ta", u"m"}));
    RebuildTagIndex(tasks, WithTags({u"m\t\tb"}));
    EXPECT_EQ(TagVocabulary(own, appointments, tasks),
              (std::vector<std::u16string>{u"a", u"z", u"m", u"\u795D\u65E5", u"b"}));
}

TEST(TagIndex, SplitHelpers) {
    EXPECT_EQ(SplitAtEveryTab(u"a\t\tb\t"), (std::vector<std::u16string>{u"a", u"", u"b", u""}));
    EXPECT_EQ(SplitTagsSkippingEmpty(u"a\t\tb\t"), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(SplitTagsSkippingEmpty(u"one"), (std::vector<std::u16string>{u"one"}));
    EXPECT_TRUE(SplitTagsSkippingEmpty(u"").empty());
    EXPECT_TRUE(SplitTagsSkippingEmpty(u"\t").empty());
    EXPECT_TRUE(SplitTagsSkippingEmpty(u"\t\t\t").empty());
}

} // namespace
} // namespace vantrel
