#pragma once

#include "model/item.h"
#include "model/system_time.h"

#include <string>

namespace vantrel {

// The clipboard text of one entry: "YYYY-MM-DD[THH:MM]<TAB>title<TAB>0"
// and "<TAB>tags" when it has tags. The date is the check date of a
// checked entry, else the end, else the start, else today.
std::u16string CopyText(const Item& entry, const SystemTime& now);

} // namespace vantrel
