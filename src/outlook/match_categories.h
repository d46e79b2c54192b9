#pragma once

#include "settings/settings.h"

#include <string>

namespace vantrel {

// Outlook's category filter: rewrites `categories` ("a, b, c" as the store
// writes it) in place as "a\tb\tc" and says whether the appointment
// (isTask 0) or task (isTask 1) is shown: 0 when the hide category is active
// and present, or the show category is required and absent; else 1.
int MatchCategories(int isTask, std::u16string& categories, const Settings& settings);

} // namespace vantrel
