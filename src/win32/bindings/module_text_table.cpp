#include "win32/bindings/module_text_table.h"

#include "win32/bindings/wide_text.h"

namespace vantrel {

std::u16string ModuleTextTable::Text(int id) const {
    wchar_t buffer[kTextCapacity] = {};
    const int length = LoadStringW(module_, static_cast<UINT>(id), buffer, kTextCapacity);
    return FromWide(std::wstring_view(buffer, length > 0 ? static_cast<std::size_t>(length) : 0));
}

} // namespace vantrel
