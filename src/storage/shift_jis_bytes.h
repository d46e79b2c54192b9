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

// A character of `length` bytes at `at` that no conversion of code page 932
// takes: a single byte outside ASCII and the half-width katakana (0x80,
// 0xA0, 0xFD-0xFF, or a lead byte without its trail byte). Both builds
// decode it as '?'; a double-byte character is left to the code page table.
inline bool IsRefusedShiftJis(std::string_view bytes, std::size_t at, std::size_t length) {
    const auto b = static_cast<unsigned char>(bytes[at]);
    return length == 1 && b >= 0x80 && !(b >= 0xA1 && b <= 0xDF);
}

// The longest prefix of at most maxBytes that does not end inside a
// double-byte character.
std::string_view CutShiftJis(std::string_view bytes, std::size_t maxBytes);

} // namespace vantrel
