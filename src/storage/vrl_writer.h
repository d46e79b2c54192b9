#pragma once

#include "model/item.h"
#include "storage/shift_jis_codec.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// Appends one VRL record for `item`, CR LF included: start date, end date,
// title, tags and pin each followed by a comma, then for a checked entry the
// check state and check date, e.g. `2013/11/02,,"a,b",,1,1,2013/11/01 -1:-1`.
void AppendVrlRecord(std::string& out, const Item& item, const ShiftJisCodec& codec);

// "%d/%02d/%02d", with " %02d:%02d" when the minute is not negative; nothing
// for no date (day < 1).
void AppendVrlDate(std::string& out, const DateTime& date);

// The most bytes of a title or tag text that the reader keeps, and so the
// most the writer writes.
inline constexpr std::size_t kVrlTextBytes = 511;

// A title or tag text as stored: line breaks as blanks, at most
// kVrlTextBytes of Shift_JIS cut at a character boundary, in double quotes
// with inner quotes doubled when it holds a quote or comma.
void AppendVrlText(std::string& out, std::u16string_view text, const ShiftJisCodec& codec);

// True when `bytes` are exactly what the writer makes of `items`, in order:
// then a save of these entries loses nothing of the file they came from.
bool WritesBackAs(std::span<const Item> items, std::string_view bytes, const ShiftJisCodec& codec);

} // namespace vantrel
