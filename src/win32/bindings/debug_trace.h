#pragma once

// A trace of platform calls that fail without anything to show the user:
// "the item draws nothing" then leaves a clue in the debugger output
// (under Wine: WINEDEBUG=+debugstr).

#include <cstdint>
#include <string_view>

namespace vantrel {

// Writes "vantrel: WHAT failed (CODE)" with the code in hexadecimal.
void TraceFailure(std::wstring_view what, std::uint32_t code);

} // namespace vantrel
