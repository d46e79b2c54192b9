#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Applies the item's own changes to a data file another program changed
// meanwhile. `base` holds the records as the item last read or wrote them,
// `ours` as the item would write them now, `theirs` the file as it is now;
// each is whole lines ending in CR LF, and a record is known by its full
// text. The records ours removed are taken out of theirs and the records
// ours added are appended. Nothing is returned when that is ambiguous: a
// record ours removed (or edited) is gone from theirs or appears there more
// or fewer times than in base.
std::optional<std::string> MergeRecordChanges(std::string_view base, std::string_view ours,
                                              std::string_view theirs);

} // namespace vantrel
