#include "storage/record_load.h"

#include "counter/evaluate_item.h"
#include "model/date_parse.h"

#include <algorithm>

namespace vantrel {

void CommitRecord(RecordLoad& load, Item& item, std::string_view start, std::string_view end,
                  std::string_view tags, std::string_view checkState, std::string_view checkDate,
                  int recordNumber) {
    item.startDate = ParseDateTime(start).value;
    item.endDate = ParseDateTime(end).value;
    item.checkState = checkState == "1" ? 1 : checkState == "2" ? 2 : 0;
    item.checkDate = ParseDateTime(item.checkState != 0 ? checkDate : std::string_view()).value;
    EvaluateItem(item, load.now, load.counter, load.texts);
    item.tags = load.codec.Decode(tags, 512);
    if (!item.tags.empty()) {
        AddTagsSkippingEmpty(load.ownTags, item.tags, recordNumber);
    }
    item.index = recordNumber;
    load.own.push_back(std::move(item));
}

void NoteCuts(const RecordLoad& load, const RecordColumns& columns,
              std::span<const std::string_view> names, int recordNumber) {
    if (load.cuts == nullptr) {
        return;
    }
    const std::string record = "record " + std::to_string(recordNumber + 1) + ": ";
    const std::size_t named = std::min(names.size(), kMaxRecordColumns);
    for (std::size_t i = 0; i < named; ++i) {
        if (!names[i].empty() && columns.bytes[i] > columns.text[i].size()) {
            load.cuts->push_back(record + std::string(names[i]) + " cut from " +
                                 std::to_string(columns.bytes[i]) + " to " +
                                 std::to_string(columns.text[i].size()) + " bytes");
        }
    }
    if (columns.droppedColumns > 0) {
        load.cuts->push_back(record + std::to_string(columns.droppedColumns) +
                             (columns.droppedColumns == 1 ? " field" : " fields") +
                             " beyond the known ones dropped");
    }
}

} // namespace vantrel
