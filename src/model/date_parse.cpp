#include "model/date_parse.h"

#include <array>
#include <climits>
#include <cstdint>

namespace vantrel {
namespace {

bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One "%d" conversion: skips leading whitespace, optional sign, at least one
// digit. Values beyond 32 bits saturate at INT_MIN / INT_MAX, which every
// range check downstream rejects.
bool ScanNumber(std::string_view text, std::size_t& pos, int& out) {
    while (pos < text.size() && IsScanSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    std::size_t p = pos;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (p >= text.size() || !IsDigit(text[p])) {
        return false;
    }
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    while (p < text.size() && IsDigit(text[p])) {
        if (value < limit) {
            value = value * 10 + (text[p] - '0');
            if (value > limit) {
                value = limit;
            }
        }
        ++p;
    }
    pos = p;
    out = static_cast<int>(negative ? -value : value);
    return true;
}

// Scans with a pattern of 'n' (a number) and literal characters, where ' '
// matches any run of whitespace, including none. Writes each number into its
// slot as it goes (like a formatted scan) and returns how many were filled.
int ScanPattern(std::string_view text, std::string_view pattern, std::array<int*, 5> slots) {
    std::size_t pos = 0;
    int filled = 0;
    for (char directive : pattern) {
        if (directive == 'n') {
            int value = 0;
            if (!ScanNumber(text, pos, value)) {
                return filled;
            }
            *slots[filled++] = value;
        } else if (directive == ' ') {
            while (pos < text.size() && IsScanSpace(text[pos])) {
                ++pos;
            }
        } else {
            if (pos >= text.size() || text[pos] != directive) {
                return filled;
            }
            ++pos;
        }
    }
    return filled;
}

struct Pattern {
    std::string_view directives;
    int numbers;
};

constexpr std::array<Pattern, 6> kPatterns{{
    {"n/n/n n:n", 5},
    {"n-n-n n:n", 5},
    {"n.n.n n:n", 5},
    {"n/n/n", 3},
    {"n-n-n", 3},
    {"n.n.n", 3},
}};

} // namespace

ParsedDateTime ParseDateTime(std::string_view text) {
    ParsedDateTime result;
    DateTime& v = result.value;
    v = kNoDate;
    const std::array<int*, 5> slots{&v.year, &v.month, &v.day, &v.hour, &v.minute};
    for (const Pattern& pattern : kPatterns) {
        if (ScanPattern(text, pattern.directives, slots) != pattern.numbers) {
            continue;
        }
        if (IsBadDate(v.year, v.month, v.day)) {
            v = kNoDate;
            return result;
        }
        if (IsBadTime(v.hour, v.minute)) {
            v.hour = -1;
            v.minute = -1;
        }
        result.ok = true;
        return result;
    }
    return result; // partial values stay; NormalizeDates turns them into no date
}

} // namespace vantrel
