// The file dialogs of Win32Prompt through a stand-in of the outside library
// gsgetfile.dll (bin/standin, put on the DLL search path by these tests
// only): the start name and capacity the library gets, and the chosen name
// that comes back, also through the data file's save-as.

#include "storage/data_file.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "text/builtin_texts.h"
#include "win32/bindings/wide_text.h"
#include "win32/bindings/win32_codec.h"
#include "win32/bindings/win32_file_access.h"
#include "win32/bindings/win32_prompt.h"
#include "win32/item_harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace vantrel {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n < 1024 ? value : L"(too long)";
}

class FileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A scripted answer cancels file dialogs without asking the library.
        SetEnvironmentVariableW(L"VANTREL_ANSWER", nullptr);
        Clear();
        ASSERT_TRUE(SetDllDirectoryW((testing::BinFolder() + L"\\standin").c_str()));
        // Without the stand-in the platform's own dialog would open and wait.
        HMODULE library = LoadLibraryW(L"gsgetfile.dll");
        ASSERT_NE(library, nullptr);
        FreeLibrary(library);
    }
    void TearDown() override {
        SetDllDirectoryW(nullptr);
        Clear();
    }
    static void Clear() {
        for (const wchar_t* name :
             {L"GSGETFILE_DIALOG", L"GSGETFILE_START", L"GSGETFILE_MAX", L"GSGETFILE_ANSWER"}) {
            SetEnvironmentVariableW(name, nullptr);
        }
    }

    Win32Prompt prompt{nullptr};
};

// Longer than any short-string buffer: a view of a destroyed copy would
// hand the library freed memory.
std::u16string LongPath(std::size_t length) {
    const std::u16string name = u"\\vantrel.vrl";
    return u"C:\\" + std::u16string(length - 3 - name.size(), u'd') + name;
}

TEST_F(FileDialogTest, SaveDialogStartsAtThePathGiven) {
    std::u16string path = LongPath(200);
    const std::u16string given = path;
    SetEnvironmentVariableW(L"GSGETFILE_ANSWER", L"C:\\chosen.vrl");
    EXPECT_EQ(prompt.askSaveFileName(path, u"*.vrl\0*.vrl\0"), 13u);
    EXPECT_EQ(Environment(L"GSGETFILE_DIALOG"), L"save");
    EXPECT_EQ(FromWide(Environment(L"GSGETFILE_START")), given);
    EXPECT_EQ(Environment(L"GSGETFILE_MAX"), L"260");
    EXPECT_EQ(path, u"C:\\chosen.vrl");
}

TEST_F(FileDialogTest, OpenDialogGetsAStartCutToItsBuffer) {
    std::u16string path = LongPath(300);
    const std::u16string given = path;
    SetEnvironmentVariableW(L"GSGETFILE_ANSWER", L"C:\\other.mvk");
    EXPECT_EQ(prompt.askOpenFileName(path, u"*.*\0*.*\0"), 12u);
    EXPECT_EQ(Environment(L"GSGETFILE_DIALOG"), L"open");
    EXPECT_EQ(FromWide(Environment(L"GSGETFILE_START")), given.substr(0, 259));
    EXPECT_EQ(path, u"C:\\other.mvk");
}

TEST_F(FileDialogTest, ACancelledDialogLeavesThePath) {
    std::u16string path = LongPath(120);
    const std::u16string given = path;
    EXPECT_EQ(prompt.askSaveFileName(path, u"*.vrl\0*.vrl\0"), 0u);
    EXPECT_EQ(FromWide(Environment(L"GSGETFILE_START")), given);
    EXPECT_EQ(path, given);
}

// Save-as starts at the current file's name and writes to the chosen one.
TEST_F(FileDialogTest, SaveAsOffersTheCurrentNameAndWritesTheChosenOne) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring chosen = std::wstring(temp) + L"vantrel_save_as.vrl";
    DeleteFileW(chosen.c_str());
    SetEnvironmentVariableW(L"GSGETFILE_ANSWER", chosen.c_str());

    ItemStore store;
    Item entry = NewOwnEntry();
    entry.title = u"saved";
    entry.startDate = {2013, 11, 5};
    entry.endDate = entry.checkDate = kNoDate;
    store.own.push_back(entry);
    Settings settings;
    testing::MemoryRegistry registry;
    Win32FileAccess files;
    Win32Codec codec;
    testing::FixedClock clock{testing::At(2013, 11, 2, 9, 0)};
    BuiltinTextTable texts;
    DataFileState state;
    const std::u16string current = LongPath(200);
    state.currentPath = current;
    DataFileContext ctx{store, settings, registry, files, prompt, codec, clock, texts, state};

    EXPECT_EQ(saveAs(ctx), 1);
    EXPECT_EQ(FromWide(Environment(L"GSGETFILE_START")), current);
    EXPECT_EQ(testing::FileBytes(chosen), "2013/11/05,,saved,,,\r\n");
    EXPECT_EQ(state.currentPath.str(), FromWide(chosen));
    DeleteFileW(chosen.c_str());
}

} // namespace
} // namespace vantrel
