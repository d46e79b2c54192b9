// Any bytes import without overruns, with no line break in a title or tags,
// every field within its capacity (a title with a supplement keeps the 511
// bytes of the text, the 127 of the supplement and its parentheses) and
// every tag position naming an imported entry; and the imported entries,
// saved as a data file, are a fixed point as a read data file is.
#include "fuzz/storage_fuzz_support.h"
#include "storage/morvik_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    fuzzing::Loader loader;
    const int count = ImportMorvikRecords(fuzzing::Bytes(data, size), loader.load);
    fuzzing::CheckLoaded(loader, count, 511 + 127 + 2, 511);
    fuzzing::CheckOneSave(loader.own);
    return 0;
}
