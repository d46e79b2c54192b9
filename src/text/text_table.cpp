#include "text/text_table.h"

namespace vantrel {

std::u16string LoadPiece(const TextTable& table, int id) {
    std::u16string piece = table.Text(id);
    if (piece == u"\t") {
        piece.clear();
    }
    return piece;
}

void AppendBounded(std::u16string& text, std::u16string_view part) {
    const std::size_t limit = kTextCapacity - 1;
    if (text.size() >= limit) {
        return;
    }
    text.append(part.substr(0, limit - text.size()));
}

} // namespace vantrel
