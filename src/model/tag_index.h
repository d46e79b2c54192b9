#pragma once

#include "model/item_list.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel {

// Tag text -> position in one source list. std::u16string orders by UTF-16
// code unit, which is the ordinal order the lookups rely on.
using TagIndex = std::multimap<std::u16string, int>;
using TagRange = std::pair<TagIndex::const_iterator, TagIndex::const_iterator>;

// Every piece between TABs, empty pieces included ("a\t\tb" -> a, "", b).
std::vector<std::u16string> SplitAtEveryTab(std::u16string_view tags);

// Non-empty pieces only; a text that has none yields the whole text.
std::vector<std::u16string> SplitTagsSkippingEmpty(std::u16string_view tags);

// Rebuild after a re-sort: each non-empty `tags` split at every TAB.
void RebuildTagIndex(TagIndex& index, const ItemList& list);

// What the file readers do while loading one record.
void AddTagsSkippingEmpty(TagIndex& index, std::u16string_view tags, int position);

TagRange EntriesOfTag(const TagIndex& index, std::u16string_view tag);
std::size_t CountOfTag(const TagIndex& index, std::u16string_view tag);

// Distinct non-empty tags: the own index first, then the others' new ones.
std::vector<std::u16string> TagVocabulary(const TagIndex& own, const TagIndex& appointments,
                                          const TagIndex& tasks);

} // namespace vantrel
