#pragma once

#include "model/item.h"
#include "storage/shift_jis_codec.h"

#include <string>

namespace vantrel {

// Appends one VRL record for `item`, CR LF included: start date, end date,
// title, tags and pin each followed by a comma, then for a checked entry the
// check state and check date, e.g. `2013/11/02,,"a,b",,1,1,2013/11/01 -1:-1`.
void AppendVrlRecord(std::string& out, const Item& item, const ShiftJisCodec& codec);

// "%d/%02d/%02d", with " %02d:%02d" when the minute is not negative; nothing
// for no date (day < 1).
void AppendVrlDate(std::string& out, const DateTime& date);

// A title or tag text as stored: at most 512 bytes of Shift_JIS, in double
// quotes with inner quotes doubled when it holds a LF, CR, quote or comma.
void AppendVrlText(std::string& out, std::u16string_view text, const ShiftJisCodec& codec);

} // namespace vantrel
