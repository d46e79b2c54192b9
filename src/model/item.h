#pragma once

#include "model/date_time.h"

#include <cstdint>
#include <string>

namespace vantrel {

// Where an Item comes from (field `source`).
enum ItemSource : std::int32_t {
    kOwnEntry = 0,
    kAppointment = 1,
    kTask = 3,
};

// One line the Today window can show. Plain value: every list holds its own
// copies, and copying deep-copies the strings.
struct Item {
    std::int32_t source = kOwnEntry;
    std::int32_t index = 0; // own-list position, or the Outlook object id
    std::int32_t pinned = 0;
    std::int32_t checkState = 0; // 0 open, 1 done, 2 second done state
    DateTime startDate{0, 0, 0, 0, 0};
    DateTime endDate{0, 0, 0, 0, 0};
    DateTime checkDate{0, 0, 0, 0, 0};
    // Computed by the counter evaluation.
    std::int32_t startOffset = 0;
    std::int32_t endOffset = 0;
    std::int32_t dayCount = 0;
    std::int32_t minuteCount = 0;
    std::uint32_t orderKey = 0;
    std::u16string countText;
    std::u16string dateText;
    // Stored strings.
    std::u16string title;
    std::u16string tags; // TAB-separated
    std::int32_t anniversaryYears = 0;
    // Outlook attributes.
    std::int32_t recurring = 0;
    std::int32_t busyStatus = 0;
    std::int32_t importance = 0;
    std::int32_t sensitivity = 0;
};

// What every creator of an own entry starts from: all zero, importance 1.
inline Item NewOwnEntry() {
    Item item;
    item.importance = 1;
    return item;
}

inline constexpr char16_t kTagSeparator = u'\t';

} // namespace vantrel
