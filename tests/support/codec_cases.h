#pragma once

#include <string>

namespace vantrel::testing {

// Bytes of a data file and the text both builds must read from them: what
// code page 932 does not define becomes one '?' per character.
struct DecodeCase {
    std::string bytes;
    std::u16string text;
};

inline const DecodeCase kDecodeCases[] = {
    {"a\x82\xA0\xB1", u"a\u3042\uFF71"},                 // ASCII, あ, half-width ｱ
    {"\x87\x40\xED\x40\xFA\x40", u"\u2460\u7E8A\u2170"}, // NEC and IBM extensions
    {"\xF0\x40", u"\uE000"},                             // user-defined area
    {"\x80", u"?"},                                      // single bytes not in the table
    {"\xA0", u"?"},
    {"x\xFD\xFE\xFFy", u"x???y"},
    {"\x8B,", u"?,"},                                     // a lead byte without trail
    {"\x82\xA0\x82", u"\u3042?"},                         // cut at the end
    {"\x85\x40\x82\xF2\xEB\xA0", u"???"},                 // unassigned pairs
    {"\xE6\x97\xA5\xE4\xBB\x98", u"\u8B4C\uFF65\u8389?"}, // UTF-8 bytes of 日付
};

} // namespace vantrel::testing
