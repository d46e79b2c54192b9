#pragma once

#include <cstddef>
#include <string_view>

namespace vantrel {

inline bool IsShiftJisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline bool IsShiftJisTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Length of the character that starts at `at`: 2 for a lead byte followed by
// a trail byte, else 1.
inline std::size_t ShiftJisCharLength(std::string_view bytes, std::size_t at) {
    if (IsShiftJisLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() &&
        IsShiftJisTrailByte(static_cast<unsigned char>(bytes[at + 1]))) {
        return 2;
    }
    return 1;
}

// The longest prefix of at most maxBytes that does not end inside a
// double-byte character.
std::string_view CutShiftJis(std::string_view bytes, std::size_t maxBytes);

} // namespace vantrel
