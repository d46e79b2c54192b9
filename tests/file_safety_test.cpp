// The data file on a real file system: what a save may and may not do to
// the files in the data file's folder.

#include "native/iconv_codec.h"
#include "native/std_file_access.h"
#include "storage/data_file.h"
#include "storage/file_replace.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vantrel {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process under a resource limit; its exit code.
template <class Body> int InChild(int resource, rlim_t limit, Body body) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit l{limit, limit};
        setrlimit(resource, &l);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        std::_Exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool UnderMemoryTool() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::string(preload).find("vgpreload") != std::string::npos;
#endif
}

struct FileSafety : ::testing::Test {
    std::string folder;
    std::string path;
    ItemStore store;
    Settings settings;
    testing::MemoryRegistry registry;
    StdFileAccess files;
    testing::ScriptedPrompt prompt;
    IconvCodec codec;
    testing::FixedClock clock{testing::At(2026, 12, 8, 9, 0)};
    BuiltinTextTable texts;
    DataFileState state;
    DataFileContext ctx{store, settings, registry, files, prompt, codec, clock, texts, state};

    void SetUp() override {
        char name[] = "/tmp/vantrel-safety-XXXXXX";
        folder = mkdtemp(name);
        path = folder + "/vantrel.vrl";
        state.currentPath = FromUtf8(path);
    }
    void TearDown() override {
        for (const std::string& name : Names(folder)) {
            unlink((folder + "/" + name).c_str());
        }
        rmdir(folder.c_str());
    }
    void Add(std::u16string title) {
        Item item = NewOwnEntry();
        item.title = std::move(title);
        item.startDate = {2026, 12, 9};
        item.endDate = item.checkDate = kNoDate;
        store.own.push_back(item);
    }
    // Start-up as the item runs it, then one change.
    void StartAndChange() {
        OpenAtStartUp(ctx);
        CreateAtStartUp(ctx);
        Add(u"new");
        save(ctx);
    }
};

TEST_F(FileSafety, ASaveTouchesNoOtherFileOfTheFolder) {
    Put(path + ".tmp", "the user's own");
    Put(path, "");
    StartAndChange();
    EXPECT_EQ(Contents(path), "2026/12/09,,new,,,\r\n");
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"vantrel.vrl", "vantrel.vrl.tmp"}));
    EXPECT_EQ(Contents(path + ".tmp"), "the user's own");
}

TEST_F(FileSafety, ModeAndSymbolicLinkSurviveASave) {
    const std::string target = folder + "/real.vrl";
    Put(target, "");
    chmod(target.c_str(), 0600);
    ASSERT_EQ(symlink("real.vrl", path.c_str()), 0);
    StartAndChange();
    struct stat link {};
    ASSERT_EQ(lstat(path.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(Contents(target), "2026/12/09,,new,,,\r\n");
    struct stat real {};
    ASSERT_EQ(stat(target.c_str(), &real), 0);
    EXPECT_EQ(real.st_mode & 07777, 0600u);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"real.vrl", "vantrel.vrl"}));
}

// The temporary's name does not grow with the file's: a name of 255 bytes,
// the longest a folder takes, saves too.
TEST_F(FileSafety, AnyNameThatCanBeReadCanBeSaved) {
    for (const std::size_t length : {252u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".vrl";
        const std::u16string target = FromUtf8(folder + "/" + name);
        Put(folder + "/" + name, "");
        store.own.clear();
        EXPECT_EQ(read(ctx, target), 0);
        Add(u"new");
        EXPECT_EQ(write(ctx, target), 1);
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_EQ(Contents(folder + "/" + name), "2026/12/09,,new,,,\r\n");
        EXPECT_EQ(Names(folder), std::vector<std::string>{name});
        unlink((folder + "/" + name).c_str());
    }
}

// A name without a folder is saved in the current folder.
TEST_F(FileSafety, ARelativeNameSavesInTheCurrentFolder) {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    Add(u"new");
    const int written = write(ctx, u"rel.vrl");
    EXPECT_EQ(chdir(here), 0);
    EXPECT_EQ(written, 1);
    EXPECT_EQ(Contents(folder + "/rel.vrl"), "2026/12/09,,new,,,\r\n");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"rel.vrl"});
}

// CR-only and UTF-8 files are not what the writer makes: the first change
// keeps them whole beside the file.
TEST_F(FileSafety, ForeignFilesAreKeptWholeBeforeTheFirstChange) {
    const struct {
        const char* why;
        std::string bytes;
        std::size_t entries;
    } rows[] = {
        {"CR only", "2026/12/01,,a,,,\r2026/12/02,,b,,,\r2026/12/03,,c,,,\r", 3},
        {"UTF-8", "2026/12/01,,\xE6\x97\xA5\xE4\xBB\x98,,,\r\n", 1}, // 日付
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        TearDown();
        SetUp();
        Put(path, row.bytes);
        prompt.messages.clear();
        OpenAtStartUp(ctx);
        EXPECT_EQ(store.own.size(), row.entries);
        CreateAtStartUp(ctx);
        EXPECT_EQ(Contents(path), row.bytes); // start-up writes nothing
        Add(u"new");
        save(ctx);
        EXPECT_EQ(Contents(path + ".orig-20261208-0900"), row.bytes);
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_NE(prompt.messages[0].text.find(FromUtf8(path + ".orig-20261208-0900")),
                  std::u16string::npos);
    }
}

TEST_F(FileSafety, AFailedSaveLeavesThePreviousFileIntact) {
    const std::string previous = "2026/12/01,,old,,,\r\n";
    Put(path, previous);
    ASSERT_EQ(read(ctx, FromUtf8(path)), 1);
    for (int i = 0; i < 2000; ++i) {
        Add(u"an entry long enough to pass the limit");
    }
    // The child writes until the file-size limit stops it.
    const int result = InChild(RLIMIT_FSIZE, 4096, [&] {
        save(ctx);
        const bool said = prompt.messages.size() == 1 &&
                          prompt.messages[0].text == u"Save error at " + FromUtf8(path) + u" .(27)";
        return said ? 0 : 1;
    });
    EXPECT_EQ(result, 0); // "Save error at …" with EFBIG
    EXPECT_EQ(Contents(path), previous);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"vantrel.vrl"});
}

TEST_F(FileSafety, CopiesAndReadsRespectTheirLimits) {
    Put(path, "abc");
    std::uint32_t error = 0;
    Put(path + ".copy", "mine");
    EXPECT_FALSE(files.CreateNew(FromUtf8(path + ".copy"), "abc", error));
    EXPECT_EQ(error, static_cast<std::uint32_t>(EEXIST));
    EXPECT_EQ(Contents(path + ".copy"), "mine");

    FileContent read = files.Read(FromUtf8(path), 3);
    EXPECT_EQ(read.status, ReadStatus::kRead);
    EXPECT_EQ(read.bytes, "abc");
    EXPECT_EQ(read.identity.size, 3u);
    EXPECT_EQ(read.identity.hash, ContentHash("abc"));
    EXPECT_EQ(files.Read(FromUtf8(path), 2).status, ReadStatus::kTooLarge);
    const FileContent none = files.Read(FromUtf8(folder + "/none"), 2);
    EXPECT_EQ(none.status, ReadStatus::kCannotOpen);
    EXPECT_FALSE(none.identity.exists);

    // A sparse file past the limit is refused before anything is read.
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxDataFileBytes) + 1), 0);
    state.currentPath = FromUtf8(path);
    OpenAtStartUp(ctx);
    EXPECT_TRUE(store.own.empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].caption, u"error");
}

// Memory follows the records held, not the line feeds of the file.
TEST_F(FileSafety, ABlankLineFileReadsInLittleMemory) {
    if (UnderMemoryTool()) {
        GTEST_SKIP() << "an address-space limit does not apply under a memory tool";
    }
    const std::size_t size = 50u << 20;
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, '\n');
        for (std::size_t i = 0; i < size; i += block.size()) {
            out.write(block.data(), static_cast<long>(block.size()));
        }
    }
    const int result = InChild(RLIMIT_AS, 1024u << 20, [&] {
        OpenAtStartUp(ctx);
        return store.own.empty() && prompt.messages.empty() ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

// Another program (a sync tool, an editor) appends a record between the
// item's read and its next change: both end in the file.
TEST_F(FileSafety, AnotherProgramsRecordSurvivesTheItemsNextChange) {
    Put(path, "2026/12/01,,mine,,,\r\n");
    OpenAtStartUp(ctx);
    CreateAtStartUp(ctx);
    Put(path, "2026/12/01,,mine,,,\r\n2026/12/02,,theirs,,,\r\n");
    Add(u"new");
    save(ctx);
    EXPECT_EQ(Contents(path),
              "2026/12/01,,mine,,,\r\n2026/12/02,,theirs,,,\r\n2026/12/09,,new,,,\r\n");
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(state.reloaded);
    EXPECT_EQ(store.own.size(), 3u);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"vantrel.vrl"});
}

// The refresh poll reads a file another program changed, unless a change
// of the item's own is still waiting to be saved.
TEST_F(FileSafety, APollReadsWhatAnotherProgramWrote) {
    Put(path, "2026/12/01,,mine,,,\r\n");
    OpenAtStartUp(ctx);
    EXPECT_FALSE(ReloadIfChangedOutside(ctx));
    Put(path, "2026/12/01,,mine,,,\r\n2026/12/02,,theirs,,,\r\n");
    ASSERT_TRUE(ReloadIfChangedOutside(ctx));
    ASSERT_EQ(store.own.size(), 2u);
    EXPECT_EQ(store.own[1].title, u"theirs");
    EXPECT_FALSE(ReloadIfChangedOutside(ctx)); // once

    state.pending = true; // a failed save: the list must not be dropped
    Put(path, "2026/12/03,,other,,,\r\n");
    EXPECT_FALSE(ReloadIfChangedOutside(ctx));
    EXPECT_EQ(store.own.size(), 2u);
}

// A change that cannot be applied to the other version as it stands (the
// edited record is gone from it) keeps that version beside the file.
TEST_F(FileSafety, AnUnclearChangeKeepsTheOtherVersionFirst) {
    Put(path, "2026/12/01,,a,,,\r\n2026/12/02,,b,,,\r\n");
    OpenAtStartUp(ctx);
    const std::string theirs = "2026/12/02,,b,,,\r\n2026/12/05,,c,,,\r\n";
    Put(path, theirs);
    store.own[0].title = u"a edited";
    save(ctx);
    EXPECT_EQ(Contents(path), "2026/12/01,,a edited,,,\r\n2026/12/02,,b,,,\r\n");
    EXPECT_EQ(Contents(path + ".orig-20261208-0900"), theirs);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].text.find(FromUtf8(path + ".orig-20261208-0900")),
              std::u16string::npos);
}

TEST_F(FileSafety, AReadOnlyFileIsNotReplaced) {
    const std::string original = "2026/12/01,,a,,,\r\n";
    Put(path, original);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    OpenAtStartUp(ctx);
    Add(u"new");
    EXPECT_EQ(write(ctx, FromUtf8(path)), 0);
    EXPECT_EQ(Contents(path), original);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't create " + FromUtf8(path) + u" .(13)");
    EXPECT_TRUE(state.pending);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"vantrel.vrl"});
}

// A pipe or a folder where the data file should be is refused at once.
TEST_F(FileSafety, APipeOrAFolderIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const std::string dir = folder + "/dir.vrl";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    EXPECT_EQ(files.Read(FromUtf8(path), 100).status, ReadStatus::kNotRegular);
    EXPECT_EQ(files.Read(FromUtf8(dir), 100).status, ReadStatus::kNotRegular);
    OpenAtStartUp(ctx);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].text.find(FromUtf8(path)), std::u16string::npos);
    Add(u"new");
    EXPECT_EQ(write(ctx, FromUtf8(path)), 0); // never written over either
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    rmdir(dir.c_str());
}

// What a killed save left is removed at the next start; nothing else is.
TEST_F(FileSafety, TemporariesOfAKilledSaveGoAtTheNextStart) {
    Put(folder + "/.~vrlAb12Cd.tmp", "half");
    Put(folder + "/.~vrlLocked.tmp", "a save of another process, under way");
    Put(folder + "/.vrlconfig", "the user's own");
    Put(folder + "/.~vrlFresh1.tmp", "a live save of this process");
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const char* name : {"/.~vrlAb12Cd.tmp", "/.~vrlLocked.tmp", "/.vrlconfig"}) {
        ASSERT_EQ(utimensat(AT_FDCWD, (folder + name).c_str(), old, 0), 0);
    }
    // Another process's lock: a child holds it while this one starts up.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const int fd = ::open((folder + "/.~vrlLocked.tmp").c_str(), O_RDWR);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        pause();
        std::_Exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    Put(path, "");
    OpenAtStartUp(ctx);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{".vrlconfig", ".~vrlFresh1.tmp",
                                                       ".~vrlLocked.tmp", "vantrel.vrl"}));
    EXPECT_TRUE(IsTemporaryName(".~vrlAb12Cd.tmp"));
    EXPECT_FALSE(IsTemporaryName(".~vrlAb12C.tmp"));
    EXPECT_FALSE(IsTemporaryName(".~vrlAb12C-.tmp"));
    EXPECT_FALSE(IsTemporaryName(".vrlconfig"));
}

// A link to a file not made yet: the save makes the file it points to.
TEST_F(FileSafety, ADanglingLinkIsWrittenThrough) {
    ASSERT_EQ(symlink("later.vrl", path.c_str()), 0);
    Add(u"new");
    EXPECT_EQ(write(ctx, FromUtf8(path)), 1);
    struct stat link {};
    ASSERT_EQ(lstat(path.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(Contents(folder + "/later.vrl"), "2026/12/09,,new,,,\r\n");
}

// A name that is not UTF-8 is opened and written as the very same bytes.
TEST_F(FileSafety, NamesAreBytes) {
    const std::string name = folder + "/caf\xE9.vrl";
    Put(name, "2026/12/01,,a,,,\r\n");
    const std::u16string wide = FromNativeName(name);
    EXPECT_EQ(ToNativeName(wide), name);
    ASSERT_EQ(read(ctx, wide), 1);
    Add(u"new");
    EXPECT_EQ(write(ctx, wide), 1);
    EXPECT_EQ(Contents(name), "2026/12/01,,a,,,\r\n2026/12/09,,new,,,\r\n");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"caf\xE9.vrl"});
}

} // namespace
} // namespace vantrel
