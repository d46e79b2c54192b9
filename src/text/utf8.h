#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// UTF-16 <-> UTF-8 for native file names and terminal output. A lone
// surrogate or a malformed sequence becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

} // namespace vantrel
