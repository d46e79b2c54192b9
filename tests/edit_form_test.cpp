#include "support/moments.h"
#include "today/edit_form.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::At;

constexpr DateTime D(int y, int m, int d, int h = -1, int mi = -1) {
    return {y, m, d, h, mi};
}

const SystemTime kNow = At(2026, 12, 8, 9, 41);

Item Entry(DateTime start, DateTime end = kNoDate) {
    Item item = NewOwnEntry();
    item.startDate = start;
    item.endDate = end;
    return item;
}

TEST(EditForm, AddWithEveryBoxUncheckedStoresToday) {
    EditForm form = OpenEditForm(0, nullptr, kNow);
    EXPECT_TRUE(form.startDateOn);
    EXPECT_FALSE(form.startTimeOn || form.endDateOn || form.endTimeOn);
    ItemList own;
    ASSERT_TRUE(StoreEditForm(form, 0, -1, own));
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].startDate, D(2026, 12, 8));
    EXPECT_EQ(own[0].endDate, kNoDate);
    EXPECT_EQ(own[0].checkDate, kNoDate);
    EXPECT_EQ(own[0].importance, 1);
    EXPECT_TRUE(own[0].title.empty());
    EXPECT_TRUE(own[0].tags.empty());
}

TEST(EditForm, OneTimeBoxGovernsBothTimes) {
    // Start with a time, end without: the box is checked by the start, the
    // end time picker stays disabled at its initial value (now) and is stored.
    const Item entry = Entry(D(2013, 11, 2, 10, 0), D(2013, 11, 5));
    EditForm form = OpenEditForm(1, &entry, kNow);
    EXPECT_TRUE(form.timeBox);
    EXPECT_TRUE(form.startTimeOn);
    EXPECT_TRUE(form.endDateOn);
    EXPECT_FALSE(form.endTimeOn);
    const Item stored = ConfirmEditForm(form, entry);
    EXPECT_EQ(stored.startDate, D(2013, 11, 2, 10, 0));
    EXPECT_EQ(stored.endDate, D(2013, 11, 5, 9, 41));
}

TEST(EditForm, DateConsistencyRules) {
    const Item entry = Entry(D(2013, 11, 2, 10, 0), D(2013, 11, 5, 12, 0));
    EditForm form = OpenEditForm(1, &entry, kNow);
    // The end moved before the start pulls the start, with the time.
    form.end = D(2013, 10, 30, 8, 15);
    EndDateChanged(form);
    EXPECT_EQ(form.start, D(2013, 10, 30, 8, 15));
    // A later start time on the same day pushes the end time.
    form.start.hour = 11;
    StartTimeChanged(form);
    EXPECT_EQ(form.end, D(2013, 10, 30, 11, 15));
    // An end time before the start on the same day snaps back.
    form.end.hour = 6;
    EndTimeChanged(form);
    EXPECT_EQ(form.end, D(2013, 10, 30, 11, 15));
    // A new start date carries the end along.
    form.start = D(2014, 1, 1, 7, 0);
    StartDateChanged(form);
    EXPECT_EQ(form.end, D(2014, 1, 1, 7, 0));
    // Without the end box the start rules leave the end alone.
    form.endBox = false;
    EndBoxClicked(form);
    form.start = D(2015, 1, 1, 7, 0);
    StartDateChanged(form);
    EXPECT_EQ(form.end, D(2014, 1, 1, 7, 0));
}

TEST(EditForm, BoxInterplay) {
    EditForm form = OpenEditForm(0, nullptr, kNow);
    form.start = D(2026, 12, 24, 18, 0);
    form.endBox = true;
    EndBoxClicked(form); // copies the date, not the time (box off)
    EXPECT_TRUE(form.endDateOn);
    EXPECT_FALSE(form.endTimeOn);
    EXPECT_EQ(form.end, D(2026, 12, 24, 9, 41));
    form.timeBox = true;
    TimeBoxClicked(form);
    EXPECT_TRUE(form.startTimeOn && form.endTimeOn);
    EXPECT_EQ(form.end, D(2026, 12, 24, 18, 0));
    form.todo = true;
    ToDoClicked(form);
    EXPECT_FALSE(form.startDateOn || form.startTimeOn);
    form.start = D(2027, 1, 1, 1, 0);
    form.end = D(2026, 1, 1, 0, 0);
    EndDateChanged(form); // no start to keep consistent in ToDo mode
    EXPECT_EQ(form.start, D(2027, 1, 1, 1, 0));
    const Item stored = ConfirmEditForm(form, NewOwnEntry());
    EXPECT_EQ(stored.startDate, kNoDate);
    EXPECT_EQ(stored.endDate, D(2026, 1, 1, 0, 0));
    form.todo = false;
    ToDoClicked(form);
    EXPECT_TRUE(form.startDateOn && form.startTimeOn);
}

TEST(EditForm, ToDoEntryOpensWithTheStartDisabled) {
    Item entry = Entry(kNoDate, D(2013, 11, 5, 12, 30));
    entry.pinned = 1;
    entry.title = u"t";
    entry.tags = u"a\tb";
    EditForm form = OpenEditForm(1, &entry, kNow);
    EXPECT_TRUE(form.todo && form.pinned && form.endBox && form.timeBox && form.endTimeOn);
    EXPECT_FALSE(form.startDateOn || form.startTimeOn);
    EXPECT_EQ(form.tags, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(form.title, u"t");
}

// Tags of TABs alone are no tag: no list line, and OK stores none.
TEST(EditForm, TagsOfTabsAloneOpenAsNoLineAndStoreNothing) {
    for (const std::u16string tabs : {u"\t", u"\t\t"}) {
        Item entry = Entry(D(2013, 11, 2));
        entry.tags = tabs;
        const EditForm form = OpenEditForm(1, &entry, kNow);
        EXPECT_TRUE(form.tags.empty());
        ItemList own{entry};
        ASSERT_TRUE(StoreEditForm(form, 1, 0, own));
        EXPECT_EQ(own[0].tags, u"");
    }
}

TEST(EditForm, TagsAndViewMode) {
    std::vector<std::u16string> tags{u"a"};
    EXPECT_FALSE(RegisterTag(tags, u"a"));
    EXPECT_FALSE(RegisterTag(tags, u""));
    EXPECT_TRUE(RegisterTag(tags, u"b\tc")); // stored as typed
    Item entry = Entry(D(2013, 11, 2));
    EditForm form = OpenEditForm(1, &entry, kNow);
    form.tags = tags;
    ItemList own{entry};
    ASSERT_TRUE(StoreEditForm(form, 1, 0, own));
    EXPECT_EQ(own[0].tags, u"a\tb\tc");
    // Opened again, the TAB splits it.
    EXPECT_EQ(OpenEditForm(1, &own[0], kNow).tags.size(), 3u);

    EditForm viewed = OpenEditForm(-1, &own[0], kNow);
    EXPECT_TRUE(viewed.readOnly);
    EXPECT_FALSE(viewed.startDateOn || viewed.startTimeOn || viewed.endDateOn || viewed.endTimeOn);
    EXPECT_FALSE(StoreEditForm(viewed, -1, 0, own));
    EXPECT_FALSE(StoreEditForm(form, 1, 5, own)); // a position that no longer exists
}

// A date the pickers cannot hold shows as fixed text, as the file writes it.
TEST(EditForm, FixedDateFormatQuotesTheStoredDate) {
    EXPECT_EQ(FixedDateFormat(D(1700, 6, 1)), u"'1700/06/01'");
    EXPECT_EQ(FixedDateFormat(D(1751, 12, 31, 18, 30)), u"'1751/12/31'");
    EXPECT_EQ(FixedDateFormat(D(5, 10, 9)), u"'5/10/09'");
}

// The dialog puts a kept date under its time picker's time; the rules and
// the stored entry then see the stored date.
TEST(EditForm, KeptDateUnderThePickersTime) {
    EXPECT_EQ(WithDateOf(D(2000, 1, 1, 14, 5), D(1700, 6, 1)), D(1700, 6, 1, 14, 5));
    const Item entry = Entry(D(1700, 6, 1, 14, 5));
    EditForm form = OpenEditForm(1, &entry, kNow);
    form.start = WithDateOf(D(2026, 12, 8, 14, 5), D(1700, 6, 1));
    form.endBox = true;
    EndBoxClicked(form);
    EXPECT_EQ(form.end, D(1700, 6, 1, 14, 5));
    const Item stored = ConfirmEditForm(form, entry);
    EXPECT_EQ(stored.startDate, D(1700, 6, 1, 14, 5));
    EXPECT_EQ(stored.endDate, D(1700, 6, 1, 14, 5));
}

} // namespace
} // namespace vantrel
