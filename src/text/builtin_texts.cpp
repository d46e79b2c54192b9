#include "text/builtin_texts.h"

#include <algorithm>
#include <iterator>

namespace vantrel {
namespace {

#define VANTREL_TEXT(id, text) {id, u"" text},
constexpr TextEntry kEntries[] = {
#include "strings.inc"
};
#undef VANTREL_TEXT

} // namespace

std::span<const TextEntry> BuiltinTextEntries() {
    return kEntries;
}

std::u16string BuiltinTextTable::Text(int id) const {
    const auto* it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                      [](const TextEntry& e, int key) { return e.id < key; });
    if (it == std::end(kEntries) || it->id != id) {
        return {};
    }
    std::u16string text(it->text);
    if (text.size() > kTextCapacity - 1) {
        text.resize(kTextCapacity - 1);
    }
    return text;
}

} // namespace vantrel
