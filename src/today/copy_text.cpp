#include "today/copy_text.h"

#include <cstdio>

namespace vantrel {
namespace {

void AppendAscii(std::u16string& out, const char* text) {
    for (; *text != '\0'; ++text) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
}

} // namespace

std::u16string CopyText(const Item& entry, const SystemTime& now) {
    DateTime date{now.year, now.month, now.day, -1, -1};
    if (entry.checkState != 0) {
        date = entry.checkDate;
    } else if (entry.endDate.day > 0) {
        date = entry.endDate;
    } else if (entry.startDate.day > 0) {
        date = entry.startDate;
    }
    std::u16string text;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d", date.year, date.month, date.day);
    AppendAscii(text, buffer);
    if (date.minute >= 0) {
        std::snprintf(buffer, sizeof buffer, "T%02d:%02d", date.hour, date.minute);
        AppendAscii(text, buffer);
    }
    text += u'\t';
    text += entry.title;
    text += u"\t0";
    if (!entry.tags.empty()) {
        text += u'\t';
        text += entry.tags;
    }
    return text;
}

} // namespace vantrel
