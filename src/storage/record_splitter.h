#pragma once

#include "storage/shift_jis_bytes.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr std::size_t kMaxRecordColumns = 14;

// The kept columns of one record; columns past the reader's capacity list
// stay empty.
struct RecordColumns {
    std::array<std::string, kMaxRecordColumns> text;
    // The bytes each column stored before its cut: more than its text's
    // size when the column was cut.
    std::array<std::size_t, kMaxRecordColumns> bytes{};
    // Columns of the record past the capacity list, dropped whole.
    std::size_t droppedColumns = 0;
};

// Called with the first stored byte that no longer fits a full column: a
// double-byte character cut in two by the capacity goes whole, so the text
// ends where the writer would cut it (CutShiftJis).
inline void DropSplitCharacter(std::string& text, char next) {
    if (text.empty()) {
        return;
    }
    const std::size_t last = text.size() - 1;
    std::size_t at = 0;
    while (at < last) {
        at += ShiftJisCharLength(text, at);
    }
    if (at == last && IsShiftJisLeadByte(static_cast<unsigned char>(text[last])) &&
        IsShiftJisTrailByte(static_cast<unsigned char>(next))) {
        text.pop_back();
    }
}

// Splits the bytes of a data file into comma-separated records, the way both
// readers do: a double quote toggles quoting (the one opening a field is not
// stored, the second of a doubled pair is); commas inside quotes are text;
// a line break (LF, CR LF or a lone CR) ends the record even inside quotes;
// a record without any stored byte is a blank line and is skipped; a last
// line without LF is still a record. Each column keeps at
// most its capacity in bytes, less a double-byte character the capacity
// would cut in two; the rest is consumed and dropped, and counted. Columns
// past the capacity list are dropped whole, and counted.
// `onRecord(const RecordColumns&)` is called for every record.
template <class OnRecord>
void SplitRecords(std::string_view bytes, std::span<const std::size_t> capacities,
                  OnRecord onRecord) {
    RecordColumns columns;
    const std::size_t kept =
        capacities.size() < kMaxRecordColumns ? capacities.size() : kMaxRecordColumns;
    std::size_t column = 0;
    bool inQuotes = false;
    bool atFieldStart = true;
    bool hasData = false;

    const auto store = [&](std::string_view run) {
        hasData = true;
        if (column >= kept) {
            return;
        }
        std::size_t& stored = columns.bytes[column];
        const std::size_t capacity = capacities[column];
        if (stored <= capacity) {
            std::string& text = columns.text[column];
            const std::size_t room = capacity - stored;
            if (run.size() <= room) {
                text.append(run);
            } else {
                text.append(run.substr(0, room));
                DropSplitCharacter(text, run[room]);
            }
        }
        stored += run.size();
    };
    const auto endRecord = [&] {
        const std::size_t used = column < kept ? column + 1 : kept;
        if (hasData) {
            columns.droppedColumns = column < kept ? 0 : column + 1 - kept;
            onRecord(static_cast<const RecordColumns&>(columns));
        }
        for (std::size_t i = 0; i < used; ++i) {
            columns.text[i].clear();
            columns.bytes[i] = 0;
        }
        column = 0;
        inQuotes = false;
        atFieldStart = true;
        hasData = false;
    };

    const auto isSpecial = [](char c) { return c == '"' || c == ',' || c == '\n' || c == '\r'; };
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (!isSpecial(c)) {
            // A run of plain bytes goes into the column in one piece.
            std::size_t end = i + 1;
            while (end < size && !isSpecial(bytes[end])) {
                ++end;
            }
            atFieldStart = false;
            store(bytes.substr(i, end - i));
            i = end - 1;
            continue;
        }
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            continue; // the LF ends the record
        }
        if (c == '\n' || c == '\r') {
            endRecord();
            continue;
        }
        if (c == '"') {
            inQuotes = !inQuotes;
            if (inQuotes && !atFieldStart) {
                store(bytes.substr(i, 1));
            }
            atFieldStart = false;
            continue;
        }
        if (c == ',' && !inQuotes) {
            ++column;
            atFieldStart = true;
            continue;
        }
        atFieldStart = false;
        store(bytes.substr(i, 1));
    }
    if (hasData) {
        endRecord();
    }
}

} // namespace vantrel
