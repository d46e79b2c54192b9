#pragma once

#include "counter/counter_settings.h"
#include "model/item_store.h"
#include "model/system_time.h"
#include "settings/settings.h"
#include "text/text_table.h"

#include <functional>
#include <string>

namespace vantrel {

// Filter codes.
enum FilterCode : int {
    kFilterAll = 0,
    kFilterToday = 1,
    kFilterYesterday = 2,
    kFilterTomorrow = 3,
    kFilterFromNow = 4,
    kFilterWeekAhead = 5,
    kFilterThisWeek = 6,
    kFilterNextWeek = 7,
    kFilterRange = 8,
    kFilterToDo = 9,
    kFilterTag = 10,
    kFilterSearch = 11,
    kFilterPast = 12,
};

// The part of the window state that building the view reads and writes.
struct ViewState {
    int currentFilter = kFilterFromNow;
    int viewShift = 0;
    std::u16string searchText;
    int pageTop = 0;
    int cursor = 0;
    int sourceMask = kSourceOwnBit | kSourceAppointmentsBit | kSourceTasksBit;
};

// Where a refresh gets its Outlook lists from; an empty loader leaves the
// list empty.
struct SourceLoaders {
    // Filter code and viewShift decide the date window.
    std::function<void(ItemStore&, int code, int viewShift, const SystemTime&)> appointments;
    std::function<void(ItemStore&, const SystemTime&)> tasks;
};

struct ViewContext {
    ItemStore& store;
    ViewState& state;
    Settings& settings;
    const TextTable& texts;
    const Clock& clock;
    SourceLoaders loaders;
    std::function<void()> saveStartFilter; // the filter-only settings save
};

// Puts the appointment and task lists in the standard order and indexes
// their tags anew: a sort moves the Items the indexes point at.
void OrderOutlookLists(ItemStore& store);

// The same for the own list too: what start-up does before its first view.
void OrderAllLists(ItemStore& store);

// Rebuilds the ViewList from the lists as they are.
void buildView(ViewContext& ctx, int code, const SystemTime& now);

// Takes the time once, reloads and re-evaluates the sources, re-sorts,
// remembers the filter when asked to, and builds the ViewList.
void refresh(ViewContext& ctx, int code);

} // namespace vantrel
