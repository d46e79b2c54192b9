// Any bytes must import without overruns, with every field in its capacity
// and every tag position naming an imported entry.
#include "fuzz/storage_fuzz_support.h"
#include "storage/morvik_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    fuzzing::Loader loader;
    const int count = ImportMorvikRecords(fuzzing::Bytes(data, size), loader.load);
    fuzzing::CheckLoaded(loader, count, 1024, 512);
    return 0;
}
