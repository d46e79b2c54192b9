// The one replace primitive: a file is replaced only while it is what the
// caller read.

#include "storage/file_replace.h"
#include "support/storage_fakes.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::MemoryFiles;

TEST(ReplaceIfUnchanged, ReplacesOnlyWhatWasRead) {
    const struct {
        const char* why;
        const char* before; // nullptr: no file
        const char* now;    // the file at the move; nullptr: none
        ReplaceStatus status;
    } rows[] = {
        {"unchanged", "old", "old", ReplaceStatus::kReplaced},
        {"changed meanwhile", "old", "old+theirs", ReplaceStatus::kChanged},
        {"same size, other bytes", "old", "new", ReplaceStatus::kChanged},
        {"created meanwhile", nullptr, "theirs", ReplaceStatus::kChanged},
        {"still missing", nullptr, nullptr, ReplaceStatus::kReplaced},
        {"removed meanwhile", "old", nullptr, ReplaceStatus::kChanged},
    };
    for (const auto& row : rows) {
        MemoryFiles files;
        if (row.before != nullptr) {
            files.files[u"f"] = row.before;
        }
        const FileContent read = files.Read(u"f", 100);
        if (row.now != nullptr) {
            files.files[u"f"] = row.now;
        } else {
            files.files.erase(u"f");
        }
        const ReplaceResult result = ReplaceIfUnchanged(files, u"f", read.identity, "mine", 100);
        EXPECT_EQ(result.status, row.status) << row.why;
        const auto it = files.files.find(u"f");
        if (row.status == ReplaceStatus::kReplaced) {
            ASSERT_NE(it, files.files.end()) << row.why;
            EXPECT_EQ(it->second, "mine") << row.why;
            EXPECT_TRUE(SameContent(result.written, files.Read(u"f", 100).identity)) << row.why;
        } else {
            // Nothing written; the caller gets the file as it is now.
            EXPECT_EQ(it != files.files.end(), row.now != nullptr) << row.why;
            if (row.now != nullptr) {
                EXPECT_EQ(it->second, row.now) << row.why;
                EXPECT_EQ(result.current.bytes, row.now) << row.why;
            }
        }
    }
}

TEST(ReplaceIfUnchanged, FailuresLeaveTheFileAndSayWhich) {
    MemoryFiles files;
    files.files[u"f"] = "old";
    const FileIdentity read = files.Read(u"f", 100).identity;
    files.failCreate = true;
    EXPECT_EQ(ReplaceIfUnchanged(files, u"f", read, "new", 100).status,
              ReplaceStatus::kCannotCreate);
    files.failCreate = false;
    files.failFlush = true;
    const ReplaceResult flush = ReplaceIfUnchanged(files, u"f", read, "new", 100);
    EXPECT_EQ(flush.status, ReplaceStatus::kWriteFailed);
    EXPECT_EQ(flush.error, 29u);
    files.failFlush = false;
    files.failCommit = true;
    EXPECT_EQ(ReplaceIfUnchanged(files, u"f", read, "new", 100).status, ReplaceStatus::kCannotMove);
    EXPECT_EQ(files.files[u"f"], "old");
}

TEST(FileIdentity, ContentDecidesNotTheWriteTime) {
    FileIdentity a{true, 3, 10, ContentHash("abc")};
    FileIdentity touched = a;
    touched.writeTime = 11;
    EXPECT_TRUE(SameContent(a, touched));
    EXPECT_TRUE(MayHaveChanged(a, touched));
    FileIdentity other = a;
    other.hash = ContentHash("abd");
    EXPECT_FALSE(SameContent(a, other));
    EXPECT_TRUE(SameContent(FileIdentity{}, FileIdentity{}));
    EXPECT_FALSE(SameContent(a, FileIdentity{}));
    EXPECT_FALSE(MayHaveChanged(FileIdentity{}, FileIdentity{}));
    EXPECT_TRUE(MayHaveChanged(a, FileIdentity{})); // removed
    EXPECT_TRUE(MayHaveChanged(FileIdentity{}, a)); // created
    EXPECT_FALSE(MayHaveChanged(a, a));
    FileIdentity grown = a; // within the write time's granularity
    grown.size = 4;
    EXPECT_TRUE(MayHaveChanged(a, grown));
    EXPECT_NE(ContentHash("ab"), ContentHash("ba"));
}

} // namespace
} // namespace vantrel
