#include "view/standard_order.h"

#include <algorithm>

namespace vantrel {

int comesBefore(const Item& a, const Item& b) {
    if (a.pinned != b.pinned) {
        return a.pinned > b.pinned;
    }
    if (a.dayCount != b.dayCount) {
        return a.dayCount > b.dayCount;
    }
    if (a.minuteCount != b.minuteCount) {
        return a.minuteCount > b.minuteCount;
    }
    if (a.orderKey != b.orderKey) {
        return a.orderKey > b.orderKey; // both unsigned
    }
    return a.importance > b.importance;
}

void SortStandard(ItemList& list) {
    const auto less = [](const Item& a, const Item& b) { return comesBefore(a, b) != 0; };
    // Most refreshes find the list still in order; a stable sort would then
    // only move every Item through a buffer and back.
    if (std::is_sorted(list.begin(), list.end(), less)) {
        return;
    }
    std::stable_sort(list.begin(), list.end(), less);
}

} // namespace vantrel
