// The data-file flows over the real Win32 file system and code page 932.

#include "platform/wide_text.h"
#include "platform/win32_codec.h"
#include "platform/win32_file_access.h"
#include "storage/data_file.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

namespace vantrel {
namespace {

std::wstring TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"vantrel_data_test";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string Contents(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::wstring& path, std::string_view bytes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path.c_str(), std::ios::binary).write(bytes.data(), bytes.size());
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
        DeleteFileW(path.c_str());
        DeleteFileW((path + L".tmp").c_str());
        state.currentPath = FromWide(path);
    }
    void TearDown() override {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
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
    AddEntries(2);
    save(ctx);
    EXPECT_TRUE(prompt.messages.empty());
    const std::string line = "2013/11/05,,\"\x89\xEF\x8B\x63, \x93\x8C\x8B\x9E\",,,\r\n";
    EXPECT_EQ(Contents(path), line + line);
    EXPECT_EQ(GetFileAttributesW((path + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    store.own.clear();
    ASSERT_EQ(read(ctx, Path()), 1);
    ASSERT_EQ(store.own.size(), 2u);
    EXPECT_EQ(store.own[1].title, u"\u4F1A\u8B70, \u6771\u4EAC");
}

TEST_F(DataFileWin32Test, AWriteFailingHalfWayLeavesThePreviousFile) {
    const std::string previous = "2013/11/01,,old entry,,,\r\n";
    Put(path, previous);
    AddEntries(5000); // several chunks
    files.failAt = 2;
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
    EXPECT_EQ(prompt.messages[0].text, u"Can't create " + target + u" .(3)");
}

TEST_F(DataFileWin32Test, AFileThatCannotBeOpenedSurvivesStartUp) {
    const std::string previous = "2013/11/01,,keep,,,\r\n";
    Put(path, previous);
    HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    OpenAtStartUp(ctx);
    SaveAtStartUp(ctx);
    CloseHandle(locked);
    EXPECT_EQ(Contents(path), previous);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't open '" + Path() + u"'");
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
