#include "storage/data_file.h"
#include "storage/data_file_path.h"
#include "storage/iconv_codec.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"
#include "text/text_ids.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::MemoryFiles;
using testing::ScriptedPrompt;

struct DataFileFixture : ::testing::Test {
    ItemStore store;
    Settings settings;
    testing::MemoryRegistry registry;
    MemoryFiles files;
    ScriptedPrompt prompt;
    IconvCodec codec;
    testing::FixedClock clock{testing::At(2013, 11, 2, 9, 0)};
    BuiltinTextTable texts;
    DataFileState state;
    DataFileContext ctx{store, settings, registry, files, prompt, codec, clock, texts, state};

    void AddOwn(std::u16string title) {
        Item item = NewOwnEntry();
        item.title = std::move(title);
        item.startDate = {2013, 11, 5};
        item.endDate = item.checkDate = kNoDate;
        store.own.push_back(item);
    }
};

TEST(DataFilePath, ExtensionAndReaderChoice) {
    const struct {
        std::u16string path, saved;
        bool morvik;
    } rows[] = {
        {u"\\d\\a.mvk", u"\\d\\a.vrl", true},
        {u"\\d\\a.MVK", u"\\d\\a.vrl", true},
        {u"\\d\\a.txt.vrl", u"\\d\\a.txt.vrl", false},
        {u"\\my.docs\\data", u"\\my.docs\\data", false}, // the only dot is in a folder
        {u"\\d\\noext", u"\\d\\noext", false},
        {u"a.b", u"a.vrl", false},
        {u"", u"", false},
        {u"mvk", u"mvk", false},
        {u"\\d\\x" + std::u16string(253, u'n') + u".b",
         u"\\d\\x" + std::u16string(253, u'n') + u".b", false}, // ".vrl" would not fit
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NormalizedExtension(row.path), row.saved);
        EXPECT_EQ(IsMorvikPath(row.path), row.morvik);
    }
}

TEST_F(DataFileFixture, OpenFailureIsReportedAndKeepsThePath) {
    state.currentPath = u"\\My Documents\\missing.vrl";
    open(ctx);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't open '\\My Documents\\missing.vrl'");
    EXPECT_EQ(prompt.messages[0].caption, u"error");
    EXPECT_EQ(prompt.messages[0].style, kMbOk);
    EXPECT_EQ(state.currentPath, u"\\My Documents\\missing.vrl");
    EXPECT_FALSE(state.keepIntact); // nothing there: the start-up save creates it
}

TEST_F(DataFileFixture, AnExistingUnreadableFileSurvivesStartUp) {
    files.files[u"\\d\\v.vrl"] = "2013/11/02,,keep me,,,\r\n";
    files.unreadable.push_back(u"\\d\\v.vrl");
    state.currentPath = u"\\d\\v.vrl";
    OpenAtStartUp(ctx);
    SaveAtStartUp(ctx);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], "2013/11/02,,keep me,,,\r\n");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(DataFileFixture, StartUpReadsTheDefaultFileAndSavesItBack) {
    files.files[std::u16string(kDefaultDataFile)] = ",,b,,\n,,a,,,1,2013/11/01 -1:-1";
    OpenAtStartUp(ctx);
    ASSERT_EQ(store.own.size(), 2u);
    SaveAtStartUp(ctx);
    EXPECT_EQ(files.files[std::u16string(kDefaultDataFile)],
              ",,b,,,\r\n,,a,,,1,2013/11/01 -1:-1\r\n"); // the last line without LF is kept
    EXPECT_EQ(settings.OpenFile, kDefaultDataFile);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(DataFileFixture, ReaderChoiceAndExtensionOnSave) {
    files.files[u"\\d\\old.MvK"] = "[Morvik]\n[Data]\n2013/11/02,,imported\n";
    state.currentPath = u"\\d\\old.MvK";
    open(ctx);
    ASSERT_EQ(store.own.size(), 1u);
    EXPECT_EQ(store.own[0].title, u"imported");
    save(ctx);
    EXPECT_EQ(state.currentPath, u"\\d\\old.vrl");
    EXPECT_EQ(files.files[u"\\d\\old.MvK"], "[Morvik]\n[Data]\n2013/11/02,,imported\n");
    EXPECT_EQ(files.files[u"\\d\\old.vrl"], "2013/11/02,,imported,,,\r\n");
}

TEST_F(DataFileFixture, NothingReadLeavesTheCurrentPath) {
    files.files[u"\\d\\a.mvk"] = "[Morvik]\n[Style]\n";
    files.files[u"\\d\\b.vrl"] = "\n\n";
    state.currentPath = u"\\d\\keep.vrl";
    EXPECT_EQ(readByName(ctx, u"\\d\\a.mvk"), 0);
    EXPECT_EQ(read(ctx, u"\\d\\b.vrl"), 0);
    EXPECT_EQ(state.currentPath, u"\\d\\keep.vrl");
}

TEST_F(DataFileFixture, FailedWritesKeepTheOldFileAndSayWhy) {
    files.files[u"\\d\\v.vrl"] = "old";
    for (int i = 0; i < 3; ++i) {
        AddOwn(u"entry");
    }
    files.failWriteAt = 1;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], "old");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Save error at \\d\\v.vrl .(112)");
    EXPECT_FALSE(state.saving);

    files.failWriteAt = 0;
    files.failCreate = true;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(prompt.messages[1].text, u"Can't create \\d\\v.vrl .(5)");
    EXPECT_EQ(prompt.messages[1].caption, u"error");
}

TEST_F(DataFileFixture, SaveAsFlows) {
    AddOwn(u"x");
    state.currentPath = u"\\d\\in.mvk";
    EXPECT_EQ(saveAs(ctx), 1); // cancelled
    ASSERT_EQ(prompt.startNames.size(), 1u);
    EXPECT_EQ(prompt.startNames[0], u"\\d\\in.vrl");
    static constexpr char16_t kSaveFilter[] = u"Vantrel\u30D5\u30A1\u30A4\u30EB (*.vrl)\0*.vrl\0"
                                              u"\u3059\u3079\u3066\u306E\u30D5\u30A1\u30A4\u30EB "
                                              u"(*.*)\0*.*\0";
    EXPECT_EQ(prompt.filters[0], std::u16string_view(kSaveFilter, std::size(kSaveFilter)));
    EXPECT_EQ(state.currentPath, u"\\d\\in.mvk");

    files.failCreate = true;
    prompt.fileAnswers.push_back(u"\\d\\out.vrl");
    EXPECT_EQ(saveAs(ctx), 0);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].text, LoadText(texts, text_id::kSaveAsFailed));
    EXPECT_EQ(prompt.messages[1].caption, u"Warning");
    EXPECT_EQ(prompt.messages[1].style, kMbIconExclamation);
    EXPECT_EQ(state.currentPath, u"\\d\\in.mvk");

    files.failCreate = false;
    prompt.fileAnswers.push_back(u"\\d\\out.vrl");
    EXPECT_EQ(saveAs(ctx), 1);
    EXPECT_EQ(state.currentPath, u"\\d\\out.vrl");
    EXPECT_TRUE(settings.OpenFile.empty()); // stored by the next save
}

TEST_F(DataFileFixture, SaveWithoutPathAsksAndASaveDuringAWriteIsDropped) {
    AddOwn(u"x");
    prompt.fileAnswers.push_back(u"\\d\\new.vrl");
    save(ctx);
    EXPECT_EQ(files.files.count(u"\\d\\new.vrl"), 1u);
    state.saving = true;
    save(ctx);
    EXPECT_EQ(files.writes, 1);
}

TEST_F(DataFileFixture, OpenWithDialogUsesTheThreeFilters) {
    EXPECT_EQ(openWithDialog(ctx), 0);
    ASSERT_EQ(prompt.filters.size(), 1u);
    EXPECT_NE(prompt.filters[0].find(u"Morvik\u30D5\u30A1\u30A4\u30EB (*.mvk)"),
              std::u16string::npos);
    EXPECT_EQ(prompt.filters[0].substr(prompt.filters[0].size() - 2), std::u16string(2, u'\0'));
    files.files[u"\\d\\c.vrl"] = ",,c,,,\r\n";
    prompt.fileAnswers.push_back(u"\\d\\c.vrl");
    EXPECT_EQ(openWithDialog(ctx), 1);
    EXPECT_EQ(state.currentPath, u"\\d\\c.vrl");
}

} // namespace
} // namespace vantrel
