#include "storage/shift_jis_bytes.h"

#include "storage/shift_jis_codec.h"

namespace vantrel {

std::string_view CutShiftJis(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.size() <= maxBytes) {
        return bytes;
    }
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = ShiftJisCharLength(bytes, at);
        if (at + length > maxBytes) {
            break;
        }
        at += length;
    }
    return bytes.substr(0, at);
}

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsAscii(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace vantrel
