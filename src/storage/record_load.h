#pragma once

#include "counter/counter_settings.h"
#include "model/item_list.h"
#include "model/system_time.h"
#include "model/tag_index.h"
#include "storage/shift_jis_codec.h"
#include "text/text_table.h"

#include <string_view>

namespace vantrel {

// What both readers append to and evaluate with.
struct RecordLoad {
    ItemList& own;
    TagIndex& ownTags;
    const ShiftJisCodec& codec;
    SystemTime now;
    CounterSettings counter;
    const TextTable& texts;
};

// The fields both readers build alike: dates, check state and check date
// (emptied unless checked), evaluation, tags with their index entries, the
// record number; then the Item is appended. `item` holds the title already.
void CommitRecord(RecordLoad& load, Item& item, std::string_view start, std::string_view end,
                  std::string_view tags, std::string_view checkState, std::string_view checkDate,
                  int recordNumber);

} // namespace vantrel
