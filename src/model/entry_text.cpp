#include "model/entry_text.h"

namespace vantrel {

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

std::u16string WithoutLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue; // the LF that follows stands for the pair
        }
        out.push_back(c == u'\r' || c == u'\n' ? u' ' : c);
    }
    return out;
}

} // namespace vantrel
