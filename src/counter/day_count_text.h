#pragma once

#include "counter/counter_settings.h"
#include "text/text_table.h"

#include <string>

namespace vantrel {

// Counter texts at day granularity. The argument is the day offset of the
// form (today minus the day that counts: positive = past).
std::u16string DateCountText(const TextTable& texts, const CounterSettings& s, int d);
std::u16string PeriodCountText(const TextTable& texts, const CounterSettings& s, int e);
std::u16string DeadlineCountText(const TextTable& texts, const CounterSettings& s, int e);
std::u16string DoneCountText(const TextTable& texts, const CounterSettings& s, int a);

} // namespace vantrel
