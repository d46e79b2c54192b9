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
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (b < 0x80) {
            length = 1;
        } else if (b >= 0xC2 && b < 0xE0) {
            length = 2;
        } else if (b >= 0xE0 && b < 0xF0) {
            length = 3;
        } else if (b >= 0xF0 && b < 0xF5) {
            length = 4;
        }
        const auto invalid = [&] {
            out.push_back(escaped ? static_cast<char16_t>(kEscapeBase + b)
                                  : static_cast<char16_t>(kReplacement));
        };
        if (length == 0) {
            invalid();
            ++i;
            continue;
        }
        if (length == 1) {
            out.push_back(b);
            ++i;
            continue;
        }
        char32_t c = b & (0x7F >> length);
        bool valid = i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= kMinimum[length] && c < 0x110000 && !(c >= 0xD800 && c < 0xE000);
        if (!valid) {
            invalid();
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}

} // namespace

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
