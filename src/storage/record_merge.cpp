#include "storage/record_merge.h"

#include <map>
#include <vector>

namespace vantrel {
namespace {

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

using Counts = std::map<std::string_view, long>;

Counts CountsOf(const std::vector<std::string_view>& lines) {
    Counts counts;
    for (const std::string_view line : lines) {
        ++counts[line];
    }
    return counts;
}

long CountIn(const Counts& counts, std::string_view line) {
    const auto it = counts.find(line);
    return it == counts.end() ? 0 : it->second;
}

} // namespace

std::optional<std::string> MergeRecordChanges(std::string_view base, std::string_view ours,
                                              std::string_view theirs) {
    const std::vector<std::string_view> baseLines = LinesOf(base);
    const std::vector<std::string_view> ourLines = LinesOf(ours);
    const std::vector<std::string_view> theirLines = LinesOf(theirs);
    const Counts baseCounts = CountsOf(baseLines);
    const Counts ourCounts = CountsOf(ourLines);
    const Counts theirCounts = CountsOf(theirLines);

    // What ours took away must still be in theirs exactly as it was.
    Counts removed;
    for (const auto& [line, count] : baseCounts) {
        const long gone = count - CountIn(ourCounts, line);
        if (gone <= 0) {
            continue;
        }
        if (CountIn(theirCounts, line) != count) {
            return std::nullopt;
        }
        removed[line] = gone;
    }
    std::string merged;
    merged.reserve(theirs.size() + ours.size() / 8);
    for (const std::string_view line : theirLines) {
        const auto it = removed.find(line);
        if (it != removed.end() && it->second > 0) {
            --it->second;
            continue;
        }
        merged.append(line);
    }
    // What ours added, in ours' order.
    Counts added;
    for (const std::string_view line : ourLines) {
        if (++added[line] > CountIn(baseCounts, line)) {
            merged.append(line);
        }
    }
    return merged;
}

} // namespace vantrel
