#pragma once

#include "counter/counter_settings.h"
#include "model/normalize_dates.h"
#include "native/iconv_codec.h"
#include "settings/settings.h"
#include "storage/record_load.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "text/builtin_texts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace vantrel::fuzzing {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

struct Loader {
    IconvCodec codec;
    BuiltinTextTable texts;
    ItemList own;
    TagIndex tags;
    RecordLoad load{
        own, tags, codec, SystemTimeAt(2013, 11, 2, 9, 0), CounterSettingsFrom(Settings{}), texts};
};

inline bool HoldsLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

inline void CheckLoaded(const Loader& loader, int count, std::size_t titleLimit,
                        std::size_t tagsLimit) {
    Check(count >= 0 && static_cast<std::size_t>(count) == loader.own.size());
    for (const Item& item : loader.own) {
        Check(item.title.size() <= titleLimit && item.tags.size() <= tagsLimit);
        // A line break ends a record, so no read text can hold one.
        Check(!HoldsLineBreak(item.title) && !HoldsLineBreak(item.tags));
        Check(item.pinned == 0 || item.pinned == 1);
        Check(item.checkState >= 0 && item.checkState <= 2);
        Check(item.countText.size() < 260 && item.dateText.size() < 260);
    }
    for (const auto& [tag, positions] : loader.tags.positions) {
        Check(!tag.empty());
        for (const int p : positions) {
            Check(p >= 0 && static_cast<std::size_t>(p) < loader.own.size());
        }
    }
}

// Reads the fuzzer's bytes as a series of choices. Past the end every
// choice is 0, so any input, even an empty one, makes a complete choice;
// the generators below make 0 the plainest option. Used instead of
// FuzzedDataProvider so that a seed means the same in the g++ replay build.
class Choices {
  public:
    explicit Choices(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ >= bytes_.size(); }

    // A value in [0, n) for n >= 1, from as few bytes as n needs.
    std::uint32_t Below(std::uint32_t n) {
        std::uint64_t value = 0;
        for (std::uint64_t span = 1; span < n; span <<= 8) {
            value = (value << 8) | NextByte();
        }
        return n == 0 ? 0 : static_cast<std::uint32_t>(value % n);
    }

    int Between(int low, int high) {
        return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
    }

  private:
    std::uint8_t NextByte() {
        return at_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[at_++]) : 0;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

// What code page 932 holds, found once by asking the codec about every
// code: the Shift_JIS length of each UTF-16 unit that converts there and
// back unchanged, and those units grouped for the text generator.
enum CharGroup : std::uint8_t {
    kSymbols,     // lead bytes 81, 84: punctuation, full-width forms, Greek, Cyrillic, box
    kKana,        // 82, 83: full-width digits, Latin letters, hiragana, katakana
    kKanji,       // 88-9F, E0-EA
    kExtensions,  // 87 (NEC row 13), ED-EE (NEC-selected IBM), FA-FC (IBM)
    kUserDefined, // F0-F9, the private use area
    kGroupCount,
};

struct CodePage {
    std::array<std::uint8_t, 0x10000> length{}; // 0: not in the code page (or a surrogate)
    std::array<std::vector<char16_t>, kGroupCount> groups;
    std::vector<std::u16string> lacking; // each written as one '?'
};

inline CharGroup GroupOfLead(unsigned lead) {
    if (lead == 0x81 || lead == 0x84) {
        return kSymbols;
    }
    if (lead == 0x82 || lead == 0x83) {
        return kKana;
    }
    if (lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA) {
        return kExtensions;
    }
    if (lead >= 0xF0) {
        return kUserDefined;
    }
    return kKanji;
}

inline CodePage MakeCodePage() {
    const IconvCodec codec;
    Check(codec.Available());
    CodePage cp;
    for (char16_t c = 0; c < 0x80; ++c) {
        cp.length[c] = 1;
    }
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) { // half-width katakana, A1-DF
        cp.length[c] = 1;
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = codec.Decode(code, 2);
            if (text.size() != 1 || text[0] == u'?') {
                continue; // not defined
            }
            // Several codes may read as one character (NEC-selected and IBM
            // extensions); it must write back as one of them.
            const std::string back = codec.Encode(text, 4);
            if (back.size() != 2 || codec.Decode(back, 2) != text) {
                continue;
            }
            cp.length[text[0]] = 2;
            cp.groups[GroupOfLead(lead)].push_back(text[0]);
        }
    }
    for (std::u16string text :
         {std::u16string(u"\u00E9"), std::u16string(u"\u0100"), std::u16string(u"\u20AC"),
          std::u16string(u"\u4E02"), std::u16string(u"\uAC00"), std::u16string(u"\uFFFD"),
          std::u16string(u"\U0001F600"), std::u16string(u"\U00020B9F"),
          std::u16string(1, char16_t{0xD83D}), std::u16string(1, char16_t{0xDE00})}) {
        if (codec.Encode(text, 8) == "?") {
            cp.lacking.push_back(std::move(text));
        }
    }
    for (const std::vector<char16_t>& group : cp.groups) {
        Check(!group.empty());
    }
    Check(!cp.lacking.empty());
    return cp;
}

inline const CodePage& Cp932() {
    static const CodePage cp = MakeCodePage();
    return cp;
}

inline bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

inline bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// What a title or tag text reads back as once written, worked out character
// by character: each line break (CR LF, CR, LF) one blank, each character
// the code page lacks one '?' (a surrogate pair is one character), and only
// the characters that fit whole into kVrlTextBytes of Shift_JIS.
inline std::u16string StoredText(std::u16string_view text, const CodePage& cp) {
    std::u16string out;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size();) {
        char16_t c = text[i];
        std::size_t units = 1;
        const bool pairFollows = i + 1 < text.size();
        if (c == u'\r' || c == u'\n') {
            units = (c == u'\r' && pairFollows && text[i + 1] == u'\n') ? 2 : 1;
            c = u' ';
        } else if (IsHighSurrogate(c) && pairFollows && IsLowSurrogate(text[i + 1])) {
            units = 2;
            c = u'?';
        } else if (cp.length[c] == 0) {
            c = u'?';
        }
        bytes += cp.length[c];
        if (bytes > kVrlTextBytes) {
            break;
        }
        out.push_back(c);
        i += units;
    }
    return out;
}

// A title or tag text of 0 to 1100 UTF-16 units, in runs of one character
// repeated, so that long texts need few input bytes.
inline std::u16string GenerateText(Choices& in, const CodePage& cp) {
    std::size_t length = 0;
    switch (in.Below(4)) {
    case 0:
        break;
    case 1:
        length = in.Below(24);
        break;
    case 2:
        length = static_cast<std::size_t>(in.Between(240, 560)); // about where the cut falls
        break;
    default:
        length = in.Below(1101);
        break;
    }
    static constexpr std::u16string_view kStructural = u"\"\t, \r\n";
    std::u16string text;
    while (text.size() < length) {
        std::u16string piece;
        switch (in.Below(10)) {
        case 0:
            piece.push_back(static_cast<char16_t>(in.Between(0x20, 0x7E)));
            break;
        case 1: { // what quoting and record ends are about, CR LF as a pair
            const std::uint32_t k = in.Below(static_cast<std::uint32_t>(kStructural.size() + 1));
            piece = k < kStructural.size() ? std::u16string(1, kStructural[k]) : u"\r\n";
            break;
        }
        case 2:
            piece.push_back(static_cast<char16_t>(in.Below(0x80)));
            break;
        case 3:
            piece.push_back(static_cast<char16_t>(in.Between(0xFF61, 0xFF9F)));
            break;
        case 8: {
            const std::uint32_t k = in.Below(static_cast<std::uint32_t>(cp.lacking.size()));
            piece = cp.lacking[k];
            break;
        }
        default: {
            const std::vector<char16_t>& group = cp.groups[in.Below(kGroupCount)];
            piece.push_back(group[in.Below(static_cast<std::uint32_t>(group.size()))]);
            break;
        }
        }
        const std::uint32_t repeat = in.Below(4) == 3 ? 1 + in.Below(600) : 1;
        for (std::uint32_t i = 0; i < repeat && text.size() < length; ++i) {
            text.append(piece);
        }
    }
    return text;
}

inline bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

inline int DaysIn(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// A valid date of the years the program takes (1-4000), with or without a
// time; the month's last day and leap days come up often.
inline DateTime GenerateDate(Choices& in, bool withTime) {
    DateTime d;
    switch (in.Below(4)) {
    case 0:
        d.year = in.Between(1990, 2040);
        break;
    case 1: {
        static constexpr std::array<int, 8> kEdges{1, 4000, 1900, 2000, 2100, 2400, 3999, 1600};
        d.year = kEdges[in.Below(static_cast<std::uint32_t>(kEdges.size()))];
        break;
    }
    default:
        d.year = in.Between(1, 4000);
        break;
    }
    d.month = in.Between(1, 12);
    d.day = in.Below(4) == 3 ? DaysIn(d.year, d.month) : in.Between(1, DaysIn(d.year, d.month));
    if (withTime) {
        d.hour = in.Between(0, 23);
        d.minute = in.Between(0, 59);
    }
    return d;
}

inline bool StoresNothing(const Item& item) {
    return !item.startDate.HasDate() && !item.endDate.HasDate() && item.title.empty() &&
           item.tags.empty() && item.pinned == 0 && item.checkState == 0;
}

// An own entry as the program holds it: dates valid, an end only after its
// start and with a time exactly when the start has one.
inline Item GenerateEntry(Choices& in, const CodePage& cp) {
    Item item = NewOwnEntry();
    item.startDate = item.endDate = item.checkDate = kNoDate;
    if (in.Below(16) == 15) {
        return item; // nothing stored
    }
    const std::uint32_t start = in.Below(4); // 0 none, 1 a day, 2-3 a day and time
    if (start != 0) {
        item.startDate = GenerateDate(in, start >= 2);
    }
    const std::uint32_t end = in.Below(4);
    if (end != 0) {
        const bool timed = start != 0 ? start >= 2 : end >= 2;
        DateTime e = GenerateDate(in, timed);
        DateTime& s = item.startDate;
        const auto key = [](const DateTime& d) {
            return std::tuple(d.year, d.month, d.day, d.hour, d.minute);
        };
        if (start != 0 && key(e) < key(s)) {
            std::swap(s, e);
        }
        // A period ends after it starts: on a later day, or later on the
        // same day when both have times.
        const bool sameDay = e.year == s.year && e.month == s.month && e.day == s.day;
        if (start == 0 || !sameDay || (timed && key(e) > key(s))) {
            item.endDate = e;
        }
    }
    item.title = GenerateText(in, cp);
    item.tags = GenerateText(in, cp);
    item.pinned = static_cast<int>(in.Below(2));
    item.checkState = static_cast<int>(in.Below(3));
    const std::uint32_t check = in.Below(8); // 0 none, 1-3 a day, 4-7 a day and time
    if (check != 0) {
        // Unchecked entries get one too: the writer must leave it out.
        item.checkDate = GenerateDate(in, check >= 4);
    }
    // The generator makes only what the program holds: nothing to repair.
    Item normalized = item;
    NormalizeDates(normalized);
    Check(normalized.startDate == item.startDate && normalized.endDate == item.endDate &&
          normalized.checkDate == item.checkDate);
    return item;
}

// `read` is what a record written for `written` reads back as.
inline void CheckSameEntry(const Item& written, const Item& read, const CodePage& cp) {
    Check(read.startDate == written.startDate);
    Check(read.endDate == written.endDate);
    Check(read.pinned == written.pinned);
    Check(read.checkState == written.checkState);
    Check(read.checkDate == (written.checkState != 0 ? written.checkDate : kNoDate));
    Check(read.title == StoredText(written.title, cp));
    Check(read.tags == StoredText(written.tags, cp));
}

inline std::string WriteAll(std::span<const Item> items, const ShiftJisCodec& codec) {
    std::string out;
    for (const Item& item : items) {
        AppendVrlRecord(out, item, codec);
    }
    return out;
}

// Writes `items` as a save does and returns the bytes W. Checks that W
// reads back as the same entries, those with nothing stored left out (they
// are blank records), and that those entries write back as exactly W
// without the blank records: from there on every save is a fixed point.
inline std::string CheckOneSave(std::span<const Item> items) {
    const CodePage& cp = Cp932();
    Loader back;
    const std::string written = WriteAll(items, back.codec);
    std::vector<Item> kept;
    for (const Item& item : items) {
        if (!StoresNothing(item)) {
            kept.push_back(item);
        } else {
            Check(WriteAll({&item, 1}, back.codec) == ",,,,,\r\n");
        }
    }
    const std::string keptBytes = WriteAll(kept, back.codec);
    const int count = ReadVrlRecords(written, back.load);
    CheckLoaded(back, count, kVrlTextBytes, kVrlTextBytes);
    Check(back.own.size() == kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        CheckSameEntry(kept[i], back.own[i], cp);
    }
    Check(WriteAll(back.own, back.codec) == keptBytes);
    Check(WritesBackAs(back.own, keptBytes, back.codec));
    Check(WritesBackAs(back.own, written, back.codec) == (kept.size() == items.size()));
    return written;
}

} // namespace vantrel::fuzzing
