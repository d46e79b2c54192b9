#pragma once

// The texts of an event or to-do as every reader of the program takes
// them: libical has undone the escapes, UTF-8 becomes UTF-16.

#include <libical/ical.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::ical {

// SUMMARY, LOCATION, DESCRIPTION...: the first such property, empty when
// there is none.
std::u16string TextOf(icalcomponent* component, icalproperty_kind kind);

// Every CATEGORIES property, split at its commas (libical keeps one
// property's list as one text), blanks around each trimmed, empty ones
// dropped, in file order.
std::vector<std::u16string> CategoriesOf(icalcomponent* component);

// What libical could not read of a component (X-LIC-ERROR), one line each;
// a property left empty (exporters write "DESCRIPTION:") is no error.
std::vector<std::string> ReadErrorsOf(icalcomponent* component);

// The value of the first X- property named `name`.
std::optional<std::string> XValueOf(icalcomponent* component, std::string_view name);

} // namespace vantrel::ical
