#pragma once

#include "storage/record_load.h"

#include <cstddef>
#include <string_view>

namespace vantrel {

// Where the records of a Morvik file start: after the "[Data]" section line;
// at 0 when the file has no Data, Morvik or Style section line at all (it is
// all records); at the end when it names Morvik or Style but has no Data.
std::size_t MorvikRecordStart(std::string_view bytes);

// Imports the records of a Morvik file's bytes as unpinned own entries;
// returns how many were committed.
int ImportMorvikRecords(std::string_view bytes, RecordLoad& load);

} // namespace vantrel
