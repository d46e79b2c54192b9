#include "storage/vrl_reader.h"

#include "storage/record_splitter.h"

#include <array>
#include <string_view>

namespace vantrel {
namespace {

// start, end, title, tags, pin, check state, check date
constexpr std::array<std::size_t, 7> kVrlCapacities{31, 31, 511, 511, 4, 4, 31};
constexpr std::array<std::string_view, 7> kVrlFields{
    "start date", "end date", "title", "tags", "pin", "check state", "check date"};

} // namespace

int ReadVrlRecords(std::string_view bytes, RecordLoad& load) {
    int records = 0;
    SplitRecords(bytes, kVrlCapacities, [&](const RecordColumns& c) {
        NoteCuts(load, c, kVrlFields, records);
        Item item = NewOwnEntry();
        item.pinned = c.text[4] == "1" ? 1 : 0;
        item.title = load.codec.Decode(c.text[2], 512);
        CommitRecord(load, item, c.text[0], c.text[1], c.text[3], c.text[5], c.text[6], records);
        ++records;
    });
    return records;
}

} // namespace vantrel
