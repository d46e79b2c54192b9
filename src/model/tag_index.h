#pragma once

#include "model/item_list.h"

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Tag text -> positions in one source list. std::u16string orders by UTF-16
// code unit, which is the ordinal order the lookups rely on; each tag's
// positions keep the order they were added in (ascending when added in list
// order), which is what a multimap's equal range would give. One position
// vector per distinct tag keeps the rebuild of a large list cheap.
struct TagIndex {
    std::map<std::u16string, std::vector<int>, std::less<>> positions;
};

// Every piece between TABs, empty pieces included ("a\t\tb" -> a, "", b).
std::vector<std::u16string> SplitAtEveryTab(std::u16string_view tags);

// Non-empty pieces only: a text of TABs alone has none.
std::vector<std::u16string> SplitTagsSkippingEmpty(std::u16string_view tags);

void ClearTagIndex(TagIndex& index);
void AddTag(TagIndex& index, std::u16string_view tag, int position);

// Rebuild after a re-sort: each non-empty `tags` split at every TAB. The
// three steps let a caller add the entries during its own pass over a list.
void RebuildTagIndex(TagIndex& index, const ItemList& list);
void BeginTagRebuild(TagIndex& index);
void AddTagsAtEveryTab(TagIndex& index, std::u16string_view tags, int position);
void FinishTagRebuild(TagIndex& index);

// What the file readers do while loading one record.
void AddTagsSkippingEmpty(TagIndex& index, std::u16string_view tags, int position);

std::span<const int> EntriesOfTag(const TagIndex& index, std::u16string_view tag);
std::size_t CountOfTag(const TagIndex& index, std::u16string_view tag);
std::size_t EntryCount(const TagIndex& index);

// Distinct non-empty tags: the own index first, then the others' new ones.
std::vector<std::u16string> TagVocabulary(const TagIndex& own, const TagIndex& appointments,
                                          const TagIndex& tasks);

} // namespace vantrel
