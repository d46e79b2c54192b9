#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// Texts are loaded into buffers of this many UTF-16 units, terminator
// included, so no text or composition is longer than kTextCapacity - 1.
inline constexpr std::size_t kTextCapacity = 260;

// The string table seam: id -> UTF-16 text. The Win32 shell binds it to the
// module's STRINGTABLE, native code to the built-in copy of the same texts.
class TextTable {
  public:
    virtual ~TextTable() = default;
    // The text of `id`, at most kTextCapacity - 1 units; empty when absent.
    virtual std::u16string Text(int id) const = 0;
};

// A whole text, used exactly as loaded.
inline std::u16string LoadText(const TextTable& table, int id) {
    return table.Text(id);
}

// A composition piece (prefix, suffix, separator): a lone TAB means empty.
std::u16string LoadPiece(const TextTable& table, int id);

// Appends `part` to `text` without letting it grow past kTextCapacity - 1.
void AppendBounded(std::u16string& text, std::u16string_view part);

} // namespace vantrel
