#include "storage/data_file.h"

#include "counter/counter_settings.h"
#include "counter/text_compose.h"
#include "settings/settings_store.h"
#include "storage/data_file_path.h"
#include "storage/morvik_import.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "text/text_ids.h"
#include "text/utf8.h"

#include <iterator>
#include <span>
#include <string>

namespace vantrel {
namespace {

constexpr char16_t kOpenFilter[] = u"Vantrelファイル (*.vrl)\0*.vrl\0"
                                   u"Morvikファイル (*.mvk)\0*.mvk\0"
                                   u"すべてのファイル (*.*)\0*.*\0";
constexpr char16_t kSaveFilter[] = u"Vantrelファイル (*.vrl)\0*.vrl\0"
                                   u"すべてのファイル (*.*)\0*.*\0";

// The array's own terminator ends the list with the empty string.
template <std::size_t N> constexpr std::u16string_view FilterOf(const char16_t (&filter)[N]) {
    return std::u16string_view(filter, N);
}

constexpr std::size_t kWriteChunk = std::size_t{64} * 1024;
constexpr int kKeepAttempts = 99;
// Long enough to recognise the file, short enough that the copy's name fits
// every file system's limit even in UTF-8.
constexpr std::size_t kKeptNameUnits = 60;

void ShowError(DataFileContext& ctx, const std::u16string& text) {
    ctx.prompt.ShowMessage(text, u"error", kMbOk);
}

// A string-table text with "%s" and "%d" filled in.
std::u16string Formatted(DataFileContext& ctx, int id, std::u16string_view path,
                         std::uint32_t code = 0) {
    std::u16string text = LoadText(ctx.texts, id);
    if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) {
        text.replace(at, 2, path);
    }
    if (const std::size_t at = text.find(u"%d"); at != std::u16string::npos) {
        text.replace(at, 2, Decimal(static_cast<std::int32_t>(code)));
    }
    return text;
}

template <class Reader>
int ReadWith(DataFileContext& ctx, std::u16string_view path, Reader reader, bool ownFormat) {
    ctx.state.replaceable.clear();
    ctx.state.tooLarge.clear();
    std::string bytes;
    switch (ctx.files.ReadAll(path, bytes, kMaxDataFileBytes)) {
    case ReadStatus::kRead:
        break;
    case ReadStatus::kTooLarge:
        ctx.state.tooLarge = path;
        ShowError(ctx, Formatted(ctx, text_id::kFileTooLarge, path));
        return 0;
    case ReadStatus::kCannotOpen:
    case ReadStatus::kFailed:
        ShowError(ctx, u"Can't open '" + std::u16string(path) + u"'");
        return 0;
    }
    const std::size_t first = ctx.store.own.size();
    RecordLoad load{ctx.store.own,
                    ctx.store.ownTags,
                    ctx.codec,
                    ctx.clock.Now(),
                    CounterSettingsFrom(ctx.settings),
                    ctx.texts,
                    ctx.cuts};
    const int records = reader(bytes, load);
    // Only a file that the list writes back byte for byte may be replaced
    // without keeping it: anything else (a line break the list cannot hold,
    // a byte that does not convert, a record cut short) would be lost. UTF-8
    // text may write back exactly and still be garbled: the user's original
    // is kept too.
    const std::span<const Item> read(ctx.store.own.data() + first, ctx.store.own.size() - first);
    if (ownFormat && WritesBackAs(read, bytes, ctx.codec) && !LooksLikeUtf8(bytes)) {
        ctx.state.replaceable = path;
    }
    if (records == 0) {
        return 0;
    }
    ctx.state.currentPath = path;
    return 1;
}

// Before a save replaces a file whose bytes the list does not hold, its
// original is copied beside it under a name of its own, and the user is
// told where. False, with the reason shown, when that cannot be done.
bool OriginalIsSafe(DataFileContext& ctx, std::u16string_view path) {
    if (path == ctx.state.tooLarge) {
        ShowError(ctx, Formatted(ctx, text_id::kFileTooLarge, path));
        return false;
    }
    if (path == ctx.state.replaceable || !ctx.files.Exists(path)) {
        return true;
    }
    const SystemTime now = ctx.clock.Now();
    std::uint32_t error = 0;
    for (int attempt = 1; attempt <= kKeepAttempts; ++attempt) {
        const std::u16string copy = KeptOriginalName(path, now, attempt);
        if (ctx.files.Exists(copy)) {
            continue; // an earlier copy is never overwritten
        }
        if (!ctx.files.CopyToNew(path, copy, error)) {
            break;
        }
        ctx.state.replaceable = path;
        ctx.prompt.ShowMessage(Formatted(ctx, text_id::kKeptOriginal, copy), u"Warning",
                               kMbIconInformation);
        return true;
    }
    ShowError(ctx, Formatted(ctx, text_id::kCannotKeepOriginal, path, error));
    return false;
}

} // namespace

std::u16string KeptOriginalName(std::u16string_view path, const SystemTime& now, int attempt) {
    const std::size_t slash = path.find_last_of(u"\\/");
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    std::u16string name(path.substr(0, nameStart));
    std::u16string_view file = path.substr(nameStart);
    if (file.size() > kKeptNameUnits) {
        std::size_t cut = kKeptNameUnits;
        if (file[cut - 1] >= 0xD800 && file[cut - 1] < 0xDC00) {
            --cut; // never half a surrogate pair
        }
        file = file.substr(0, cut);
    }
    name += file;
    const auto two = [](int v) { return std::u16string(v < 10 ? u"0" : u"") + Decimal(v); };
    name += u".orig-" + Decimal(now.year) + two(now.month) + two(now.day) + u"-" + two(now.hour) +
            two(now.minute);
    if (attempt > 1) {
        name += u"-" + Decimal(attempt);
    }
    return name;
}

int read(DataFileContext& ctx, std::u16string_view path) {
    return ReadWith(ctx, path, ReadVrlRecords, true);
}

int importMvk(DataFileContext& ctx, std::u16string_view path) {
    return ReadWith(ctx, path, ImportMorvikRecords, false);
}

int readByName(DataFileContext& ctx, std::u16string_view path) {
    return IsMorvikPath(path) ? importMvk(ctx, path) : read(ctx, path);
}

int write(DataFileContext& ctx, std::u16string_view path) {
    ctx.state.saving = true;
    std::uint32_t error = 0;
    std::unique_ptr<FileReplacement> file = ctx.files.Replace(path, error);
    const auto cannotCreate = [&] {
        ShowError(ctx, u"Can't create " + std::u16string(path) + u" .(" +
                           Decimal(static_cast<std::int32_t>(error)) + u")");
        ctx.state.saving = false;
        return 0;
    };
    if (!file) {
        return cannotCreate();
    }
    // A failed write marks the save as failed, but the rest is still written.
    bool ok = true;
    std::string chunk;
    const auto flush = [&] {
        if (!file->Write(chunk) && ok) {
            ok = false;
            error = file->LastError();
        }
        chunk.clear();
    };
    for (const Item& item : ctx.store.own) {
        AppendVrlRecord(chunk, item, ctx.codec);
        if (chunk.size() >= kWriteChunk) {
            flush();
        }
    }
    if (!chunk.empty()) {
        flush();
    }
    if (ok && !file->Flush()) {
        ok = false;
        error = file->LastError();
    }
    if (!ok) {
        file.reset(); // the temporary goes; the old file is untouched
        ShowError(ctx, u"Save error at " + std::u16string(path) + u" .(" +
                           Decimal(static_cast<std::int32_t>(error)) + u")");
        ctx.state.saving = false;
        return 0;
    }
    if (!file->Commit()) {
        error = file->LastError();
        file.reset();
        return cannotCreate();
    }
    ctx.state.saving = false;
    return 1;
}

void open(DataFileContext& ctx) {
    if (ctx.state.currentPath.empty()) {
        openWithDialog(ctx);
        return;
    }
    const std::u16string path = ctx.state.currentPath.str();
    readByName(ctx, path);
}

int openWithDialog(DataFileContext& ctx) {
    std::u16string path;
    if (ctx.prompt.askOpenFileName(path, FilterOf(kOpenFilter)) == 0 || path.empty()) {
        return 0;
    }
    return readByName(ctx, path);
}

void save(DataFileContext& ctx) {
    if (ctx.state.saving) {
        return;
    }
    ctx.state.currentPath = NormalizedExtension(ctx.state.currentPath.view());
    if (ctx.state.currentPath.empty()) {
        saveAs(ctx);
        return;
    }
    ctx.settings.OpenFile = ctx.state.currentPath.view();
    SaveOpenFile(ctx.settings, ctx.registry);
    const std::u16string path = ctx.state.currentPath.str();
    if (OriginalIsSafe(ctx, path) && write(ctx, path) != 0) {
        ctx.state.replaceable = path;
    }
}

int saveAs(DataFileContext& ctx) {
    std::u16string path = NormalizedExtension(ctx.state.currentPath.view());
    if (ctx.prompt.askSaveFileName(path, FilterOf(kSaveFilter)) == 0 || path.empty()) {
        return 1;
    }
    if (!OriginalIsSafe(ctx, path) || write(ctx, path) == 0) {
        ctx.prompt.ShowMessage(LoadText(ctx.texts, text_id::kSaveAsFailed), u"Warning",
                               kMbIconExclamation);
        return 0;
    }
    ctx.state.currentPath = path;
    ctx.state.replaceable = path;
    return 1;
}

void ChangeDataFile(DataFileContext& ctx, std::u16string_view path) {
    if (path.empty() || path == ctx.state.currentPath.view()) {
        return;
    }
    ctx.state.currentPath = path; // even when it holds no entry yet
    if (!ctx.files.Exists(path)) {
        save(ctx);
        return;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    readByName(ctx, path);
}

void OpenAtStartUp(DataFileContext& ctx) {
    if (ctx.state.currentPath.empty()) {
        ctx.state.currentPath = kDefaultDataFile;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    open(ctx);
}

void CreateAtStartUp(DataFileContext& ctx) {
    const std::u16string path = NormalizedExtension(ctx.state.currentPath.view());
    if (path.empty() || ctx.files.Exists(path)) {
        return;
    }
    save(ctx);
}

} // namespace vantrel
