#include "storage/data_file.h"

#include "counter/counter_settings.h"
#include "counter/text_compose.h"
#include "settings/settings_store.h"
#include "storage/data_file_path.h"
#include "storage/file_replace.h"
#include "storage/morvik_import.h"
#include "storage/record_merge.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "text/text_ids.h"
#include "text/utf8.h"

#include <iterator>
#include <optional>
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

std::string RecordsOf(std::span<const Item> items, const ShiftJisCodec& codec) {
    std::string records;
    for (const Item& item : items) {
        AppendVrlRecord(records, item, codec);
    }
    return records;
}

RecordLoad LoadInto(DataFileContext& ctx, ItemList& list, TagIndex& tags) {
    return RecordLoad{list,     tags, ctx.codec, ctx.clock.Now(), CounterSettingsFrom(ctx.settings),
                      ctx.texts};
}

// What a read tells about `path` before its records are looked at.
void Remember(DataFileContext& ctx, std::u16string_view path, const FileIdentity& identity) {
    ctx.state.knownPath = path;
    ctx.state.known = identity;
    ctx.state.base.clear();
    ctx.state.knownExact = !identity.exists; // a missing file holds nothing to lose
    ctx.state.pending = false;
}

template <class Reader>
int LoadContent(DataFileContext& ctx, std::u16string_view path, const FileContent& content,
                Reader reader, bool ownFormat) {
    const std::size_t first = ctx.store.own.size();
    RecordLoad load = LoadInto(ctx, ctx.store.own, ctx.store.ownTags);
    load.cuts = ctx.cuts;
    const int records = reader(content.bytes, load);
    // Only a file that the list writes back byte for byte may be replaced
    // without keeping it: anything else (a line break the list cannot hold,
    // a byte that does not convert, a record cut short) would be lost. UTF-8
    // text may write back exactly and still be garbled: the user's original
    // is kept too.
    const std::span<const Item> read(ctx.store.own.data() + first, ctx.store.own.size() - first);
    Remember(ctx, path, content.identity);
    ctx.state.base = RecordsOf(read, ctx.codec);
    ctx.state.knownExact =
        ownFormat && WritesBackAs(read, content.bytes, ctx.codec) && !LooksLikeUtf8(content.bytes);
    if (records == 0) {
        return 0;
    }
    ctx.state.currentPath = path;
    return 1;
}

// Says why `content` could not be read; false when it could.
bool ReadFailed(DataFileContext& ctx, std::u16string_view path, const FileContent& content) {
    switch (content.status) {
    case ReadStatus::kRead:
        return false;
    case ReadStatus::kTooLarge:
        ctx.state.tooLarge = path;
        ShowError(ctx, Formatted(ctx, text_id::kFileTooLarge, path));
        return true;
    case ReadStatus::kNotRegular:
        ShowError(ctx, Formatted(ctx, text_id::kNotRegularFile, path));
        return true;
    case ReadStatus::kCannotOpen:
    case ReadStatus::kFailed:
        break;
    }
    ShowError(ctx, u"Can't open '" + std::u16string(path) + u"'");
    return true;
}

template <class Reader>
int ReadWith(DataFileContext& ctx, std::u16string_view path, Reader reader, bool ownFormat) {
    ctx.state.tooLarge.clear();
    const FileContent content = ctx.files.Read(path, kMaxDataFileBytes);
    if (ReadFailed(ctx, path, content)) {
        Remember(ctx, path, content.identity);
        return 0;
    }
    return LoadContent(ctx, path, content, reader, ownFormat);
}

// Copies `bytes` to a new file beside `path` and tells the user which, with
// the message `textId`. False, with the reason shown, when no copy can be
// made.
bool KeepCopy(DataFileContext& ctx, std::u16string_view path, std::string_view bytes, int textId) {
    const SystemTime now = ctx.clock.Now();
    std::uint32_t error = 0;
    for (int attempt = 1; attempt <= kKeepAttempts; ++attempt) {
        const std::u16string copy = KeptOriginalName(path, now, attempt);
        if (ctx.files.Exists(copy)) {
            continue; // an earlier copy is never overwritten
        }
        if (!ctx.files.CreateNew(copy, bytes, error)) {
            break;
        }
        ctx.prompt.ShowMessage(Formatted(ctx, textId, copy), u"Warning", kMbIconInformation);
        return true;
    }
    ShowError(ctx, Formatted(ctx, text_id::kCannotKeepOriginal, path, error));
    return false;
}

// Whether a replacement of `path` can be made at all (a read-only file, a
// folder that takes no new file): said when it cannot.
bool CanReplace(DataFileContext& ctx, std::u16string_view path) {
    std::uint32_t error = 0;
    if (ctx.files.Replace(path, error)) {
        return true; // the trial temporary goes at once
    }
    ShowError(ctx, u"Can't create " + std::u16string(path) + u" .(" +
                       Decimal(static_cast<std::int32_t>(error)) + u")");
    return false;
}

// Another program changed the file the list came from: the list's own
// changes since then are applied to that version, which becomes the list.
// False when they cannot be applied unambiguously.
bool TakeTheirs(DataFileContext& ctx, const FileContent& theirs, std::string& ours) {
    ItemList parsed;
    TagIndex tags;
    RecordLoad load = LoadInto(ctx, parsed, tags);
    ReadVrlRecords(theirs.bytes, load);
    if (!WritesBackAs(parsed, theirs.bytes, ctx.codec) || LooksLikeUtf8(theirs.bytes)) {
        return false; // not records alone: a merge by line could lose bytes
    }
    const std::optional<std::string> merged =
        MergeRecordChanges(ctx.state.base, ours, theirs.bytes);
    if (!merged) {
        return false;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    RecordLoad into = LoadInto(ctx, ctx.store.own, ctx.store.ownTags);
    ReadVrlRecords(*merged, into);
    ours = RecordsOf(ctx.store.own, ctx.codec);
    ctx.state.reloaded = true;
    return true;
}

// How many times in a row another program may change the file between
// the check and the move before the save gives up.
constexpr int kReplaceAttempts = 4;

int Store(DataFileContext& ctx, std::u16string_view path) {
    if (!ctx.state.tooLarge.empty() && path == ctx.state.tooLarge) {
        ShowError(ctx, Formatted(ctx, text_id::kFileTooLarge, path));
        return 0;
    }
    std::string ours = RecordsOf(ctx.store.own, ctx.codec);
    const bool fromHere = path == ctx.state.knownPath;
    FileIdentity expected = ctx.state.known;
    if (!fromHere || !ctx.state.knownExact) {
        // The file is not known to hold the list's records: what it holds
        // now is kept beside it before anything replaces it.
        FileContent now = ctx.files.Read(path, kMaxDataFileBytes);
        if (now.status != ReadStatus::kRead) {
            if (now.identity.exists || now.status != ReadStatus::kCannotOpen) {
                if (now.status == ReadStatus::kCannotOpen) {
                    ShowError(ctx, Formatted(ctx, text_id::kCannotKeepOriginal, path, 32));
                } else {
                    ReadFailed(ctx, path, now);
                }
                return 0;
            }
            expected = now.identity; // no such file: nothing to keep
        } else if ((fromHere && !SameContent(now.identity, ctx.state.known) &&
                    TakeTheirs(ctx, now, ours)) ||
                   now.bytes == ours ||
                   (ctx.state.knownExact && SameContent(now.identity, ctx.state.known))) {
            // Another program's version took the list's changes; or the file
            // holds the list already, or exactly what the list came from
            // (under another spelling of its name): nothing to keep.
            expected = now.identity;
        } else if (!CanReplace(ctx, path)) {
            return 0; // said why; no copy of a file that is not replaced
        } else {
            const int message = !fromHere ? text_id::kKeptExisting
                                : SameContent(now.identity, ctx.state.known)
                                    ? text_id::kKeptOriginal
                                    : text_id::kKeptOtherVersion;
            if (!KeepCopy(ctx, path, now.bytes, message)) {
                return 0;
            }
            expected = now.identity;
        }
    }
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        ReplaceResult result =
            ReplaceIfUnchanged(ctx.files, path, expected, ours, kMaxDataFileBytes);
        const std::u16string code =
            u" .(" + Decimal(static_cast<std::int32_t>(result.error)) + u")";
        switch (result.status) {
        case ReplaceStatus::kReplaced:
            ctx.state.knownPath = path;
            ctx.state.known = result.written;
            ctx.state.base = std::move(ours);
            ctx.state.knownExact = true;
            ctx.state.pending = false;
            return 1;
        case ReplaceStatus::kCannotCreate:
        case ReplaceStatus::kCannotMove:
            ShowError(ctx, u"Can't create " + std::u16string(path) + code);
            return 0;
        case ReplaceStatus::kWriteFailed:
            ShowError(ctx, u"Save error at " + std::u16string(path) + code);
            return 0;
        case ReplaceStatus::kChanged:
            break;
        }
        const FileContent& theirs = result.current;
        if (theirs.status != ReadStatus::kRead) {
            if (theirs.identity.exists || theirs.status != ReadStatus::kCannotOpen) {
                ReadFailed(ctx, path, theirs);
                return 0;
            }
            expected = theirs.identity; // removed meanwhile: the list is all there is
            continue;
        }
        if (!(fromHere && TakeTheirs(ctx, theirs, ours)) &&
            !KeepCopy(ctx, path, theirs.bytes, text_id::kKeptOtherVersion)) {
            return 0;
        }
        expected = theirs.identity;
    }
    ShowError(ctx, u"Can't create " + std::u16string(path) + u" .(32)");
    return 0;
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
    const int result = Store(ctx, path);
    ctx.state.pending = result == 0;
    ctx.state.saving = false;
    return result;
}

bool IsReplaceable(const DataFileState& state, std::u16string_view path) {
    return state.knownExact && path == state.knownPath;
}

bool ReloadIfChangedOutside(DataFileContext& ctx) {
    DataFileState& state = ctx.state;
    if (state.pending || state.saving || state.currentPath.empty() ||
        state.currentPath.view() != state.knownPath ||
        !MayHaveChanged(state.known, ctx.files.Stat(state.knownPath))) {
        return false;
    }
    const std::u16string path = state.knownPath;
    const FileContent content = ctx.files.Read(path, kMaxDataFileBytes);
    if (content.status != ReadStatus::kRead) {
        return false; // held or gone for now: the next poll looks again
    }
    if (SameContent(content.identity, state.known)) {
        state.known.writeTime = content.identity.writeTime; // only touched
        return false;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    const bool mvk = IsMorvikPath(path);
    if (mvk) {
        LoadContent(ctx, path, content, ImportMorvikRecords, false);
    } else {
        LoadContent(ctx, path, content, ReadVrlRecords, true);
    }
    state.currentPath = path;
    return true;
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
    write(ctx, path);
}

int saveAs(DataFileContext& ctx) {
    std::u16string path = NormalizedExtension(ctx.state.currentPath.view());
    if (ctx.prompt.askSaveFileName(path, FilterOf(kSaveFilter)) == 0 || path.empty()) {
        return 1;
    }
    if (write(ctx, path) == 0) {
        ctx.prompt.ShowMessage(LoadText(ctx.texts, text_id::kSaveAsFailed), u"Warning",
                               kMbIconExclamation);
        return 0;
    }
    ctx.state.currentPath = path;
    return 1;
}

bool ChangeDataFile(DataFileContext& ctx, std::u16string_view chosen) {
    // The name a save would write: an existing file of that name is the
    // one to open, never one to overwrite.
    const std::u16string path = NormalizedExtension(chosen);
    if (path.empty() || path == ctx.state.currentPath.view()) {
        return true;
    }
    if (ctx.state.pending && ctx.prompt.ShowMessage(LoadText(ctx.texts, text_id::kAskDropUnsaved),
                                                    u"Warning", kAskYesNo) != kIdYes) {
        return false;
    }
    ctx.state.currentPath = path; // even when it holds no entry yet
    const FileIdentity there = ctx.files.Stat(path);
    if (!there.exists) {
        save(ctx);
        return true;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    readByName(ctx, path);
    return true;
}

void OpenAtStartUp(DataFileContext& ctx) {
    if (ctx.state.currentPath.empty()) {
        ctx.state.currentPath = kDefaultDataFile;
    }
    // A save killed half-way leaves its temporary; it is never data.
    ctx.files.RemoveStaleTemporaries(ctx.state.currentPath.view());
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
