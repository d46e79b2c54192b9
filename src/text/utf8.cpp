#include "text/utf8.h"

namespace vantrel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// The length of the well-formed sequence at `at` with its code point in
// `c`, or 0: no overlong form, no surrogate, nothing past U+10FFFF.
std::size_t DecodeSequence(std::string_view text, std::size_t at, char32_t& c) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (b < 0x80) {
        c = b;
        return 1;
    }
    if (b >= 0xC2 && b < 0xE0) {
        length = 2;
    } else if (b >= 0xE0 && b < 0xF0) {
        length = 3;
    } else if (b >= 0xF0 && b < 0xF5) {
        length = 4;
    }
    if (length == 0 || text.size() - at < length) {
        return 0;
    }
    c = b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[length] || c >= 0x110000 || (c >= 0xD800 && c < 0xE000)) {
        return 0;
    }
    return length;
}

// A byte that starts no valid sequence stands for itself as a lone low
// surrogate U+DC80..U+DCFF when escaping, else for U+FFFD.
constexpr char16_t kEscapeBase = 0xDC00;

std::string EncodeUtf8(std::u16string_view text, bool escaped) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (escaped && c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(c - kEscapeBase));
        } else if (c >= 0xD800 && c < 0xE000) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view text, bool escaped) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeSequence(text, i, c);
        if (length == 0) {
            const unsigned char b = static_cast<unsigned char>(text[i]);
            out.push_back(escaped ? static_cast<char16_t>(kEscapeBase + b)
                                  : static_cast<char16_t>(kReplacement));
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}

} // namespace

bool LooksLikeUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return false;
    }
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t length = DecodeSequence(bytes, i, c);
        if (length == 0) {
            return false;
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

std::string ToUtf8(std::u16string_view text) {
    return EncodeUtf8(text, false);
}

std::u16string FromUtf8(std::string_view text) {
    return DecodeUtf8(text, false);
}

std::string ToNativeName(std::u16string_view name) {
    return EncodeUtf8(name, true);
}

std::u16string FromNativeName(std::string_view name) {
    return DecodeUtf8(name, true);
}

} // namespace vantrel
