#pragma once

#include "model/item.h"
#include "model/item_list.h"
#include "model/system_time.h"

#include <string>
#include <vector>

namespace vantrel {

// The edit dialog's controls as values: the three boxes, the four pickers
// (a date picker holds year/month/day, a time picker hour/minute) and
// which of them are enabled. The dialog reads its controls into this
// record, applies one rule and writes the record back.
struct EditForm {
    bool pinned = false;
    bool todo = false;    // "ToDo": no start date
    bool timeBox = false; // enables both time pickers
    bool endBox = false;  // enables the end row
    DateTime start;       // start date picker + start time picker
    DateTime end;         // end date picker + end time picker
    bool startDateOn = true;
    bool startTimeOn = false;
    bool endDateOn = false;
    bool endTimeOn = false;
    bool readOnly = false; // view mode: every input disabled
    std::u16string title;
    std::vector<std::u16string> tags; // the tag list, in list order
};

// The form opened in add mode (entry == nullptr) or on `entry` in edit
// (mode 1) or view (mode -1) mode; the pickers start at `now`.
EditForm OpenEditForm(int mode, const Item* entry, const SystemTime& now);

// The box rules, run after the box changed to its new state.
void ToDoClicked(EditForm& form);
void EndBoxClicked(EditForm& form);
void TimeBoxClicked(EditForm& form);

// The date-consistency rules, run after a picker's value changed.
void StartDateChanged(EditForm& form);
void StartTimeChanged(EditForm& form);
void EndDateChanged(EditForm& form);
void EndTimeChanged(EditForm& form);

// The date picker's format that shows `date` as fixed text ("'1700/06/01'",
// written as the data file writes it), for a stored date outside what the
// picker can hold (it starts at 1752-09-14).
std::u16string FixedDateFormat(const DateTime& date);

// `moment` with the year, month and day of `date`: a date picker's kept
// date under its time picker's time.
DateTime WithDateOf(DateTime moment, const DateTime& date);

// Adds a typed tag unless it is empty or already listed; true when added.
bool RegisterTag(std::vector<std::u16string>& tags, const std::u16string& tag);

// The confirmed entry: `base` (the stored entry in edit mode, a new own
// entry in add mode) with the form's fields.
Item ConfirmEditForm(const EditForm& form, Item base);

// Stores the confirmed form: over own[index] in edit mode (1), appended in
// add mode (0). False, and nothing stored, in view mode or when `index` no
// longer names an entry.
bool StoreEditForm(const EditForm& form, int mode, int index, ItemList& own);

} // namespace vantrel
