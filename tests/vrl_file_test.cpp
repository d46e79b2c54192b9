#include "counter/counter_settings.h"
#include "model/normalize_dates.h"
#include "native/iconv_codec.h"
#include "settings/settings.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "support/moments.h"
#include "text/builtin_texts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using testing::At;

struct VrlFixture : ::testing::Test {
    IconvCodec codec;
    BuiltinTextTable texts;
    ItemList own;
    TagIndex tags;
    RecordLoad load{own,  tags, codec, At(2013, 11, 2, 9, 0), CounterSettingsFrom(Settings{}),
                    texts};

    int Read(std::string_view bytes) { return ReadVrlRecords(bytes, load); }
    std::string Write(const Item& item) {
        std::string out;
        AppendVrlRecord(out, item, codec);
        return out;
    }
};

Item Entry(std::u16string title, DateTime start = kNoDate, DateTime end = kNoDate) {
    Item item = NewOwnEntry();
    item.title = std::move(title);
    item.startDate = start;
    item.endDate = end;
    item.checkDate = kNoDate;
    return item;
}

Item Checked(Item item, int state, DateTime when) {
    item.checkState = state;
    item.checkDate = when;
    return item;
}

Item Tagged(Item item, std::u16string tags, int pinned) {
    item.tags = std::move(tags);
    item.pinned = pinned;
    return item;
}

void ExpectSameStoredFields(const Item& read, const Item& written) {
    EXPECT_EQ(read.title, written.title);
    EXPECT_EQ(read.tags, written.tags);
    EXPECT_EQ(read.pinned, written.pinned);
    EXPECT_EQ(read.checkState, written.checkState);
    EXPECT_EQ(read.startDate, written.startDate);
    EXPECT_EQ(read.endDate, written.endDate);
    if (written.checkState != 0) {
        EXPECT_EQ(read.checkDate, written.checkDate);
    }
}

TEST_F(VrlFixture, RecordsAreWrittenByteForByteAndReadBack) {
    const struct {
        Item item;
        std::string bytes;
    } rows[] = {
        {Entry(u"a,b"), ",,\"a,b\",,,\r\n"},
        {Entry(u"say \"hi\""), ",,\"say \"\"hi\"\"\",,,\r\n"},
        {Checked(Entry(u"t", {2013, 11, 2}), 1, {2013, 11, 1}),
         "2013/11/02,,t,,,1,2013/11/01 -1:-1\r\n"},
        {Checked(Entry(u"t"), 2, {2013, 11, 1, 7, 8}), ",,t,,,2,2013/11/01 07:08\r\n"},
        {Tagged(Entry(u"trip", {2013, 11, 2, 9, 5}, {2013, 11, 3, 18, 30}), u"a\tb", 1),
         "2013/11/02 09:05,2013/11/03 18:30,trip,a\tb,1,\r\n"},
        {Entry(u"\u4F1A\u8B70", {1987, 1, 9}), "1987/01/09,,\x89\xEF\x8B\x63,,,\r\n"},
        {Entry(u"\u8868\\"), ",,\x95\\\\,,,\r\n"}, // 表's trail byte is a backslash
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(Write(row.item), row.bytes);
        own.clear();
        ASSERT_EQ(Read(row.bytes), 1);
        ExpectSameStoredFields(own[0], row.item);
    }
}

// A line break would end the record when read back, so it is written as one
// blank, whatever the text's way of breaking lines.
TEST_F(VrlFixture, LineBreaksAreWrittenAsBlanks) {
    const struct {
        std::u16string title;
        std::string bytes;
    } rows[] = {
        {u"cr\rhere", ",,cr here,,,\r\n"},
        {u"crlf\r\nhere", ",,crlf here,,,\r\n"},
        {u"lf\n\nhere, too", ",,\"lf  here, too\",,,\r\n"},
        {u"\r\n\r", ",,  ,,,\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        Item item = Tagged(Entry(row.title), u"x\r\ny", 0);
        std::string expected = row.bytes;
        expected.replace(expected.size() - 5, 1, ",x y");
        EXPECT_EQ(Write(item), expected);
        own.clear();
        ASSERT_EQ(Read(expected), 1);
        EXPECT_EQ(own[0].tags, u"x y");
    }
}

// The writer keeps no more than the reader keeps (511 bytes) and never half
// a character, so a long text survives any number of saves and loads.
TEST_F(VrlFixture, LongTextsAreCutToWhatTheReaderKeeps) {
    const std::u16string wide(300, u'\u3042'); // 600 bytes in Shift_JIS
    const struct {
        std::u16string text;
        std::size_t written; // bytes of the text in the record
        std::u16string kept;
    } rows[] = {
        {wide, 510, wide.substr(0, 255)},
        {u"a" + wide, 511, u"a" + wide.substr(0, 255)},
        {std::u16string(600, u'q'), 511, std::u16string(511, u'q')},
        {std::u16string(255, u'\u3042'), 510, std::u16string(255, u'\u3042')},
        {std::u16string(256, u'\u3042'), 510, std::u16string(255, u'\u3042')},
        {u"\"" + wide, 2 + 1 + 511, u"\"" + wide.substr(0, 255)}, // quoted, doubled
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.written);
        Item item = Tagged(Entry(row.text), row.text, 0);
        std::string bytes = Write(item);
        EXPECT_EQ(bytes.size(), 2 + 2 * row.written + 5u);
        for (int round = 0; round < 2; ++round) {
            own.clear();
            ASSERT_EQ(Read(bytes), 1);
            EXPECT_EQ(own[0].title, row.kept);
            EXPECT_EQ(own[0].tags, row.kept);
            bytes = Write(own[0]);
        }
    }
}

TEST_F(VrlFixture, ReaderSplitsRecordsAtEveryLineFeed) {
    EXPECT_EQ(Read("\n\r\n\n"), 0);
    EXPECT_EQ(Read(",,,,,\r\n"), 0); // nothing stored: a blank record
    // A line break inside quotes still ends the record.
    ASSERT_EQ(Read(",,\"first\nsecond\",,,\r\n"), 2);
    EXPECT_EQ(own[0].title, u"first");
    EXPECT_EQ(own[1].startDate, kNoDate);
    EXPECT_EQ(own[1].title, u"");
    EXPECT_EQ(own[1].index, 1);
    own.clear();
    // The last line may lack its LF; LF alone ends records as CR LF does.
    ASSERT_EQ(Read("2013/11/02,,a,,1\n2013/11/03,,b,,,1,2013/11/01 10:00"), 2);
    EXPECT_EQ(own[0].pinned, 1);
    EXPECT_EQ(own[1].checkState, 1);
    EXPECT_EQ(own[1].checkDate, (DateTime{2013, 11, 1, 10, 0}));
    own.clear();
    // A lone CR ends a record too, so a CR-only file reads whole.
    ASSERT_EQ(Read("2013/11/02,,a,,1,\r,,b,,,\r\r,,d,,,1,2013/11/01 10:00\r"), 3);
    EXPECT_EQ(own[0].pinned, 1);
    EXPECT_EQ(own[1].title, u"b");
    EXPECT_EQ(own[2].checkDate, (DateTime{2013, 11, 1, 10, 0}));
    own.clear();
    ASSERT_EQ(Read(",,\"b\rc\",,,\r\n"), 2); // even inside quotes
    EXPECT_EQ(own[0].title, u"b");
}

TEST_F(VrlFixture, ReaderQuotingAndFieldRules) {
    const struct {
        std::string line;
        std::u16string title;
        int pinned;
        int checkState;
        bool hasCheckDate;
    } rows[] = {
        {",,ab\"c,d\"e,,,", u"ab\"c,de", 0, 0, false}, // a quote inside a field opens quoting
        {",,\"\"\"\",,,", u"\"", 0, 0, false},
        {",,x,,2,", u"x", 0, 0, false},                  // only "1" pins
        {",,x,,,3,2013/11/01 10:00", u"x", 0, 0, false}, // neither 1 nor 2: no check date
        {",,x,,,2,2013/11/01 -1:-1", u"x", 0, 2, true},
        {",,x,,,1,2013/11/01 10:00,more,fields", u"x", 0, 1, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        own.clear();
        ASSERT_EQ(Read(row.line + "\r\n"), 1);
        EXPECT_EQ(own[0].title, row.title);
        EXPECT_EQ(own[0].pinned, row.pinned);
        EXPECT_EQ(own[0].checkState, row.checkState);
        EXPECT_EQ(own[0].checkDate.HasDate(), row.hasCheckDate);
    }
}

TEST_F(VrlFixture, ColumnCapacitiesDropTheRestOfAField) {
    const std::string longTitle(600, 'x');
    ASSERT_EQ(Read("2013/11/02" + std::string(40, ' ') + "9,," + longTitle + ",t,1111111,\n"), 1);
    EXPECT_EQ(own[0].title.size(), 511u);
    EXPECT_EQ(own[0].tags, u"t");
    EXPECT_EQ(own[0].pinned, 0); // "1111" is not "1"
}

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out.append(piece);
    }
    return out;
}

// A title or tag field longer than the reader keeps is cut where the writer
// would cut it: never inside a double-byte character, however the field's
// bytes are split by quotes.
TEST_F(VrlFixture, LongFieldsAreCutAtACharacterBoundary) {
    const std::string a = "\x82\xA0";  // U+3042, a hiragana
    const std::string me = "\x83\x81"; // U+30E1, a katakana whose trail byte is a lead value
    const std::string x509(509, 'x');
    const std::u16string wx509(509, u'x');
    const struct {
        std::string field; // as in the file
        std::u16string kept;
    } rows[] = {
        {Repeat(a, 320), std::u16string(255, u'\u3042')}, // 640 bytes
        {"a" + Repeat(a, 300), u"a" + std::u16string(255, u'\u3042')},
        {x509 + Repeat(me, 10), wx509 + u"\u30E1"}, // byte 511 is a trail byte
        {x509 + "x" + Repeat(me, 10), wx509 + u"x"},
        {"\"\"\"" + Repeat(me, 300) + "\"", u"\"" + std::u16string(255, u'\u30E1')},
        {Repeat("\xB1", 600), std::u16string(511, u'\uFF71')}, // half-width: single bytes
        // A character split by a closing quote is still one character.
        {"\"" + x509 + "x\"" + Repeat(me, 5), wx509 + u"x"},
        {"\"" + x509 + "x\x83\"\x81zzz", wx509 + u"x"},
        // A lead byte without its trail byte is kept, as the writer would.
        {"\"" + x509 + "x\x82\"\"\"", wx509 + u"x?"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        own.clear();
        ASSERT_EQ(Read(",," + row.field + "," + row.field + ",,,\r\n"), 1);
        EXPECT_EQ(own[0].title, row.kept);
        EXPECT_EQ(own[0].tags, row.kept);
    }
}

// Each cut field and each record with columns past the known ones is
// noted, by record number from 1 (blank lines are no records).
TEST_F(VrlFixture, CutsAreNotedByRecordAndField) {
    std::vector<std::string> cuts;
    load.cuts = &cuts;
    const std::string a = "\x82\xA0"; // U+3042
    const std::string lines[] = {
        "2013/11/02,,a,,,",
        "",
        ",," + Repeat(a, 320) + ",,,",
        ",,t," + std::string(600, 'x') + ",1,1,2013/11/01 10:00,x,y",
        "2013/11/02" + std::string(40, ' ') + ",,\"" + std::string(511, 'q') + "\",,11111,",
        ",,a,,,1,2013/11/01 10:00,",
        ",,\"" + std::string(510, 'q') + "\"\"\"", // 511 bytes stored: not cut
    };
    std::string file;
    for (const std::string& line : lines) {
        file += line + "\r\n";
    }
    ASSERT_EQ(Read(file), 6);
    EXPECT_EQ(cuts, (std::vector<std::string>{
                        "record 2: title cut from 640 to 510 bytes",
                        "record 3: tags cut from 600 to 511 bytes",
                        "record 3: 2 fields beyond the known ones dropped",
                        "record 4: start date cut from 50 to 31 bytes",
                        "record 4: pin cut from 5 to 4 bytes",
                        "record 5: 1 field beyond the known ones dropped",
                    }));
    cuts.clear();
    own.clear();
    ASSERT_EQ(Read(",," + std::string(512, 'q') + "\n"), 1); // and again from record 1
    EXPECT_EQ(cuts, (std::vector<std::string>{"record 1: title cut from 512 to 511 bytes"}));
}

TEST_F(VrlFixture, TagsAreIndexedByRecordNumberSkippingEmptyPieces) {
    ASSERT_EQ(Read(",,a,x\t\ty,,\n,,b,,,\n,,c,\t,,\n,,d,y,,\n"), 4);
    const auto y = EntriesOfTag(tags, u"y");
    EXPECT_EQ(std::vector<int>(y.begin(), y.end()), (std::vector<int>{0, 3}));
    EXPECT_EQ(CountOfTag(tags, u""), 0u);
    EXPECT_EQ(CountOfTag(tags, u"\t"), 1u); // no piece at all: the whole text
}

TEST_F(VrlFixture, ReadEvaluatesWithTheLoadTime) {
    ASSERT_EQ(Read("2013/11/05,,soon,,,\n"), 1);
    EXPECT_EQ(own[0].dayCount, -3);
    EXPECT_FALSE(own[0].countText.empty());
}

// Random own entries survive write and read with every stored field.
TEST_F(VrlFixture, RoundTripOfRandomEntries) {
    std::mt19937 rng(20131102);
    const std::u16string alphabet =
        u"abcXYZ019 ,\"\t\\~\u3042\u30A2\u4F1A\u8B70\u8868\u30BD\u80FD\uFF21\u2460";
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto text = [&] {
        std::u16string t;
        for (int n = pick(20); n > 0; --n) {
            t.push_back(alphabet[pick(static_cast<int>(alphabet.size()))]);
        }
        return t;
    };
    const auto date = [&](bool timed) {
        if (pick(5) == 0) {
            return kNoDate;
        }
        DateTime d{1990 + pick(60), 1 + pick(12), 1 + pick(28)};
        if (timed) {
            d.hour = pick(24);
            d.minute = pick(60);
        }
        return d;
    };
    ItemList written;
    std::string file;
    for (int i = 0; i < 3000; ++i) {
        Item item = Entry(text(), date(pick(2) == 0), date(pick(2) == 0));
        item.tags = text();
        item.pinned = pick(2);
        if (pick(3) == 0) {
            item = Checked(item, 1 + pick(2), date(pick(2) == 0));
            if (!item.checkDate.HasDate()) {
                item.checkDate = {2013, 1, 1};
            }
        }
        if (item.title.empty() && item.tags.empty() && !item.startDate.HasDate() &&
            !item.endDate.HasDate() && item.pinned == 0 && item.checkState == 0) {
            item.title = u"x"; // a record with nothing in it is a blank line
        }
        NormalizeDates(item); // as every evaluated entry of the own list is
        AppendVrlRecord(file, item, codec);
        written.push_back(item);
    }
    ASSERT_EQ(Read(file), 3000);
    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameStoredFields(own[i], written[i]);
    }
}

} // namespace
} // namespace vantrel
