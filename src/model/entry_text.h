#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// A title or tag text as an own entry may hold it: every line break (CR LF,
// a lone CR or a lone LF) becomes one blank, because the data file ends a
// record at any line break.
std::u16string WithoutLineBreaks(std::u16string_view text);

bool HasLineBreak(std::u16string_view text);

} // namespace vantrel
