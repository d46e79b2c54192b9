#include "today/edit_form.h"

#include "counter/text_compose.h"
#include "model/date_time.h"
#include "model/entry_text.h"
#include "model/tag_index.h"

#include <algorithm>

namespace vantrel {
namespace {

int MinuteOfDay(const DateTime& t) {
    return t.hour * 60 + t.minute;
}

bool SameDay(const DateTime& a, const DateTime& b) {
    return DayNumberOf(a) == DayNumberOf(b);
}

void CopyDate(DateTime& to, const DateTime& from) {
    to.year = from.year;
    to.month = from.month;
    to.day = from.day;
}

void CopyTime(DateTime& to, const DateTime& from) {
    to.hour = from.hour;
    to.minute = from.minute;
}

} // namespace

EditForm OpenEditForm(int mode, const Item* entry, const SystemTime& now) {
    EditForm form;
    form.start = form.end = DateTime{now.year, now.month, now.day, now.hour, now.minute};
    if (mode == 0 || entry == nullptr) {
        return form;
    }
    const Item& e = *entry;
    form.title = e.title;
    if (!e.tags.empty()) {
        form.tags = SplitTagsSkippingEmpty(e.tags);
    }
    if (e.startDate.day < 1) {
        form.todo = true;
        form.startDateOn = false;
        form.startTimeOn = false;
    } else {
        form.startDateOn = true;
        CopyDate(form.start, e.startDate);
        if (e.startDate.minute >= 0) {
            form.timeBox = true;
            form.startTimeOn = true;
            CopyTime(form.start, e.startDate);
        }
    }
    if (e.endDate.day >= 1) {
        form.endDateOn = true;
        form.endBox = true;
        CopyDate(form.end, e.endDate);
        if (e.endDate.minute >= 0) {
            form.timeBox = true;
            form.endTimeOn = true;
            CopyTime(form.end, e.endDate);
        }
    }
    form.pinned = e.pinned != 0;
    if (mode < 0) {
        form.readOnly = true;
        form.startDateOn = form.startTimeOn = form.endDateOn = form.endTimeOn = false;
    }
    return form;
}

void ToDoClicked(EditForm& f) {
    if (f.todo) {
        f.startDateOn = false;
        f.startTimeOn = false;
    } else {
        f.startDateOn = true;
        f.startTimeOn = f.timeBox;
    }
}

void EndBoxClicked(EditForm& f) {
    if (!f.endBox) {
        f.endDateOn = false;
        f.endTimeOn = false;
        return;
    }
    f.endDateOn = true;
    if (!f.todo) {
        CopyDate(f.end, f.start);
    }
    if (f.timeBox) {
        f.endTimeOn = true;
        if (!f.todo) {
            CopyTime(f.end, f.start);
        }
    }
}

void TimeBoxClicked(EditForm& f) {
    if (!f.timeBox) {
        f.startTimeOn = false;
        f.endTimeOn = false;
        return;
    }
    if (!f.todo) {
        f.startTimeOn = true;
    }
    if (f.endBox) {
        f.endTimeOn = true;
        if (!f.todo) {
            CopyTime(f.end, f.start);
        }
    }
}

void StartDateChanged(EditForm& f) {
    if (f.endBox) {
        CopyDate(f.end, f.start);
        if (f.timeBox) {
            CopyTime(f.end, f.start);
        }
    }
}

void StartTimeChanged(EditForm& f) {
    if (f.endBox && SameDay(f.end, f.start) && MinuteOfDay(f.end) < MinuteOfDay(f.start)) {
        CopyTime(f.end, f.start);
    }
}

void EndDateChanged(EditForm& f) {
    if (f.todo) {
        return;
    }
    if (DayNumberOf(f.end) < DayNumberOf(f.start)) {
        CopyDate(f.start, f.end);
        if (f.timeBox) {
            CopyTime(f.start, f.end);
        }
    }
}

void EndTimeChanged(EditForm& f) {
    if (!f.todo && SameDay(f.end, f.start) && MinuteOfDay(f.end) < MinuteOfDay(f.start)) {
        CopyTime(f.end, f.start);
    }
}

std::u16string FixedDateFormat(const DateTime& date) {
    const auto twoDigits = [](int v) { return (v >= 0 && v < 10 ? u"0" : u"") + Decimal(v); };
    // Quoted, every character shows as it is; digits and slashes never
    // need a quote doubled.
    return u"'" + Decimal(date.year) + u"/" + twoDigits(date.month) + u"/" + twoDigits(date.day) +
           u"'";
}

DateTime WithDateOf(DateTime moment, const DateTime& date) {
    CopyDate(moment, date);
    return moment;
}

bool RegisterTag(std::vector<std::u16string>& tags, const std::u16string& tag) {
    if (tag.empty() || std::find(tags.begin(), tags.end(), tag) != tags.end()) {
        return false;
    }
    tags.push_back(tag);
    return true;
}

Item ConfirmEditForm(const EditForm& f, Item n) {
    if (f.todo) {
        n.startDate = kNoDate;
    } else {
        n.startDate = DateTime{f.start.year, f.start.month, f.start.day,
                               f.timeBox ? f.start.hour : -1, f.timeBox ? f.start.minute : -1};
    }
    if (f.endBox) {
        n.endDate = DateTime{f.end.year, f.end.month, f.end.day, f.timeBox ? f.end.hour : -1,
                             f.timeBox ? f.end.minute : -1};
    } else {
        n.endDate = kNoDate;
    }
    // A pasted or Ctrl+Enter line break would split the entry's record.
    n.title = WithoutLineBreaks(f.title);
    n.tags.clear();
    for (std::size_t i = 0; i < f.tags.size(); ++i) {
        if (i > 0) {
            n.tags += kTagSeparator;
        }
        n.tags += WithoutLineBreaks(f.tags[i]);
    }
    n.pinned = f.pinned ? 1 : 0;
    return n;
}

bool StoreEditForm(const EditForm& form, int mode, int index, ItemList& own) {
    if (mode == 0) {
        Item blank = NewOwnEntry();
        blank.checkDate = kNoDate;
        own.push_back(ConfirmEditForm(form, std::move(blank)));
        return true;
    }
    if (mode < 0 || index < 0 || static_cast<std::size_t>(index) >= own.size()) {
        return false;
    }
    Item& stored = own[static_cast<std::size_t>(index)];
    stored = ConfirmEditForm(form, stored);
    return true;
}

} // namespace vantrel
