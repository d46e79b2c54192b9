#pragma once

#include "settings/settings.h"

#include <span>
#include <string_view>
#include <variant>

namespace vantrel {

// One value of the record: its registry name and the field that holds it.
struct SettingValue {
    std::u16string_view name;
    std::variant<std::int32_t Settings::*, PathText Settings::*, FaceNameText Settings::*,
                 std::u16string Settings::*>
        field;
};

// All 91 values in the order in which they are read from the registry.
std::span<const SettingValue> SettingValuesInReadOrder();

// The value of that name, or nullptr.
const SettingValue* FindSettingValue(std::u16string_view name);

} // namespace vantrel
