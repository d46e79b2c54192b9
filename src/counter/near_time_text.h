#pragma once

#include "counter/counter_settings.h"
#include "model/item.h"
#include "text/text_table.h"

#include <string>

namespace vantrel {

// Counter and date column when the moment that matters is less than a day
// away. v is MinutesSince of that moment (positive: it has passed).
struct NearTexts {
    std::u16string countText;
    std::u16string dateText;
};

NearTexts NearDateTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                        int nowDay);
NearTexts NearPeriodTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                          int nowDay);
NearTexts NearDeadlineTexts(const TextTable& texts, const CounterSettings& s, const Item& item,
                            int v, int nowDay);
NearTexts NearDoneTexts(const TextTable& texts, const CounterSettings& s, const Item& item, int v,
                        int nowDay);

} // namespace vantrel
