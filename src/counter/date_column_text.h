#pragma once

#include "counter/counter_settings.h"
#include "model/date_time.h"
#include "model/item.h"
#include "text/text_table.h"

#include <string>

namespace vantrel {

// The years since a date a year or more away (day offset d) on its
// anniversary, else 0.
int AnniversaryYears(const DateTime& start, int d, const SystemTime& now);

// Date column of the Date form for day offset d and today's date.
std::u16string DateColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                              int d, const SystemTime& now);

// The column of a running or ended period (end date), a deadline and a
// checked entry (check date, a >= 0).
std::u16string PeriodColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                                int e);
std::u16string DeadlineColumnText(const TextTable& texts, const CounterSettings& s,
                                  const Item& item, int e);
std::u16string DoneColumnText(const TextTable& texts, const CounterSettings& s, const Item& item,
                              int a);

} // namespace vantrel
