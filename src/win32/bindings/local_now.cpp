#include "win32/bindings/local_now.h"

#include "model/date_parse.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_system_time.h"

#include <string>

namespace vantrel {

SystemTime LocalNow() {
    wchar_t fixed[64];
    const DWORD length = GetEnvironmentVariableW(L"VANTREL_NOW", fixed, 64);
    if (length > 0 && length < 64) {
        const std::u16string text = FromWide(fixed);
        const ParsedDateTime parsed =
            ParseDateTime(std::string(text.begin(), text.end())); // ASCII digits only
        if (parsed.ok) {
            const DateTime& d = parsed.value;
            return SystemTimeAt(d.year, d.month, d.day, d.HasTime() ? d.hour : 0,
                                d.HasTime() ? d.minute : 0);
        }
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystem(now);
}

} // namespace vantrel
