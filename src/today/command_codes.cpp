#include "today/command_codes.h"

#include <array>
#include <utility>

namespace vantrel {
namespace {

constexpr std::array<std::pair<int, int>, 29> kMenuCommands{{
    {40003, 20}, {40004, 21}, {40005, 22}, {40006, 23}, {40007, 24}, {40008, 25},
    {40009, 26}, {40010, 27}, {40012, 7},  {40013, 4},  {40014, 5},  {40015, 0},
    {40016, 1},  {40017, 8},  {40020, 6},  {40021, 30}, {40022, 29}, {40023, 28},
    {40024, 9},  {40025, 10}, {40026, 11}, {40027, 12}, {40028, 13}, {40029, 31},
    {40031, 14}, {40032, 15}, {40033, 34}, {40034, 35}, {40035, 36},
}};

constexpr std::array<int, 13> kFilterMenuIds{40003, 40004, 40005, 40006, 40007, 40008, 40009,
                                             40010, 40023, 40022, 40021, 40029, 40033};

} // namespace

std::optional<int> CommandOfMenuId(int id) {
    for (const auto& [menuId, code] : kMenuCommands) {
        if (menuId == id) {
            return code;
        }
    }
    return std::nullopt;
}

int MenuIdOfFilter(int kind) {
    return kind >= 0 && kind < static_cast<int>(kFilterMenuIds.size())
               ? kFilterMenuIds[static_cast<std::size_t>(kind)]
               : 0;
}

} // namespace vantrel
