#include "model/date_parse.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

struct ParseCase {
    const char* text;
    bool ok;
    DateTime value;
};

TEST(ParseDateTime, Examples) {
    const ParseCase cases[] = {
        {"2013/11/2 9:05", true, {2013, 11, 2, 9, 5}},
        {"2013-11-02", true, {2013, 11, 2, -1, -1}},
        {"2013.2.30", false, {0, 0, 0, -1, -1}},
        {"2013/11/2 25:00", true, {2013, 11, 2, -1, -1}},
        {"2013-11-02 23:59", true, {2013, 11, 2, 23, 59}},
        {"2013.11.02 00:00", true, {2013, 11, 2, 0, 0}},
        // Whitespace in a pattern matches any run, numbers skip leading blanks.
        {"  2013/ 11/ 2\t\t9:05", true, {2013, 11, 2, 9, 5}},
        // A time that stops after the hour: the three-number form wins, no time.
        {"2013/11/2 9", true, {2013, 11, 2, -1, -1}},
        {"2013/11/2 9:", true, {2013, 11, 2, -1, -1}},
        {"2013/11/2 10:60", true, {2013, 11, 2, -1, -1}},
        // Trailing text after a full match is ignored, as a formatted scan does.
        {"2013/11/2xyz", true, {2013, 11, 2, -1, -1}},
        {"2013/13/1", false, {0, 0, 0, -1, -1}},
        {"0/1/1", false, {0, 0, 0, -1, -1}},
        {"4001/1/1 10:00", false, {0, 0, 0, -1, -1}},
    };
    for (const ParseCase& c : cases) {
        const ParsedDateTime r = ParseDateTime(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text;
    }
}

TEST(ParseDateTime, IncompleteTextLeavesPartialValues) {
    // No pattern fills: the values of the last partial scans remain, and the
    // date repair later turns them into no date.
    ParsedDateTime r = ParseDateTime("2013/11");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value.year, 2013);
    EXPECT_EQ(r.value.month, 11);
    EXPECT_EQ(r.value.day, 0);
    EXPECT_EQ(r.value.hour, -1);

    r = ParseDateTime("");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value, kNoDate);

    r = ParseDateTime("abc");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value, kNoDate);
}

TEST(ParseDateTime, MixedSeparatorsDoNotMatch) {
    const ParsedDateTime r = ParseDateTime("2013/11-02");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value.day, 0);
}

TEST(ParseDateTime, HugeNumbersSaturateAndAreRejected) {
    const char* texts[] = {
        "99999999999999999999999999/1/1",
        "2013/4294967307/1",       // 2^32 + 11 must not wrap to month 11
        "2013/11/4294967298 9:05", // 2^32 + 2 must not wrap to day 2
        "-99999999999999999999/1/1",
    };
    for (const char* text : texts) {
        const ParsedDateTime r = ParseDateTime(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.value, kNoDate) << text;
    }
    // An overlong hour only clears the time.
    const ParsedDateTime r = ParseDateTime("2013/11/2 4294967305:05");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value, (DateTime{2013, 11, 2, -1, -1}));
}

TEST(ParseDateTime, LongDigitRunsAndLeadingZeros) {
    const std::string zeros(5000, '0');
    const ParsedDateTime r = ParseDateTime(zeros + "2013/" + zeros + "11/" + zeros + "2");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value, (DateTime{2013, 11, 2, -1, -1}));
}

TEST(ParseDateTime, SuccessAlwaysMeansAValidDate) {
    // Any byte inside the year: a success must never carry an invalid date.
    for (int b = 0; b < 256; ++b) {
        std::string text = "2013/1/1";
        text.insert(text.begin() + 4, static_cast<char>(b));
        const ParsedDateTime r = ParseDateTime(std::string_view(text));
        if (r.ok) {
            EXPECT_FALSE(IsBadDate(r.value.year, r.value.month, r.value.day));
        }
    }
}

} // namespace
} // namespace vantrel
