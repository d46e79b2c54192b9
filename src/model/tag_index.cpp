#include "model/tag_index.h"

#include <set>

namespace vantrel {
namespace {

template <class Visit> void ForEachPiece(std::u16string_view tags, Visit visit) {
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = tags.find(kTagSeparator, start);
        if (tab == std::u16string_view::npos) {
            visit(tags.substr(start));
            return;
        }
        visit(tags.substr(start, tab - start));
        start = tab + 1;
    }
}

} // namespace

std::vector<std::u16string> SplitAtEveryTab(std::u16string_view tags) {
    std::vector<std::u16string> pieces;
    ForEachPiece(tags, [&](std::u16string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

std::vector<std::u16string> SplitTagsSkippingEmpty(std::u16string_view tags) {
    std::vector<std::u16string> pieces;
    ForEachPiece(tags, [&](std::u16string_view piece) {
        if (!piece.empty()) {
            pieces.emplace_back(piece);
        }
    });
    return pieces; // tags of TABs only give no piece
}

void ClearTagIndex(TagIndex& index) {
    index.positions.clear();
}

void AddTag(TagIndex& index, std::u16string_view tag, int position) {
    auto it = index.positions.find(tag);
    if (it == index.positions.end()) {
        it = index.positions.emplace(std::u16string(tag), std::vector<int>()).first;
    }
    // A word repeated in one Item's tags ("a\ta") lists the Item once.
    if (it->second.empty() || it->second.back() != position) {
        it->second.push_back(position);
    }
}

void BeginTagRebuild(TagIndex& index) {
    // Keep the buckets and their capacity: a refresh usually finds the same
    // tags again, so the rebuild allocates nothing.
    for (auto& bucket : index.positions) {
        bucket.second.clear();
    }
}

void AddTagsAtEveryTab(TagIndex& index, std::u16string_view tags, int position) {
    if (!tags.empty()) {
        ForEachPiece(tags, [&](std::u16string_view piece) { AddTag(index, piece, position); });
    }
}

void FinishTagRebuild(TagIndex& index) {
    std::erase_if(index.positions, [](const auto& bucket) { return bucket.second.empty(); });
}

void RebuildTagIndex(TagIndex& index, const ItemList& list) {
    BeginTagRebuild(index);
    for (std::size_t i = 0; i < list.size(); ++i) {
        AddTagsAtEveryTab(index, list[i].tags, static_cast<int>(i));
    }
    FinishTagRebuild(index);
}

void AddTagsSkippingEmpty(TagIndex& index, std::u16string_view tags, int position) {
    if (tags.empty()) {
        return;
    }
    bool addedAny = false;
    ForEachPiece(tags, [&](std::u16string_view piece) {
        if (!piece.empty()) {
            AddTag(index, piece, position);
            addedAny = true;
        }
    });
    if (!addedAny) {
        AddTag(index, tags, position);
    }
}

std::span<const int> EntriesOfTag(const TagIndex& index, std::u16string_view tag) {
    const auto it = index.positions.find(tag);
    if (it == index.positions.end()) {
        return {};
    }
    return it->second;
}

std::size_t CountOfTag(const TagIndex& index, std::u16string_view tag) {
    return EntriesOfTag(index, tag).size();
}

std::size_t EntryCount(const TagIndex& index) {
    std::size_t count = 0;
    for (const auto& bucket : index.positions) {
        count += bucket.second.size();
    }
    return count;
}

std::vector<std::u16string> TagVocabulary(const TagIndex& own, const TagIndex& appointments,
                                          const TagIndex& tasks) {
    std::vector<std::u16string> words;
    std::set<std::u16string_view> seen;
    for (const TagIndex* index : {&own, &appointments, &tasks}) {
        for (const auto& bucket : index->positions) {
            if (!bucket.first.empty() && seen.insert(bucket.first).second) {
                words.push_back(bucket.first);
            }
        }
    }
    return words;
}

} // namespace vantrel
