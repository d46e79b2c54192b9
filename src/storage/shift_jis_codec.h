#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// The code-page seam between the core's UTF-16 texts and the Shift_JIS bytes
// of the data files. The Win32 shell binds it to code page 932, native code
// to iconv's CP932. A character that cannot be converted becomes '?', so a
// conversion never fails and never breaks the record structure.
class ShiftJisCodec {
  public:
    virtual ~ShiftJisCodec() = default;
    // At most maxBytes bytes, never ending inside a double-byte character.
    virtual std::string Encode(std::u16string_view text, std::size_t maxBytes) const = 0;
    // At most maxUnits UTF-16 units.
    virtual std::u16string Decode(std::string_view bytes, std::size_t maxUnits) const = 0;
};

// Plain ASCII needs no table: both code pages map 0x00-0x7F to the same
// code points, so the bindings take this shortcut before converting.
bool IsAscii(std::string_view bytes);
bool IsAscii(std::u16string_view text);

} // namespace vantrel
