#pragma once

// The local time as the item sees it: the substitute host may fix it with
// VANTREL_NOW ("YYYY-MM-DD HH:MM") so that a run shows a known day. The
// item's clock and the replacement Outlook store both read it here.

#include "model/system_time.h"

namespace vantrel {

SystemTime LocalNow();

} // namespace vantrel
