#pragma once

#include "model/item.h"

#include <vector>

namespace vantrel {

// A contiguous, growable array of Items held by value.
using ItemList = std::vector<Item>;

// Data-source bits of `StartView` and the current source mask.
enum SourceBits : int {
    kSourceOwnBit = 1,
    kSourceAppointmentsBit = 2,
    kSourceTasksBit = 8,
};

// Erases the own entry at `position`; later entries move down by one (their
// `index` is restamped by the next view build). False when out of range.
bool EraseAt(ItemList& list, int position);

// Assigns a changed ViewList copy of an own entry back to OwnList[copy.index].
// False (and nothing written) when the copy is not an own entry or its
// index no longer names an element.
bool WriteBack(ItemList& own, const Item& copy);

// Duplicates ViewList[selected]: the copy is appended to both lists, an
// Outlook entry becoming an own entry (source 0, importance 1). Returns the
// ViewList position the edit dialog then works on, whose `index` now names
// the new last own entry: the appended line for an Outlook entry, the
// selected line for an own entry. -1 when `selected` is out of range.
int DuplicateEntry(ItemList& own, ItemList& view, int selected);

// Empties the own list and refills it with the own entries of the view, in
// view order, stamping each (in both lists) with its new position.
void KeepOnlyShown(ItemList& own, ItemList& view);

} // namespace vantrel
