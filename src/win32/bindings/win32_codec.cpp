#include "win32/bindings/win32_codec.h"

#include "storage/shift_jis_bytes.h"

#include <windows.h>

namespace vantrel {
namespace {

constexpr UINT kShiftJis = 932;

} // namespace

std::string Win32Codec::Encode(std::u16string_view text, std::size_t maxBytes) const {
    if (text.empty()) {
        return {};
    }
    // At most two bytes per UTF-16 unit; the cut then keeps characters whole.
    std::string out(text.size() * 2, '\0');
    const int length = WideCharToMultiByte(kShiftJis, 0, reinterpret_cast<LPCWCH>(text.data()),
                                           static_cast<int>(text.size()), out.data(),
                                           static_cast<int>(out.size()), "?", nullptr);
    out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return std::string(CutShiftJis(out, maxBytes));
}

std::u16string Win32Codec::Decode(std::string_view bytes, std::size_t maxUnits) const {
    if (bytes.empty()) {
        return {};
    }
    bool refused = false;
    for (std::size_t i = 0; i < bytes.size() && !refused;) {
        const std::size_t length = ShiftJisCharLength(bytes, i);
        refused = IsRefusedShiftJis(bytes, i, length);
        i += length;
    }
    std::wstring out(bytes.size(), L'\0'); // never more units than bytes
    int length = 0;
    if (!refused) {
        length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(),
                                     static_cast<int>(bytes.size()), out.data(),
                                     static_cast<int>(out.size()));
    }
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length));
    } else {
        // Character by character, so that what does not convert becomes '?'
        // exactly as in the native build (the code page alone would make
        // some bytes private-use characters and others U+30FB).
        out.clear();
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t n = ShiftJisCharLength(bytes, i);
            wchar_t unit = L'?';
            if (IsRefusedShiftJis(bytes, i, n) ||
                MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data() + i,
                                    static_cast<int>(n), &unit, 1) != 1) {
                unit = L'?';
            }
            out.push_back(unit);
            i += n;
        }
    }
    if (out.size() > maxUnits) {
        out.resize(maxUnits);
    }
    return std::u16string(reinterpret_cast<const char16_t*>(out.data()), out.size());
}

} // namespace vantrel
