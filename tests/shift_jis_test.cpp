#include "native/iconv_codec.h"
#include "storage/shift_jis_bytes.h"
#include "support/codec_cases.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(ShiftJis, CodecConvertsTheWindowsCodePage) {
    IconvCodec codec;
    ASSERT_TRUE(codec.Available());
    const struct {
        std::u16string text;
        std::string bytes;
    } rows[] = {
        {u"abc\\~", "abc\\~"},
        {u"\u3042\uFF21\u2460", "\x82\xA0\x82\x60\x87\x40"}, // あ, full-width A, circled 1
        {u"\u8868\u30BD", "\x95\x5C\x83\x5C"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(codec.Encode(row.text, 1024), row.bytes);
        EXPECT_EQ(codec.Decode(row.bytes, 512), row.text);
    }
}

TEST(ShiftJis, CodecReplacesWhatCannotBeConvertedAndKeepsLimits) {
    IconvCodec codec;
    EXPECT_EQ(codec.Encode(u"a\U0001F600b\xD800", 1024), "a?b?"); // emoji, lone surrogate
    EXPECT_EQ(codec.Encode(u"\u3042\u3044", 3), "\x82\xA0");      // never half a character
    EXPECT_EQ(codec.Decode("\x82\xA0\x82", 512), u"\u3042?");     // cut lead byte
    EXPECT_EQ(codec.Decode("\x82\xA0\x82\xA2", 1), u"\u3042");
    EXPECT_EQ(codec.Decode(std::string(600, 'a'), 512).size(), 512u);
}

// The Win32 build reads the same table (tests/win32): both builds agree on
// every byte a data file may hold.
TEST(ShiftJis, UnconvertibleBytesReadAsQuestionMarks) {
    IconvCodec codec;
    for (const auto& row : testing::kDecodeCases) {
        EXPECT_EQ(codec.Decode(row.bytes, 512), row.text) << row.bytes;
    }
}

TEST(ShiftJis, ByteClassesAtTheirBounds) {
    const struct {
        unsigned char b;
        bool lead, trail, refusedAlone;
    } rows[] = {
        {0x3F, false, false, false}, {0x40, false, true, false}, {0x7E, false, true, false},
        {0x7F, false, false, false}, {0x80, false, true, true},  {0x81, true, true, true},
        {0x9F, true, true, true},    {0xA0, false, true, true},  {0xA1, false, true, false},
        {0xDF, false, true, false},  {0xE0, true, true, true},   {0xFC, true, true, true},
        {0xFD, false, false, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IsShiftJisLeadByte(r.b), r.lead) << int(r.b);
        EXPECT_EQ(IsShiftJisTrailByte(r.b), r.trail) << int(r.b);
        const std::string one(1, static_cast<char>(r.b));
        EXPECT_EQ(IsRefusedShiftJis(one, 0, 1), r.refusedAlone) << int(r.b);
        EXPECT_FALSE(IsRefusedShiftJis(one + "\x40", 0, 2)) << int(r.b);
    }
}

TEST(ShiftJis, CutKeepsDoubleByteCharactersWhole) {
    const std::string text = "a\x82\xA0\x82\xA2";
    EXPECT_EQ(CutShiftJis(text, 5), text);
    EXPECT_EQ(CutShiftJis(text, 4), "a\x82\xA0");
    EXPECT_EQ(CutShiftJis(text, 2), "a");
    EXPECT_EQ(CutShiftJis("\x82\x0A", 1), "\x82"); // no trail byte: a single byte
}

TEST(Utf8, RoundTripAndRepairs) {
    const std::u16string text = u"a\u00E9\u3042\U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(FromUtf8("\xC0\x80z"), u"\uFFFD\uFFFDz"); // overlong
    EXPECT_EQ(FromUtf8("\xE3\x81"), u"\uFFFD\uFFFD");   // cut sequence
}

// Only well-formed UTF-8 counts: a Shift_JIS lead byte 0x81-0x9F cannot
// start a sequence, so real Japanese Shift_JIS text almost never passes.
TEST(Utf8, LooksLikeUtf8OnlyForWellFormedMultiByteTextWithoutMark) {
    const struct {
        std::string bytes;
        bool utf8;
    } rows[] = {
        {"", false},
        {"plain, ASCII\t1\r\n", false},     // no multi-byte sequence
        {"\x89\xEF\x8B\x63", false},        // Shift_JIS
        {"\xE4\xBC\x9A\xE8\xAD\xB0", true}, // UTF-8, and by chance also Shift_JIS
        {"caf\xC3\xA9", true},
        {"\xF0\x9F\x8D\xBA", true},
        {"\xEF\xBB\xBF", false},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         false},                   // the mark is seen by other means
        {"caf\xEF\xBB\xBF", true}, // not at the start: a character
        {"\xC0\x80", false},       // overlong
        {"\xC1\xBF", false},
        {"\xC2\x80", true},
        {"\xE0\x9F\xBF", false},
        {"\xE0\xA0\x80", true},
        {"\xED\x9F\xBF", true},
        {"\xED\xA0\x80", false}, // a surrogate
        {"\xF0\x8F\xBF\xBF", false},
        {"\xF4\x8F\xBF\xBF", true},
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"a\xE3\x81", false},     // cut at the end
        {"\xE3\x81z\x82", false}, // cut in the middle
        {"\xC3\xA9\x80", false},  // a stray continuation byte
        {"\xC3\xA9\xFF", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LooksLikeUtf8(row.bytes), row.utf8) << ::testing::PrintToString(row.bytes);
    }
}

} // namespace
} // namespace vantrel
