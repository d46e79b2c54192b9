// Applying the item's own changes to another program's version of the
// data file.

#include "storage/record_merge.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(RecordMerge, AppliesTheOneChangeOrRefuses) {
    const struct {
        const char* why;
        const char* base;
        const char* ours;
        const char* theirs;
        const char* merged; // nullptr: ambiguous
    } rows[] = {
        {"add beside their add", "a\r\n", "a\r\nn\r\n", "a\r\nt\r\n", "a\r\nt\r\nn\r\n"},
        {"delete, theirs appended", "a\r\nb\r\n", "b\r\n", "a\r\nb\r\nt\r\n", "b\r\nt\r\n"},
        {"edit in their order", "a\r\nb\r\n", "a2\r\nb\r\n", "b\r\na\r\n", "b\r\na2\r\n"},
        {"their reorder alone", "a\r\nb\r\n", "a\r\nb\r\n", "b\r\na\r\n", "b\r\na\r\n"},
        {"edited record gone", "a\r\nb\r\n", "a2\r\nb\r\n", "b\r\n", nullptr},
        {"edited record now twice", "a\r\nb\r\n", "a2\r\nb\r\n", "a\r\na\r\nb\r\n", nullptr},
        {"one of two equal deleted", "a\r\na\r\n", "a\r\n", "a\r\na\r\nt\r\n", "a\r\nt\r\n"},
        {"the same add twice", "", "n\r\nn\r\n", "t\r\n", "t\r\nn\r\nn\r\n"},
        {"an equal record added", "a\r\n", "a\r\na\r\n", "a\r\n", "a\r\na\r\n"},
        {"nothing of ours", "a\r\n", "a\r\n", "t\r\n", "t\r\n"},
    };
    for (const auto& row : rows) {
        const std::optional<std::string> merged =
            MergeRecordChanges(row.base, row.ours, row.theirs);
        if (row.merged == nullptr) {
            EXPECT_FALSE(merged.has_value()) << row.why;
        } else {
            ASSERT_TRUE(merged.has_value()) << row.why;
            EXPECT_EQ(*merged, row.merged) << row.why;
        }
    }
}

} // namespace
} // namespace vantrel
