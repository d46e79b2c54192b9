#pragma once

#include "text/text_table.h"

#include <span>

namespace vantrel {

struct TextEntry {
    int id;
    const char16_t* text;
};

// Every text of the module, ascending by id (the same data the resource
// script compiles into the STRINGTABLE).
std::span<const TextEntry> BuiltinTextEntries();

// The native binding of the string table seam.
class BuiltinTextTable : public TextTable {
  public:
    std::u16string Text(int id) const override;
};

} // namespace vantrel
