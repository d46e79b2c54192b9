#include "model/item_list.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

Item Own(std::u16string title, int index) {
    Item item = NewOwnEntry();
    item.title = std::move(title);
    item.index = index;
    return item;
}

TEST(Item, CopiesAreIndependent) {
    Item a = Own(u"abc", 0);
    a.tags = u"x\ty";
    Item b = a;
    b.title[0] = u'z';
    b.tags += u"\tw";
    EXPECT_EQ(a.title, u"abc");
    EXPECT_EQ(a.tags, u"x\ty");
    EXPECT_NE(a.title.data(), b.title.data());

    Item c = Own(u"old", 1);
    c = a;
    EXPECT_EQ(c.title, u"abc");
    EXPECT_EQ(c.index, 0);
}

TEST(Item, EmptyStringsCopyAsEmpty) {
    const Item a = NewOwnEntry();
    const Item b = a;
    EXPECT_TRUE(b.title.empty());
    EXPECT_TRUE(b.tags.empty());
    EXPECT_TRUE(b.countText.empty());
    EXPECT_TRUE(b.dateText.empty());
    EXPECT_EQ(b.importance, 1);
    EXPECT_EQ(b.source, kOwnEntry);
}

TEST(ItemList, EraseFirstOfThreeShiftsTheRest) {
    ItemList own{Own(u"a", 0), Own(u"b", 1), Own(u"c", 2)};
    ASSERT_TRUE(EraseAt(own, 0));
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0].title, u"b");
    EXPECT_EQ(own[1].title, u"c");
    EXPECT_FALSE(EraseAt(own, 2));
    EXPECT_FALSE(EraseAt(own, -1));
    EXPECT_EQ(own.size(), 2u);
}

TEST(ItemList, WriteBackReachesTheElementAtIndex) {
    ItemList own{Own(u"a", 0), Own(u"b", 1)};
    Item copy = own[1];
    copy.checkState = 1;
    ASSERT_TRUE(WriteBack(own, copy));
    EXPECT_EQ(own[1].checkState, 1);
    EXPECT_EQ(own[0].checkState, 0);

    copy.index = 5; // stale index: nothing is written
    EXPECT_FALSE(WriteBack(own, copy));
    Item appointment = own[0];
    appointment.source = kAppointment;
    appointment.title = u"changed";
    EXPECT_FALSE(WriteBack(own, appointment));
    EXPECT_EQ(own[0].title, u"a");
}

TEST(ItemList, DuplicateOwnEntryKeepsTheSelectionOnTheCopy) {
    ItemList own{Own(u"a", 0), Own(u"b", 1)};
    ItemList view{own[1], own[0]};
    view[0].index = 1;
    view[1].index = 0;
    const int target = DuplicateEntry(own, view, 0);
    EXPECT_EQ(target, 0);
    ASSERT_EQ(own.size(), 3u);
    ASSERT_EQ(view.size(), 3u);
    EXPECT_EQ(own[2].title, u"b");
    EXPECT_EQ(view[0].index, 2); // the dialog edits the new element
    EXPECT_EQ(own[1].title, u"b");
}

TEST(ItemList, DuplicateOutlookEntryBecomesOwnAndMovesSelection) {
    ItemList own{Own(u"a", 0)};
    Item task;
    task.source = kTask;
    task.index = 4711;
    task.importance = 2;
    task.title = u"t";
    ItemList view{own[0], task};
    const int target = DuplicateEntry(own, view, 1);
    EXPECT_EQ(target, 2);
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[1].source, kOwnEntry);
    EXPECT_EQ(own[1].importance, 1);
    EXPECT_EQ(view[2].source, kOwnEntry);
    EXPECT_EQ(view[2].index, 1);
    EXPECT_EQ(view[1].source, kTask); // the original line is untouched
    EXPECT_EQ(DuplicateEntry(own, view, 3), -1);
    EXPECT_EQ(own.size(), 2u);
}

TEST(ItemList, KeepOnlyShownRefillsInViewOrder) {
    ItemList own{Own(u"a", 0), Own(u"b", 1), Own(u"c", 2)};
    Item appointment;
    appointment.source = kAppointment;
    appointment.title = u"appt";
    ItemList view{own[2], appointment, own[0]};
    view[0].index = 2;
    view[2].index = 0;
    KeepOnlyShown(own, view);
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0].title, u"c");
    EXPECT_EQ(own[1].title, u"a");
    EXPECT_EQ(own[0].index, 0);
    EXPECT_EQ(own[1].index, 1);
    EXPECT_EQ(view[0].index, 0);
    EXPECT_EQ(view[2].index, 1);
}

// A view that lists one entry twice never makes クリーンデータ write it twice.
TEST(ItemList, KeepOnlyShownKeepsAnEntryTheViewListsTwiceOnce) {
    ItemList own{Own(u"a", 0), Own(u"b", 1)};
    ItemList view{own[1], own[1], own[0]};
    KeepOnlyShown(own, view);
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(own[0].title, u"b");
    EXPECT_EQ(own[1].title, u"a");
    EXPECT_EQ(view[0].index, 0);
    EXPECT_EQ(view[1].index, 0);
    EXPECT_EQ(view[2].index, 1);
}

} // namespace
} // namespace vantrel
