#include "win32/bindings/debug_trace.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace vantrel {

void TraceFailure(std::wstring_view what, std::uint32_t code) {
    wchar_t number[16];
    std::swprintf(number, 16, L"0x%08X", static_cast<unsigned>(code));
    std::wstring line = L"vantrel: ";
    line.append(what);
    line.append(L" failed (").append(number).append(L")\n");
    OutputDebugStringW(line.c_str());
}

} // namespace vantrel
