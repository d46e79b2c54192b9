#pragma once

#include "counter/counter_settings.h"
#include "model/item_list.h"
#include "model/system_time.h"
#include "model/tag_index.h"
#include "storage/record_splitter.h"
#include "storage/shift_jis_codec.h"
#include "text/text_table.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// What both readers append to and evaluate with.
struct RecordLoad {
    ItemList& own;
    TagIndex& ownTags;
    const ShiftJisCodec& codec;
    SystemTime now;
    CounterSettings counter;
    const TextTable& texts;
    // When set, a note for each field a reader cut and for the columns it
    // dropped, e.g. "record 3: title cut from 640 to 510 bytes".
    std::vector<std::string>* cuts = nullptr;
};

// The fields both readers build alike: dates, check state and check date
// (emptied unless checked), evaluation, tags with their index entries, the
// record number; then the Item is appended. `item` holds the title already.
void CommitRecord(RecordLoad& load, Item& item, std::string_view start, std::string_view end,
                  std::string_view tags, std::string_view checkState, std::string_view checkDate,
                  int recordNumber);

// Notes in load.cuts, when set, what the splitter dropped of the record
// `recordNumber` (0-based; the note counts from 1): each named column that
// was cut, with its stored and kept bytes, and the columns past the known
// ones. `names` name the columns in order; an unnamed column is one the
// reader does not use, and its cut is not noted.
void NoteCuts(const RecordLoad& load, const RecordColumns& columns,
              std::span<const std::string_view> names, int recordNumber);

} // namespace vantrel
