#pragma once

#include "model/item_list.h"

namespace vantrel {

// The less-than of the standard order: pinned first, then the larger
// dayCount, minuteCount, orderKey (unsigned) and importance.
int comesBefore(const Item& a, const Item& b);

// Stable sort of a list in the standard order.
void SortStandard(ItemList& list);

} // namespace vantrel
