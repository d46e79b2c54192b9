#include "counter/counter_settings.h"
#include "native/iconv_codec.h"
#include "settings/settings.h"
#include "storage/morvik_import.h"
#include "support/moments.h"
#include "text/builtin_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

struct MorvikFixture : ::testing::Test {
    IconvCodec codec;
    BuiltinTextTable texts;
    ItemList own;
    TagIndex tags;
    RecordLoad load{
        own, tags, codec, testing::At(2013, 11, 2, 9, 0), CounterSettingsFrom(Settings{}), texts};

    int Import(std::string_view bytes) { return ImportMorvikRecords(bytes, load); }
};

TEST_F(MorvikFixture, HeaderDecidesWhereRecordsStart) {
    const struct {
        std::string file;
        int records;
    } rows[] = {
        {"2013/11/02,,a\n2013/11/03,,b\n", 2},               // no header: all records
        {"[Morvik]\nversion=3\n[Style]\ncolor = 1\n", 0},    // no Data section
        {"[Morvik]\nversion=3\n[data]\n2013/11/02,,a\n", 0}, // letter case matters
        {"[Morvik]\r\n[Data]\r\n2013/11/02,,a\r\n,,b\r\n", 2},
        {"[Data] \n,,a\n", 2}, // not a section line (blank): the whole file is records
        {"key=[Data]\n[Data]\n,,a\n", 1},
        {"[" + std::string(30, 'x') + "]\n[Data]\n,,a\n", 1},
        {"[Morvik]\nxData]\n,,a\n", 0}, // a section line needs both brackets
        {"[Morvik]\n[Data\n,,a\n", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        own.clear();
        EXPECT_EQ(Import(row.file), row.records);
    }
    own.clear();
    ASSERT_EQ(Import("[Data] \n,,a\n"), 2);
    EXPECT_FALSE(own[0].startDate.HasDate());
    EXPECT_EQ(own[1].title, u"a");
}

TEST_F(MorvikFixture, FourteenColumnsBecomeAnOwnEntry) {
    // start, end, text, supplement, -, tags, -, check, check date, -...
    const std::string record =
        "2013/11/01,2013/11/04,\x89\xEF\x8B\x63,\x93\x8C\x8B\x9E,ignored,work\thome,x,2,"
        "2013/11/02 08:00,a,b,c,d,e,f\n";
    ASSERT_EQ(Import("[Data]\n" + record + ",,plain,,,,,,1,2013/11/02\n,,pin,,,,,,3,2013/11/02\n"),
              3);
    EXPECT_EQ(own[0].title, u"\u4F1A\u8B70(\u6771\u4EAC)");
    EXPECT_EQ(own[0].startDate, (DateTime{2013, 11, 1, -1, -1}));
    EXPECT_EQ(own[0].endDate, (DateTime{2013, 11, 4, -1, -1}));
    EXPECT_EQ(own[0].tags, u"work\thome");
    EXPECT_EQ(own[0].checkState, 2);
    EXPECT_EQ(own[0].checkDate, (DateTime{2013, 11, 2, 8, 0}));
    EXPECT_EQ(own[0].pinned, 0);
    EXPECT_EQ(own[1].title, u"plain");
    EXPECT_EQ(own[1].checkState, 0); // column 7 empty: column 8 is dropped
    EXPECT_FALSE(own[1].checkDate.HasDate());
    EXPECT_EQ(own[2].checkState, 0);
    EXPECT_EQ(CountOfTag(tags, u"home"), 1u);
    EXPECT_EQ(own[2].index, 2);
}

// The check date keeps 31 bytes; a quote at the start of a record's first
// field opens quotes there as anywhere else.
TEST_F(MorvikFixture, CheckDateIsCutAt31BytesAndRecordsStartAfresh) {
    const std::string checkDate = std::string(18, ' ') + "2013/11/2 9:05"; // 32 bytes
    ASSERT_EQ(Import(",,t,,,,,1," + checkDate + "\n\"2013/11/03\",,q\n"), 2);
    EXPECT_EQ(own[0].checkDate, (DateTime{2013, 11, 2, 9, 0}));
    EXPECT_EQ(own[1].startDate, (DateTime{2013, 11, 3, -1, -1}));
}

TEST_F(MorvikFixture, SupplementaryTextIsCutAt127Bytes) {
    ASSERT_EQ(Import(",,t," + std::string(200, 's') + "\n"), 1);
    EXPECT_EQ(own[0].title, u"t(" + std::u16string(127, u's') + u")");
}

// Text and supplement are each cut at a character boundary.
TEST_F(MorvikFixture, LongTextsAreCutAtACharacterBoundary) {
    std::string a;
    for (int i = 0; i < 300; ++i) {
        a.append("\x82\xA0"); // U+3042
    }
    ASSERT_EQ(Import(",," + a + "," + a.substr(0, 200) + ",,\x83\x81" + a + "\n"), 1);
    EXPECT_EQ(own[0].title,
              std::u16string(255, u'\u3042') + u"(" + std::u16string(63, u'\u3042') + u")");
    EXPECT_EQ(own[0].tags, u"\u30E1" + std::u16string(254, u'\u3042'));
}

// Cuts of the columns the import uses are noted; the unused ones lose
// nothing that was kept.
TEST_F(MorvikFixture, CutsOfUsedColumnsAreNoted) {
    std::vector<std::string> cuts;
    load.cuts = &cuts;
    std::string record = ",,t," + std::string(200, 's') + "," + std::string(100, 'u') + ",tag";
    for (int column = 6; column <= 16; ++column) {
        record += ",";
    }
    ASSERT_EQ(Import("[Data]\n,,plain\n" + record + "\n"), 2);
    EXPECT_EQ(cuts, (std::vector<std::string>{
                        "record 2: supplement cut from 200 to 127 bytes",
                        "record 2: 3 fields beyond the known ones dropped",
                    }));
}

} // namespace
} // namespace vantrel
