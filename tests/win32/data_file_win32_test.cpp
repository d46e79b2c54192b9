// The data-file flows over the real Win32 file system and code page 932.

#include "storage/data_file.h"
#include "support/codec_cases.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_codec.h"
#include "win32/bindings/win32_file_access.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace vantrel {
namespace {

std::wstring TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"vantrel_data_test";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The names in a folder, sorted.
std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void Empty(const std::wstring& folder) {
    for (const std::wstring& name : Names(folder)) {
        const std::wstring file = folder + L"\\" + name;
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    }
}

std::string Contents(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::wstring& path, std::string_view bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path.c_str(), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Real files, with writes that fail from a given call on.
struct FailingWrites : Win32FileAccess {
    int failAt = 0;
    struct Wrapped : FileReplacement {
        std::unique_ptr<FileReplacement> inner;
        int& calls;
        int failAt;
        Wrapped(std::unique_ptr<FileReplacement> i, int& c, int f)
            : inner(std::move(i)), calls(c), failAt(f) {}
        bool Write(std::string_view bytes) override {
            return ++calls < failAt && inner->Write(bytes);
        }
        bool Flush() override { return inner->Flush(); }
        bool Commit() override { return inner->Commit(); }
        std::uint32_t LastError() const override { return ERROR_DISK_FULL; }
    };
    int calls = 0;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override {
        auto inner = Win32FileAccess::Replace(path, error);
        if (!inner || failAt == 0) {
            return inner;
        }
        return std::make_unique<Wrapped>(std::move(inner), calls, failAt);
    }
};

class DataFileWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = TempFolder();
        path = folder + L"\\vantrel.vrl";
        Empty(folder);
        state.currentPath = FromWide(path);
    }
    void TearDown() override { Empty(folder); }
    void AddEntries(int n) {
        for (int i = 0; i < n; ++i) {
            Item item = NewOwnEntry();
            item.title = u"\u4F1A\u8B70, \u6771\u4EAC"; // 会議, 東京
            item.startDate = {2013, 11, 5};
            item.endDate = item.checkDate = kNoDate;
            store.own.push_back(item);
        }
    }
    std::u16string Path() const { return FromWide(path); }

    std::wstring folder, path;
    ItemStore store;
    Settings settings;
    testing::MemoryRegistry registry;
    FailingWrites files;
    testing::ScriptedPrompt prompt;
    Win32Codec codec;
    testing::FixedClock clock{testing::At(2013, 11, 2, 9, 0)};
    BuiltinTextTable texts;
    DataFileState state;
    DataFileContext ctx{store, settings, registry, files, prompt, codec, clock, texts, state};
};

TEST_F(DataFileWin32Test, SavedFileIsShiftJisAndReadsBack) {
    Put(folder + L"\\vantrel.vrl.tmp", "the user's own file");
    AddEntries(2);
    save(ctx);
    EXPECT_TRUE(prompt.messages.empty());
    const std::string line = "2013/11/05,,\"\x89\xEF\x8B\x63, \x93\x8C\x8B\x9E\",,,\r\n";
    EXPECT_EQ(Contents(path), line + line);
    // Nothing else in the folder was written, left behind or removed.
    EXPECT_EQ(Names(folder), (std::vector<std::wstring>{L"vantrel.vrl", L"vantrel.vrl.tmp"}));
    EXPECT_EQ(Contents(folder + L"\\vantrel.vrl.tmp"), "the user's own file");
    store.own.clear();
    ASSERT_EQ(read(ctx, Path()), 1);
    ASSERT_EQ(store.own.size(), 2u);
    EXPECT_EQ(store.own[1].title, u"\u4F1A\u8B70, \u6771\u4EAC");
    EXPECT_TRUE(IsReplaceable(state, Path()));
}

TEST_F(DataFileWin32Test, AWriteFailingHalfWayLeavesThePreviousFile) {
    const std::string previous = "2013/11/01,,old entry,,,\r\n";
    Put(path, previous);
    ASSERT_EQ(read(ctx, Path()), 1);
    AddEntries(5000);
    files.failAt = 1;
    EXPECT_EQ(write(ctx, Path()), 0);
    EXPECT_EQ(Contents(path), previous);
    EXPECT_EQ(GetFileAttributesW((path + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Save error at " + Path() + u" .(112)");
    EXPECT_EQ(prompt.messages[0].caption, u"error");
}

TEST_F(DataFileWin32Test, AReadOnlyTargetIsNotReplaced) {
    const std::string previous = "2013/11/01,,old entry,,,\r\n";
    Put(path, previous);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(read(ctx, Path()), 1);
    AddEntries(1);
    EXPECT_EQ(write(ctx, Path()), 0);
    EXPECT_EQ(Contents(path), previous);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't create " + Path() + u" .(5)");
}

TEST_F(DataFileWin32Test, AMissingFolderCannotBeCreated) {
    const std::u16string target = FromWide(folder) + u"\\no such folder\\v.vrl";
    AddEntries(1);
    EXPECT_EQ(write(ctx, target), 0);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't create " + target + u" .(267)"); // no such folder
}

// Another program holds the file with no sharing at start-up: nothing is
// read, and no change is saved over it until it can be read; then the
// change is applied to what it holds.
TEST_F(DataFileWin32Test, AFileHeldAtStartUpGetsTheChangeOnceItCanBeRead) {
    const std::string previous = "2013/11/01,,keep,,,\r\n2013/11/02,,me,,,\r\n";
    Put(path, previous);
    HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    OpenAtStartUp(ctx);
    CreateAtStartUp(ctx);
    AddEntries(1);
    save(ctx);
    CloseHandle(locked);
    EXPECT_EQ(Contents(path), previous);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't open '" + Path() + u"'");
    EXPECT_NE(prompt.messages[1].text.find(Path() + u" (32)"), std::u16string::npos);

    save(ctx);
    EXPECT_EQ(Contents(path),
              previous + "2013/11/05,,\"\x89\xEF\x8B\x63, \x93\x8C\x8B\x9E\",,,\r\n");
    EXPECT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(store.own.size(), 3u);
    EXPECT_EQ(Names(folder), std::vector<std::wstring>{L"vantrel.vrl"});
}

// Editors and sync tools keep a file open for writing and share it.
TEST_F(DataFileWin32Test, AFileAnotherProgramHasOpenForWritingIsRead) {
    Put(path, "2013/11/01,,shared,,,\r\n");
    HANDLE editor =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_EQ(read(ctx, Path()), 1);
    CloseHandle(editor);
    ASSERT_EQ(store.own.size(), 1u);
    EXPECT_EQ(store.own[0].title, u"shared");
}

// The move over a file that another program holds fails: nothing was
// created, and the old file is intact.
TEST_F(DataFileWin32Test, ATargetHeldAtTheMoveIsNotReplaced) {
    const std::string previous = "2013/11/01,,old entry,,,\r\n";
    Put(path, previous);
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_EQ(read(ctx, Path()), 1);
    AddEntries(1);
    EXPECT_EQ(write(ctx, Path()), 0);
    CloseHandle(holder);
    EXPECT_EQ(Contents(path), previous);
    EXPECT_EQ(Names(folder), std::vector<std::wstring>{L"vantrel.vrl"});
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text.rfind(u"Can't create " + Path() + u" .(", 0), 0u);
    EXPECT_NE(prompt.messages[0].text, u"Can't create " + Path() + u" .(0)");
}

TEST_F(DataFileWin32Test, ASaveKeepsTheHiddenAttribute) {
    Put(path, "");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_EQ(read(ctx, Path()), 0);
    AddEntries(1);
    save(ctx);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(Contents(path).substr(0, 10), "2013/11/05");
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// Any name that can be opened can be saved: the temporary's name does not
// grow with it. Names this long only fit a path buffer in a drive's root.
TEST_F(DataFileWin32Test, ALongFileNameSaves) {
    const std::wstring root = L"C:";
    for (const std::size_t length : {252u, 255u}) {
        const std::vector<std::wstring> before = Names(root);
        const std::wstring name = std::wstring(length - 4, L'n') + L".vrl";
        const std::wstring longPath = root + L"\\" + name;
        Put(longPath, "");
        ASSERT_EQ(GetFileAttributesW(longPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
        state.currentPath = FromWide(longPath);
        store.own.clear();
        ASSERT_EQ(read(ctx, state.currentPath.str()), 0); // empty: read exactly
        AddEntries(1);
        save(ctx);
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_EQ(Contents(longPath).substr(0, 10), "2013/11/05");
        std::vector<std::wstring> after = Names(root);
        after.erase(std::find(after.begin(), after.end(), name));
        EXPECT_EQ(after, before); // no temporary left behind
        DeleteFileW(longPath.c_str());
    }
}

TEST(Win32Codec, UnconvertibleBytesReadAsQuestionMarks) {
    Win32Codec codec;
    for (const auto& row : testing::kDecodeCases) {
        EXPECT_EQ(codec.Decode(row.bytes, 512), row.text) << row.bytes;
    }
}

TEST(Win32Codec, CodePage932) {
    Win32Codec codec;
    EXPECT_EQ(codec.Encode(u"\u8868\\\u2460a", 1024), "\x95\x5C\x5C\x87\x40\x61");
    EXPECT_EQ(codec.Encode(u"\u3042\u3044", 3), "\x82\xA0");
    EXPECT_EQ(codec.Decode("\x95\x5C\x5C\x87\x40\x61", 512), u"\u8868\\\u2460a");
    EXPECT_EQ(codec.Decode("\x82\xA0\x82\xA2", 1), u"\u3042");
}

} // namespace
} // namespace vantrel
