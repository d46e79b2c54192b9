#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The path a save writes to: when the last "." lies in the file name, the
// extension becomes ".vrl" (so an imported .mvk file is never overwritten);
// a name without extension, or a dot only in a folder name, stays as it is.
// A result that would not fit a path buffer of 260 keeps the path unchanged.
std::u16string NormalizedExtension(std::u16string_view path);

// True when the path ends in ".mvk" in any mix of letter case: such files go
// to the Morvik import, all others to the VRL reader.
bool IsMorvikPath(std::u16string_view path);

} // namespace vantrel
