#pragma once

#include "model/item_list.h"
#include "model/tag_index.h"

namespace vantrel {

// The four Item lists and the tag index of each source list. One instance
// lives in the Today window's state; tests build their own.
struct ItemStore {
    ItemList own;
    ItemList appointments;
    ItemList tasks;
    ItemList view;
    TagIndex ownTags;
    TagIndex appointmentTags;
    TagIndex taskTags;
};

} // namespace vantrel
