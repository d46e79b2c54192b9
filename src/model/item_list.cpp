#include "model/item_list.h"

#include "model/entry_text.h"

#include <map>

namespace vantrel {
namespace {

bool InRange(const ItemList& list, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < list.size();
}

} // namespace

bool EraseAt(ItemList& list, int position) {
    if (!InRange(list, position)) {
        return false;
    }
    list.erase(list.begin() + position);
    return true;
}

bool WriteBack(ItemList& own, const Item& copy) {
    if (copy.source != kOwnEntry || !InRange(own, copy.index)) {
        return false;
    }
    own[static_cast<std::size_t>(copy.index)] = copy;
    return true;
}

int DuplicateEntry(ItemList& own, ItemList& view, int selected) {
    if (!InRange(view, selected)) {
        return -1;
    }
    Item copy = view[static_cast<std::size_t>(selected)];
    const bool fromOutlook = copy.source != kOwnEntry;
    if (fromOutlook) {
        copy.source = kOwnEntry;
        copy.importance = 1;
        // An Outlook subject may hold line breaks; an own entry may not.
        copy.title = WithoutLineBreaks(copy.title);
        copy.tags = WithoutLineBreaks(copy.tags);
    }
    own.push_back(copy);
    view.push_back(copy);
    const int target = fromOutlook ? static_cast<int>(view.size()) - 1 : selected;
    view[static_cast<std::size_t>(target)].index = static_cast<int>(own.size()) - 1;
    return target;
}

void KeepOnlyShown(ItemList& own, ItemList& view) {
    own.clear();
    // An entry the view lists twice (under a tag repeated in it) is kept once;
    // both lines get its new position.
    std::map<int, int> kept;
    for (Item& item : view) {
        if (item.source != kOwnEntry) {
            continue;
        }
        const auto [at, isNew] = kept.try_emplace(item.index, static_cast<int>(own.size()));
        item.index = at->second;
        if (isNew) {
            own.push_back(item);
        }
    }
}

} // namespace vantrel
