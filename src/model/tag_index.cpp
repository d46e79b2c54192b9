#include "model/tag_index.h"

#include <algorithm>
#include <set>

namespace vantrel {

std::vector<std::u16string> SplitAtEveryTab(std::u16string_view tags) {
    std::vector<std::u16string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = tags.find(kTagSeparator, start);
        if (tab == std::u16string_view::npos) {
            pieces.emplace_back(tags.substr(start));
            return pieces;
        }
        pieces.emplace_back(tags.substr(start, tab - start));
        start = tab + 1;
    }
}

std::vector<std::u16string> SplitTagsSkippingEmpty(std::u16string_view tags) {
    std::vector<std::u16string> pieces;
    for (std::u16string& piece : SplitAtEveryTab(tags)) {
        if (!piece.empty()) {
            pieces.push_back(std::move(piece));
        }
    }
    if (pieces.empty() && !tags.empty()) {
        pieces.emplace_back(tags);
    }
    return pieces;
}

void RebuildTagIndex(TagIndex& index, const ItemList& list) {
    // Collect, order by tag (stable, so positions stay ascending within a
    // tag), then append: inserting at the end with a hint costs no search.
    std::vector<std::pair<std::u16string, int>> entries;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].tags.empty()) {
            continue;
        }
        for (std::u16string& piece : SplitAtEveryTab(list[i].tags)) {
            entries.emplace_back(std::move(piece), static_cast<int>(i));
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    index.clear();
    for (auto& entry : entries) {
        index.emplace_hint(index.end(), std::move(entry.first), entry.second);
    }
}

void AddTagsSkippingEmpty(TagIndex& index, std::u16string_view tags, int position) {
    if (tags.empty()) {
        return;
    }
    for (std::u16string& piece : SplitTagsSkippingEmpty(tags)) {
        index.emplace(std::move(piece), position);
    }
}

TagRange EntriesOfTag(const TagIndex& index, std::u16string_view tag) {
    return index.equal_range(std::u16string(tag));
}

std::size_t CountOfTag(const TagIndex& index, std::u16string_view tag) {
    return index.count(std::u16string(tag));
}

std::vector<std::u16string> TagVocabulary(const TagIndex& own, const TagIndex& appointments,
                                          const TagIndex& tasks) {
    std::vector<std::u16string> words;
    std::set<std::u16string_view> seen;
    for (const TagIndex* index : {&own, &appointments, &tasks}) {
        for (auto it = index->begin(); it != index->end(); it = index->upper_bound(it->first)) {
            if (!it->first.empty() && seen.insert(it->first).second) {
                words.push_back(it->first);
            }
        }
    }
    return words;
}

} // namespace vantrel
