#pragma once

#include "storage/record_load.h"

#include <string_view>

namespace vantrel {

// Reads the records of a VRL data file's bytes into load.own and
// load.ownTags; returns how many were committed.
int ReadVrlRecords(std::string_view bytes, RecordLoad& load);

} // namespace vantrel
