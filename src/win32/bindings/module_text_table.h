#pragma once

#include "text/text_table.h"

#include <windows.h>

namespace vantrel {

// The string table seam bound to a module's STRINGTABLE via LoadStringW.
class ModuleTextTable : public TextTable {
  public:
    explicit ModuleTextTable(HINSTANCE module) : module_(module) {}
    std::u16string Text(int id) const override;

  private:
    HINSTANCE module_;
};

} // namespace vantrel
