#pragma once

#include "counter/counter_settings.h"
#include "model/item.h"
#include "model/system_time.h"
#include "text/text_table.h"

#include <cstdint>

namespace vantrel {

inline constexpr std::uint32_t kUndatedOrderKey = 2100000000;

// Classifies the Item (ToDo, Done, Date, Period, Deadline) for the moment
// `now` and overwrites its computed fields: offsets, day and minute counts,
// order key, counter and date texts, anniversary years. Always 1.
int EvaluateItem(Item& item, const SystemTime& now, const CounterSettings& settings,
                 const TextTable& texts);

inline int EvaluateItem(Item& item, const SystemTime& now, int DrawWDay, int CheckDate,
                        int ShortView, int DrawTomorrow, int DrawSpan, int MaxMinutes, int Future,
                        int DSpanTs, const TextTable& texts) {
    return EvaluateItem(item, now,
                        CounterSettings{DrawWDay, CheckDate, ShortView, DrawTomorrow, DrawSpan,
                                        MaxMinutes, Future, DSpanTs},
                        texts);
}

} // namespace vantrel
