#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// UTF-16 <-> UTF-8 for native file names and terminal output. A lone
// surrogate or a malformed sequence becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// The same for a native file name, which is bytes: a byte that is not part
// of valid UTF-8 travels as a lone surrogate U+DC80..U+DCFF and comes back
// as that byte, so every name given is the name opened and written.
std::string ToNativeName(std::u16string_view name);
std::u16string FromNativeName(std::string_view name);

// True when `bytes` are well-formed UTF-8 with at least one multi-byte
// sequence and without a byte order mark at the start: the text of a file
// saved as UTF-8 that was meant to be Shift_JIS. One sequence is enough:
// real Shift_JIS text is almost never well-formed UTF-8 (its common lead
// bytes 0x81-0x9F cannot start a sequence), and taking such a file for
// UTF-8 only costs a kept copy, while missing UTF-8 loses the original.
bool LooksLikeUtf8(std::string_view bytes);

} // namespace vantrel
