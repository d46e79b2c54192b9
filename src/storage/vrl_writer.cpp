#include "storage/vrl_writer.h"

#include "model/entry_text.h"
#include "storage/shift_jis_bytes.h"

#include <charconv>

namespace vantrel {
namespace {

void AppendNumber(std::string& out, int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// "%02d": a leading zero for 0-9 only; negative values keep their sign.
void AppendTwoDigits(std::string& out, int value) {
    if (value >= 0 && value < 10) {
        out.push_back('0');
        out.push_back(static_cast<char>('0' + value));
        return;
    }
    AppendNumber(out, value);
}

void AppendDay(std::string& out, const DateTime& date) {
    AppendNumber(out, date.year);
    out.push_back('/');
    AppendTwoDigits(out, date.month);
    out.push_back('/');
    AppendTwoDigits(out, date.day);
}

void AppendClock(std::string& out, int hour, int minute) {
    out.push_back(' ');
    AppendTwoDigits(out, hour);
    out.push_back(':');
    AppendTwoDigits(out, minute);
}

bool NeedsQuotes(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += ShiftJisCharLength(bytes, i)) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r' || c == '"' || c == ',') {
            return true;
        }
    }
    return false;
}

} // namespace

void AppendVrlDate(std::string& out, const DateTime& date) {
    if (date.day < 1) {
        return;
    }
    AppendDay(out, date);
    if (date.minute >= 0) {
        AppendClock(out, date.hour, date.minute);
    }
}

void AppendVrlText(std::string& out, std::u16string_view text, const ShiftJisCodec& codec) {
    // A line break would end the record when read: it is written as a blank.
    // The cut keeps whole characters and no more than the reader keeps, so
    // what is written reads back as the same text.
    const std::string converted = HasLineBreak(text)
                                      ? codec.Encode(WithoutLineBreaks(text), kVrlTextBytes * 2)
                                      : codec.Encode(text, kVrlTextBytes * 2);
    const std::string_view bytes = CutShiftJis(converted, kVrlTextBytes);
    if (!NeedsQuotes(bytes)) {
        out.append(bytes);
        return;
    }
    out.push_back('"');
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = ShiftJisCharLength(bytes, i);
        if (length == 1 && bytes[i] == '"') {
            out.push_back('"');
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    out.push_back('"');
}

void AppendVrlRecord(std::string& out, const Item& item, const ShiftJisCodec& codec) {
    AppendVrlDate(out, item.startDate);
    out.push_back(',');
    AppendVrlDate(out, item.endDate);
    out.push_back(',');
    AppendVrlText(out, item.title, codec);
    out.push_back(',');
    AppendVrlText(out, item.tags, codec);
    out.push_back(',');
    if (item.pinned != 0) {
        AppendNumber(out, item.pinned);
    }
    out.push_back(',');
    if (item.checkState != 0) {
        // Always with a time part; a check date without time says -1:-1.
        const DateTime& d = item.checkDate;
        AppendNumber(out, item.checkState);
        out.push_back(',');
        AppendDay(out, d);
        AppendClock(out, d.HasTime() ? d.hour : -1, d.HasTime() ? d.minute : -1);
    }
    out.append("\r\n");
}

bool WritesBackAs(std::span<const Item> items, std::string_view bytes, const ShiftJisCodec& codec) {
    // Record by record, so a large file is not held twice.
    std::string record;
    for (const Item& item : items) {
        record.clear();
        AppendVrlRecord(record, item, codec);
        if (bytes.substr(0, record.size()) != record) {
            return false;
        }
        bytes.remove_prefix(record.size());
    }
    return bytes.empty();
}

} // namespace vantrel
