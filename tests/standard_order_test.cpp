#include "view/standard_order.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

Item Entry(std::u16string title, int dayCount, int minuteCount = 0, std::uint32_t orderKey = 0,
           int pinned = 0, int importance = 1) {
    Item item = NewOwnEntry();
    item.title = std::move(title);
    item.dayCount = dayCount;
    item.minuteCount = minuteCount;
    item.orderKey = orderKey;
    item.pinned = pinned;
    item.importance = importance;
    return item;
}

std::u16string Titles(const ItemList& list) {
    std::u16string out;
    for (const Item& item : list) {
        out += item.title;
    }
    return out;
}

TEST(StandardOrder, KeysDecideInTurnLargerFirst) {
    ItemList list{Entry(u"a", -5),        Entry(u"b", 3),
                  Entry(u"c", 3, 100),    Entry(u"d", -400, 0, 0, 1), // pinned, next year
                  Entry(u"e", 3, 100, 7), Entry(u"f", 3, 100, 7, 0, 2)};
    SortStandard(list);
    EXPECT_EQ(Titles(list), u"dfecba");
}

TEST(StandardOrder, OrderKeyComparesUnsigned) {
    const Item high = Entry(u"h", 0, 0, 0x80000001u);
    const Item low = Entry(u"l", 0, 0, 5u);
    EXPECT_TRUE(comesBefore(high, low));
    EXPECT_FALSE(comesBefore(low, high));
}

TEST(StandardOrder, EqualEntriesKeepTheirOrderAcrossSorts) {
    ItemList list;
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        list.push_back(Entry(std::u16string(1, c), c % 3 == 0 ? 1 : 0));
    }
    SortStandard(list);
    const std::u16string once = Titles(list);
    for (int i = 0; i < 20; ++i) {
        SortStandard(list);
    }
    EXPECT_EQ(Titles(list), once);
    EXPECT_EQ(once.substr(0, 8), u"cfilorux"); // dayCount 1, in their original order
    EXPECT_FALSE(comesBefore(list[8], list[9]));
}

} // namespace
} // namespace vantrel
