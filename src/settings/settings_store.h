#pragma once

#include "settings/registry.h"
#include "settings/settings.h"

namespace vantrel {

// 1 when every value was found; values found overwrite the record, missing
// ones leave it as it is. A missing key is created empty (result 0).
// An integer is brought within what the options can set (its ValueRule).
// A value stored in a form its field cannot take counts as found, leaves
// the field as it is and is listed in `unreadValues`.
int LoadSettings(Settings& settings, Registry& registry);

// Writes StartFilter, and with filterOnly == 0 every other value too, but
// no unread value whose field still holds what it held at the load.
// 0 only when the key can be neither opened nor created.
int SaveSettings(const Settings& settings, Registry& registry, int filterOnly);

// Writes OpenFile alone, under the same condition.
int SaveOpenFile(const Settings& settings, Registry& registry);

// Deletes the whole key; the record in memory is not touched.
int DeleteSettings(Registry& registry);

} // namespace vantrel
