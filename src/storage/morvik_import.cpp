#include "storage/morvik_import.h"

#include "storage/record_splitter.h"

#include <array>
#include <string_view>

namespace vantrel {
namespace {

// start, end, text, supplement, -, tags, -, check state, check date, - x5
constexpr std::array<std::size_t, 14> kMorvikCapacities{31, 31, 511, 127, 63, 511, 31,
                                                        4,  31, 31,  31,  31, 31,  31};
// The unused columns have no name: what they lose is not noted.
constexpr std::array<std::string_view, 14> kMorvikFields{
    "start date", "end date", "text", "supplement", "", "tags", "", "check state", "check date"};

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::size_t MorvikRecordStart(std::string_view bytes) {
    // Only section lines matter: a line without blank, TAB or "=", 3 to 31
    // bytes long, in brackets. Key lines (and bad lines) are skipped whole;
    // their keys and values are not used.
    bool sawMorvikOrStyle = false;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') {
            continue;
        }
        // A line ends at LF, CR LF or a lone CR, as the records do.
        const std::string_view line = bytes.substr(lineStart, i - lineStart);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        lineStart = i + 1;
        if (line.size() < 3 || line.size() > 31 || line.front() != '[' || line.back() != ']') {
            continue;
        }
        bool plain = true;
        for (const char c : line) {
            plain = plain && !IsBlankOrTab(c) && c != '=';
        }
        if (!plain) {
            continue;
        }
        const std::string_view name = line.substr(1, line.size() - 2);
        if (name == "Data") {
            return lineStart;
        }
        sawMorvikOrStyle = sawMorvikOrStyle || name == "Morvik" || name == "Style";
    }
    return sawMorvikOrStyle ? bytes.size() : 0;
}

int ImportMorvikRecords(std::string_view bytes, RecordLoad& load) {
    const std::string_view recordBytes = bytes.substr(MorvikRecordStart(bytes));
    int records = 0;
    std::string title;
    SplitRecords(recordBytes, kMorvikCapacities, [&](const RecordColumns& c) {
        NoteCuts(load, c, kMorvikFields, records);
        Item item = NewOwnEntry();
        if (c.text[3].empty()) {
            item.title = load.codec.Decode(c.text[2], 512);
        } else {
            title.assign(c.text[2]).append("(").append(c.text[3]).append(")");
            item.title = load.codec.Decode(title, 1024);
        }
        CommitRecord(load, item, c.text[0], c.text[1], c.text[5], c.text[7], c.text[8], records);
        ++records;
    });
    return records;
}

} // namespace vantrel
