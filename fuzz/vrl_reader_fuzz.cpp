// Each input is used twice.
//
// As a data file: any bytes read without overruns, every field within its
// capacity and every tag position naming a read entry; and one save of what
// was read is a fixed point: the saved bytes read back as the same entries
// (less those with nothing stored, which are blank records) and write back
// as the same bytes. The file counts as written back exactly only when it
// is byte for byte what a save would make of it.
//
// As choices: a list of entries as the program holds them, with titles and
// tags of any length and any characters, line breaks and quotes included.
// Written and read back, each entry keeps its dates, pin and check, and its
// texts read as the text with line breaks made blanks and cut at a
// character boundary to what fits a record; entries with nothing stored
// vanish.
#include "fuzz/storage_fuzz_support.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string_view bytes = fuzzing::Bytes(data, size);

    fuzzing::Loader first;
    const int count = ReadVrlRecords(bytes, first.load);
    fuzzing::CheckLoaded(first, count, kVrlTextBytes, kVrlTextBytes);
    const std::string saved = fuzzing::CheckOneSave(first.own);
    fuzzing::Check(WritesBackAs(first.own, bytes, first.codec) == (bytes == saved));

    fuzzing::Choices choices(bytes);
    std::vector<Item> entries;
    while (!choices.AtEnd() && entries.size() < 64) {
        entries.push_back(fuzzing::GenerateEntry(choices, fuzzing::Cp932()));
    }
    fuzzing::CheckOneSave(entries);
    return 0;
}
