#include "native/iconv_codec.h"
#include "storage/data_file.h"
#include "storage/data_file_path.h"
#include "support/memory_registry.h"
#include "support/moments.h"
#include "support/storage_fakes.h"
#include "text/builtin_texts.h"
#include "text/text_ids.h"
#include "text/utf8.h"

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

    std::u16string Formatted(int id, std::u16string_view path) {
        std::u16string text = LoadText(texts, id);
        return text.replace(text.find(u"%s"), 2, path);
    }
    std::u16string Kept(std::u16string_view copy) {
        return Formatted(text_id::kKeptOriginal, copy);
    }

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
    CreateAtStartUp(ctx); // nothing there: the start-up creates it
    EXPECT_EQ(files.files.at(u"\\My Documents\\missing.vrl"), "");
}

// The file another program held at start-up is never written over: while it
// cannot be read the change is not saved; once it can, its bytes are kept
// beside it first, and the user is told where, once.
TEST_F(DataFileFixture, AFileHeldAtStartUpGetsTheChangeOnceItCanBeRead) {
    const std::string original = "2013/11/02,,a,,,\r\n2013/11/03,,b,,,\r\n";
    files.files[u"\\d\\v.vrl"] = original;
    files.unreadable.push_back(u"\\d\\v.vrl");
    state.currentPath = u"\\d\\v.vrl";
    OpenAtStartUp(ctx);
    CreateAtStartUp(ctx);
    EXPECT_EQ(files.writes, 0);

    AddOwn(u"new");
    save(ctx);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], original);
    EXPECT_EQ(files.writes, 0);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].text,
              u"\u5143\u306E\u30C7\u30FC\u30BF\u30D5\u30A1\u30A4\u30EB\u3092\u6B8B\u305B"
              u"\u306A\u3044\u305F\u3081\u3001\u4FDD\u5B58\u3057\u307E\u305B\u3093\u3067"
              u"\u3057\u305F\u3002\n\\d\\v.vrl (32)");
    EXPECT_EQ(prompt.messages[1].caption, u"error");

    // The other program let go: nothing of the file was read, so the one
    // change, an added entry, is applied to what the file holds.
    files.unreadable.clear();
    save(ctx);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], original + "2013/11/05,,new,,,\r\n");
    EXPECT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(store.own.size(), 3u); // the list shows the file's entries now

    AddOwn(u"more");
    save(ctx);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"],
              original + "2013/11/05,,new,,,\r\n2013/11/05,,more,,,\r\n");
    EXPECT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(files.files.size(), 1u); // nothing to copy: nothing was lost
}

// Choosing another data file in the options: an existing one is read and
// written from then on, and the file before it keeps its bytes; a missing
// one is created with the list.
TEST_F(DataFileFixture, AChosenDataFileIsReadAndTheOldOneKept) {
    const std::string old = "2013/11/02,,a,,,\r\n";
    const std::string chosen = "2013/11/04,,x,,,\r\n2013/11/06,,y,,,\r\n";
    files.files[u"\\d\\old.vrl"] = old;
    files.files[u"\\d\\chosen.vrl"] = chosen;
    state.currentPath = u"\\d\\old.vrl";
    OpenAtStartUp(ctx);
    ASSERT_EQ(store.own.size(), 1u);

    ChangeDataFile(ctx, u"\\d\\chosen.vrl");
    ASSERT_EQ(store.own.size(), 2u);
    EXPECT_EQ(store.own[0].title, u"x");
    EXPECT_EQ(CountOfTag(store.ownTags, u""), 0u);
    EXPECT_EQ(state.currentPath, u"\\d\\chosen.vrl");
    EXPECT_EQ(files.writes, 0);

    AddOwn(u"new");
    save(ctx);
    EXPECT_EQ(files.files.at(u"\\d\\old.vrl"), old);
    EXPECT_EQ(files.files.at(u"\\d\\chosen.vrl"), chosen + "2013/11/05,,new,,,\r\n");
    EXPECT_TRUE(prompt.messages.empty()); // read exactly: replaced without a copy

    ChangeDataFile(ctx, u"\\d\\chosen.vrl"); // the current file: nothing happens
    EXPECT_EQ(store.own.size(), 3u);

    EXPECT_TRUE(ChangeDataFile(ctx, u"\\d\\new.vrl"));
    EXPECT_EQ(files.files.at(u"\\d\\new.vrl"), chosen + "2013/11/05,,new,,,\r\n");
    EXPECT_EQ(state.currentPath, u"\\d\\new.vrl");
}

// The name typed on the options page is checked as the name a save writes:
// "other.txt" is saved as "other.vrl", so an existing "other.vrl" is opened,
// never overwritten by the current entries.
TEST_F(DataFileFixture, AChosenNameIsCheckedAsItWillBeWritten) {
    const std::string other = "2013/11/04,,theirs,,,\r\n";
    files.files[u"\\d\\old.vrl"] = "2013/11/02,,a,,,\r\n";
    files.files[u"\\d\\other.vrl"] = other;
    state.currentPath = u"\\d\\old.vrl";
    OpenAtStartUp(ctx);
    EXPECT_TRUE(ChangeDataFile(ctx, u"\\d\\other.txt"));
    EXPECT_EQ(files.files.at(u"\\d\\other.vrl"), other);
    EXPECT_EQ(state.currentPath, u"\\d\\other.vrl");
    ASSERT_EQ(store.own.size(), 1u);
    EXPECT_EQ(store.own[0].title, u"theirs");
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(files.files.count(u"\\d\\other.txt"), 0u);
}

// After a failed save the list holds a change no file has: switching the
// data file asks first, and "no" keeps everything as it is.
TEST_F(DataFileFixture, SwitchingAfterAFailedSaveAsksFirst) {
    files.files[u"\\d\\old.vrl"] = "2013/11/02,,a,,,\r\n";
    files.files[u"\\d\\other.vrl"] = "2013/11/04,,b,,,\r\n";
    state.currentPath = u"\\d\\old.vrl";
    OpenAtStartUp(ctx);
    AddOwn(u"unsaved");
    files.failCreate = true;
    save(ctx);
    files.failCreate = false;
    ASSERT_EQ(prompt.messages.size(), 1u);

    prompt.answers.push_back(kIdNo);
    EXPECT_FALSE(ChangeDataFile(ctx, u"\\d\\other.vrl"));
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1].text, LoadText(texts, text_id::kAskDropUnsaved));
    EXPECT_EQ(state.currentPath, u"\\d\\old.vrl");
    EXPECT_EQ(store.own.size(), 2u);

    prompt.answers.push_back(kIdYes);
    EXPECT_TRUE(ChangeDataFile(ctx, u"\\d\\other.vrl"));
    EXPECT_EQ(state.currentPath, u"\\d\\other.vrl");
    ASSERT_EQ(store.own.size(), 1u);
    EXPECT_EQ(store.own[0].title, u"b");
}

// Saving onto a file that was never read tells the user it was kept, not
// that it "differs from what was read".
TEST_F(DataFileFixture, AFileSavedOverIsKeptWithItsOwnMessage) {
    files.files[u"\\d\\x.vrl"] = "2013/11/02,,x,,,\r\n";
    AddOwn(u"mine");
    EXPECT_EQ(write(ctx, u"\\d\\x.vrl"), 1);
    const std::u16string copy = u"\\d\\x.vrl.orig-20131102-0900";
    EXPECT_EQ(files.files.at(copy), "2013/11/02,,x,,,\r\n");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, Formatted(text_id::kKeptExisting, copy));
}

// An imported Morvik file is never the list's own: even written to by
// name, its bytes are kept first.
TEST_F(DataFileFixture, AMorvikFileIsNeverReplacedAsItIs) {
    const std::string mvk = "2013/11/02,,x,,,\r\n";
    files.files[u"\\d\\m.mvk"] = mvk;
    ASSERT_EQ(importMvk(ctx, u"\\d\\m.mvk"), 1);
    AddOwn(u"new");
    EXPECT_EQ(write(ctx, u"\\d\\m.mvk"), 1);
    EXPECT_EQ(files.files.at(u"\\d\\m.mvk.orig-20131102-0900"), mvk);
}

// Another program changes the file and then holds it while the item saves:
// nothing is written over what could not be read.
TEST_F(DataFileFixture, AFileHeldAtTheSaveIsNotWrittenOver) {
    files.files[u"\\d\\v.vrl"] = "2013/11/02,,a,,,\r\n";
    ASSERT_EQ(read(ctx, u"\\d\\v.vrl"), 1);
    files.files[u"\\d\\v.vrl"] = "2013/11/02,,a,,,\r\n2013/11/03,,theirs,,,\r\n";
    files.unreadable.push_back(u"\\d\\v.vrl");
    AddOwn(u"new");
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(files.files.at(u"\\d\\v.vrl"), "2013/11/02,,a,,,\r\n2013/11/03,,theirs,,,\r\n");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't open '\\d\\v.vrl'");
    EXPECT_TRUE(state.pending);
}

// A file that changes at every look is never written over: after a few
// rounds the save gives up and says so.
TEST_F(DataFileFixture, AFileThatKeepsChangingIsLeftToTheOtherProgram) {
    files.files[u"\\d\\v.vrl"] = "2013/11/02,,a,,,\r\n";
    ASSERT_EQ(read(ctx, u"\\d\\v.vrl"), 1);
    int round = 0;
    files.beforeRead = [&](const std::u16string& path) {
        files.files[path] += "2013/11/03,,other " + std::to_string(++round) + ",,,\r\n";
    };
    AddOwn(u"new");
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    files.beforeRead = nullptr;
    EXPECT_EQ(files.files.at(u"\\d\\v.vrl").find(",,new,,,"), std::string::npos);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Can't create \\d\\v.vrl .(32)");
    EXPECT_TRUE(state.pending);
}

TEST_F(DataFileFixture, StartUpLeavesAnExistingFileAsItIs) {
    const std::string original = ",,b,,\n,,a,,,1,2013/11/01 -1:-1";
    files.files[std::u16string(kDefaultDataFile)] = original;
    OpenAtStartUp(ctx);
    ASSERT_EQ(store.own.size(), 2u); // the last line without LF is read too
    CreateAtStartUp(ctx);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(prompt.messages.empty());

    save(ctx); // the first change: the LF-only file is kept whole first
    const std::u16string copy = std::u16string(kDefaultDataFile) + u".orig-20131102-0900";
    EXPECT_EQ(files.files.at(copy), original);
    EXPECT_EQ(files.files[std::u16string(kDefaultDataFile)],
              ",,b,,,\r\n,,a,,,1,2013/11/01 -1:-1\r\n");
    EXPECT_EQ(settings.OpenFile, kDefaultDataFile);
}

// Only bytes that the list writes back unchanged make a file replaceable
// without keeping it.
TEST_F(DataFileFixture, OnlyAnExactReadMakesTheFileReplaceable) {
    const std::string longTitle(600, 'x');
    std::string longJapanese; // 640 bytes, cut to 510 at a character boundary
    for (int i = 0; i < 320; ++i) {
        longJapanese += "\x82\xA0";
    }
    const struct {
        const char* why;
        std::string bytes;
        bool exact;
    } rows[] = {
        {"written by us", "2013/11/02,,\"a,b\",t1\tt2,1,1,2013/11/01 10:00\r\n,,c,,,\r\n", true},
        {"empty", "", true},
        {"Shift_JIS text", "2013/11/02,,\x93\xFA\x96\x7B,,,\r\n", true},
        {"LF only", ",,a,,,\n", false},
        {"CR only", ",,a,,,\r,,b,,,\r", false},
        {"blank lines", "\r\n\r\n", false},
        {"last line without CR LF", ",,a,,,", false},
        {"a line break in quotes", ",,\"a\r\nb\",,,\r\n", false},
        {"an unconvertible byte", ",,a\x80,,,\r\n", false},
        {"a lone lead byte", ",,a\x8B,,,\r\n", false},
        {"UTF-8", ",,\xE6\x97\xA5\xE4\xBB\x98,,,\r\n", false}, // 日付
        {"UTF-8 that happens to be Shift_JIS", ",,\xE6\x97\xA5\xE6\x9C\xAC,,,\r\n", false},
        {"a title cut by the reader", ",," + longTitle + ",,,\r\n", false},
        {"a Japanese title cut by the reader", ",," + longJapanese + ",,,\r\n", false},
        {"an impossible date", "2013/02/30,,a,,,\r\n", false},
        {"a check date on an unchecked line", ",,a,,,0,2013/11/01 10:00\r\n", false},
        {"a pin other than 1", ",,a,,2,\r\n", false},
        {"an extra column", ",,a,,,1,2013/11/01 10:00,x\r\n", false},
        {"dashes in a date", "2013-11-02,,a,,,\r\n", false},
    };
    for (const auto& row : rows) {
        files.files[u"\\d\\r.vrl"] = row.bytes;
        store.own.clear();
        read(ctx, u"\\d\\r.vrl");
        EXPECT_EQ(IsReplaceable(state, u"\\d\\r.vrl"), row.exact) << row.why;
    }
}

// A file edited on a PC is often saved as UTF-8. Read as Shift_JIS its
// titles are garbled, yet some of it writes back byte for byte: such a file
// is never replaced without keeping its original.
TEST_F(DataFileFixture, Utf8TextIsNeverAnExactRead) {
    const std::string utf8 = "2013/11/02,,\xE4\xBC\x9A\xE8\xAD\xB0,\xE6\x9D\xB1\xE4\xBA\xAC,,\r\n";
    const struct {
        const char* why;
        std::string bytes;
        bool looksUtf8;
        bool exact;
    } rows[] = {
        {"ASCII", "2013/11/02,,dentist,a\tb,1,\r\n", false, true},
        {"Shift_JIS Japanese", "2013/11/02,,\x89\xEF\x8B\x63,\x8E\x64\x8E\x96,,\r\n", false, true},
        {"UTF-8 Japanese that converts as Shift_JIS", utf8, true, false},
        // The mark is no date and is not written back.
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + utf8, false, false},
        {"one accented letter", ",,caf\xC3\xA9,,,\r\n", true, false},
        // Two half-width katakana that are also UTF-8: the original is kept
        // for nothing, which costs a copy and loses nothing.
        {"half-width katakana valid as UTF-8", ",,\xC3\xBD,,,\r\n", true, false},
    };
    for (const auto& row : rows) {
        files.files[u"\\d\\u.vrl"] = row.bytes;
        store.own.clear();
        read(ctx, u"\\d\\u.vrl");
        EXPECT_EQ(LooksLikeUtf8(row.bytes), row.looksUtf8) << row.why;
        EXPECT_EQ(IsReplaceable(state, u"\\d\\u.vrl"), row.exact) << row.why;
    }
}

TEST_F(DataFileFixture, KeptNamesNeverReplaceAnEarlierCopy) {
    files.files[u"\\d\\v.vrl"] = "old\r\n";
    files.files[u"\\d\\v.vrl.orig-20131102-0900"] = "earlier";
    files.files[u"\\d\\v.vrl.orig-20131102-0900-2"] = "earlier 2";
    AddOwn(u"x");
    state.currentPath = u"\\d\\v.vrl";
    save(ctx);
    EXPECT_EQ(files.files.at(u"\\d\\v.vrl.orig-20131102-0900"), "earlier");
    EXPECT_EQ(files.files.at(u"\\d\\v.vrl.orig-20131102-0900-2"), "earlier 2");
    EXPECT_EQ(files.files.at(u"\\d\\v.vrl.orig-20131102-0900-3"), "old\r\n");

    const SystemTime t = testing::At(2026, 1, 9, 7, 5);
    EXPECT_EQ(KeptOriginalName(u"a.vrl", t, 1), u"a.vrl.orig-20260109-0705");
    EXPECT_EQ(KeptOriginalName(u"/f.x/" + std::u16string(250, u'n'), t, 12),
              u"/f.x/" + std::u16string(60, u'n') + u".orig-20260109-0705-12");
    EXPECT_EQ(KeptOriginalName(u"a.vrl", testing::At(2026, 10, 10, 10, 10), 2),
              u"a.vrl.orig-20261010-1010-2");
    // A surrogate pair at the cut is dropped whole, one before it is kept.
    const std::u16string pair = u"\U0001F600";
    EXPECT_EQ(KeptOriginalName(std::u16string(59, u'n') + pair + u"zz", t, 1),
              std::u16string(59, u'n') + u".orig-20260109-0705");
    EXPECT_EQ(KeptOriginalName(std::u16string(58, u'n') + pair + u"zz", t, 1),
              std::u16string(58, u'n') + pair + u".orig-20260109-0705");
}

// Ninety-nine copies of the same minute are kept; past that the change is
// not saved rather than overwrite one.
TEST_F(DataFileFixture, KeptCopiesRunOutAfterNinetyNine) {
    files.files[u"v"] = "old";
    for (int attempt = 1; attempt < 99; ++attempt) {
        files.files[KeptOriginalName(u"v", clock.now, attempt)] = "earlier";
    }
    AddOwn(u"x");
    state.currentPath = u"v";
    save(ctx);
    EXPECT_EQ(files.files.at(u"v.orig-20131102-0900-99"), "old");
    EXPECT_NE(files.files.at(u"v"), "old");

    files.files[u"w"] = "old";
    for (int attempt = 1; attempt <= 99; ++attempt) {
        files.files[KeptOriginalName(u"w", clock.now, attempt)] = "earlier";
    }
    state.currentPath = u"w";
    save(ctx);
    EXPECT_EQ(files.files.at(u"w"), "old");
    EXPECT_EQ(files.files.count(u"w.orig-20131102-0900-100"), 0u);
    EXPECT_NE(prompt.messages.back().text.find(u"w (0)"), std::u16string::npos);
}

TEST_F(DataFileFixture, ATooLargeFileIsNeitherReadNorReplaced) {
    files.files[u"\\d\\big.vrl"] = ",,a,,,\r\n";
    files.tooLarge.push_back(u"\\d\\big.vrl");
    state.currentPath = u"\\d\\big.vrl";
    OpenAtStartUp(ctx);
    EXPECT_TRUE(store.own.empty());
    AddOwn(u"x");
    save(ctx);
    EXPECT_EQ(files.files.at(u"\\d\\big.vrl"), ",,a,,,\r\n");
    EXPECT_EQ(files.files.size(), 1u);
    ASSERT_EQ(prompt.messages.size(), 2u);
    for (const auto& m : prompt.messages) {
        EXPECT_EQ(m.text, Formatted(text_id::kFileTooLarge, u"\\d\\big.vrl"));
        EXPECT_EQ(m.caption, u"error");
    }
}

TEST_F(DataFileFixture, ReaderChoiceAndExtensionOnSave) {
    files.files[u"\\d\\old.MvK"] = "[Morvik]\n[Data]\n2013/11/02,,imported\n";
    state.currentPath = u"\\d\\old.MvK";
    open(ctx);
    ASSERT_EQ(store.own.size(), 1u);
    EXPECT_EQ(store.own[0].title, u"imported");
    files.files[u"\\d\\old.vrl"] = ",,never read,,,\r\n"; // a file of the same name
    save(ctx);
    EXPECT_EQ(state.currentPath, u"\\d\\old.vrl");
    EXPECT_EQ(files.files[u"\\d\\old.MvK"], "[Morvik]\n[Data]\n2013/11/02,,imported\n");
    EXPECT_EQ(files.files[u"\\d\\old.vrl"], "2013/11/02,,imported,,,\r\n");
    EXPECT_EQ(files.files[u"\\d\\old.vrl.orig-20131102-0900"], ",,never read,,,\r\n");
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
    const std::string old = "2013/11/02,,old,,,\r\n";
    files.files[u"\\d\\v.vrl"] = old;
    ASSERT_EQ(read(ctx, u"\\d\\v.vrl"), 1);
    for (int i = 0; i < 3; ++i) {
        AddOwn(u"entry");
    }
    files.failWriteAt = 1;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], old);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, u"Save error at \\d\\v.vrl .(112)");
    EXPECT_FALSE(state.saving);

    files.failWriteAt = 0;
    files.failCreate = true;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(prompt.messages[1].text, u"Can't create \\d\\v.vrl .(5)");
    EXPECT_EQ(prompt.messages[1].caption, u"error");

    // A target held at the moment of the move: nothing was created.
    files.failCreate = false;
    files.failCommit = true;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], old);
    EXPECT_EQ(prompt.messages[2].text, u"Can't create \\d\\v.vrl .(32)");
    EXPECT_FALSE(state.saving);

    // Everything written, but the data never reached the disk.
    files.failCommit = false;
    files.failFlush = true;
    EXPECT_EQ(write(ctx, u"\\d\\v.vrl"), 0);
    EXPECT_EQ(files.files[u"\\d\\v.vrl"], old);
    EXPECT_EQ(prompt.messages[3].text, u"Save error at \\d\\v.vrl .(29)");
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
