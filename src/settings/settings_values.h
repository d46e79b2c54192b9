#pragma once

#include "settings/settings.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace vantrel {

// What an integer read from the registry may hold: what its options page
// can set. A damaged or hand-edited key must not reach the arithmetic of
// the layout and the counters with anything else.
struct ValueRule {
    enum class Kind : std::uint8_t {
        Text,     // no integer
        Range,    // clamped to low..high
        Flag,     // a check box: anything but 0 is 1
        Bits,     // only the bits of `high` (a bit set, or a colour's 24 bits)
        Code,     // low..high; any other value is no code and gives the default
        Unsigned, // clamped to low..high as an unsigned 32-bit value
    };
    Kind kind = Kind::Text;
    std::int64_t low = 0;
    std::int64_t high = 0;
};

// One value of the record: its registry name, the field that holds it and,
// for an integer, its rule.
struct SettingValue {
    std::u16string_view name;
    std::variant<std::int32_t Settings::*, PathText Settings::*, FaceNameText Settings::*,
                 std::u16string Settings::*>
        field;
    ValueRule rule{};
};

// `stored` brought within `rule`; `fallback` when it is a code no one has.
std::int32_t WithinRule(const ValueRule& rule, std::int32_t stored, std::int32_t fallback);

// All 91 values in the order in which they are read from the registry.
std::span<const SettingValue> SettingValuesInReadOrder();

// The value of that name, or nullptr.
const SettingValue* FindSettingValue(std::u16string_view name);

} // namespace vantrel
