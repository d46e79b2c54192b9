#pragma once

#include "model/item.h"

namespace vantrel {

// Repairs an Item's three dates in place: invalid dates become no date,
// invalid times no time, and a period keeps its end only when it ends
// strictly after it starts. True when nothing had to change.
bool NormalizeDates(Item& item);

} // namespace vantrel
