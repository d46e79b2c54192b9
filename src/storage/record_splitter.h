#pragma once

#include <algorithm>
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
};

// Splits the bytes of a data file into comma-separated records, the way both
// readers do: a double quote toggles quoting (the one opening a field is not
// stored, the second of a doubled pair is); commas inside quotes are text;
// a line break (LF, CR LF or a lone CR) ends the record even inside quotes;
// a record without any stored byte is a blank line and
// is skipped; a last line without LF is still a record. Each column keeps at
// most its capacity in bytes, the rest is consumed and dropped; columns past
// the capacity list are dropped whole. `onRecord(const RecordColumns&)` is
// called for every record.
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

    const auto append = [&](char c) {
        if (column < kept && columns.text[column].size() < capacities[column]) {
            columns.text[column].push_back(c);
        }
        hasData = true;
    };
    const auto appendRun = [&](std::string_view run) {
        if (column < kept) {
            std::string& text = columns.text[column];
            const std::size_t room = capacities[column] - std::min(capacities[column], text.size());
            text.append(run.substr(0, room));
        }
        hasData = true;
    };
    const auto endRecord = [&] {
        if (hasData) {
            onRecord(static_cast<const RecordColumns&>(columns));
        }
        const std::size_t used = column < kept ? column + 1 : kept;
        for (std::size_t i = 0; i < used; ++i) {
            columns.text[i].clear();
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
            appendRun(bytes.substr(i, end - i));
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
                append(c);
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
        append(c);
    }
    if (hasData) {
        endRecord();
    }
}

} // namespace vantrel
