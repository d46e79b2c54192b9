// Any bytes must read without overruns; every field stays within its
// capacity, every tag position names a read entry, and what the writer makes
// of the entries reads back as at most as many records with the same titles.
#include "fuzz/storage_fuzz_support.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    fuzzing::Loader first;
    const int count = ReadVrlRecords(fuzzing::Bytes(data, size), first.load);
    fuzzing::CheckLoaded(first, count, 512);
    std::string written;
    for (const Item& item : first.own) {
        AppendVrlRecord(written, item, first.codec);
    }
    fuzzing::Loader second;
    const int again = ReadVrlRecords(written, second.load);
    fuzzing::Check(again <= count);
    for (std::size_t i = 0, j = 0; i < second.own.size(); ++i, ++j) {
        // Entries with nothing stored are blank lines once written.
        while (j < first.own.size() && first.own[j].title != second.own[i].title) {
            ++j;
        }
        fuzzing::Check(j < first.own.size());
    }
    return 0;
}
