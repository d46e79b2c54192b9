#include "storage/data_file.h"

#include "counter/counter_settings.h"
#include "counter/text_compose.h"
#include "settings/settings_store.h"
#include "storage/data_file_path.h"
#include "storage/morvik_import.h"
#include "storage/vrl_reader.h"
#include "storage/vrl_writer.h"
#include "text/text_ids.h"

#include <iterator>
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

constexpr std::size_t kWriteChunk = 64 * 1024;

void ShowError(DataFileContext& ctx, const std::u16string& text) {
    ctx.prompt.ShowMessage(text, u"error", kMbOk);
}

template <class Reader>
int ReadWith(DataFileContext& ctx, std::u16string_view path, Reader reader) {
    std::string bytes;
    if (!ctx.files.ReadAll(path, bytes)) {
        ctx.state.keepIntact = ctx.files.Exists(path);
        ShowError(ctx, u"Can't open '" + std::u16string(path) + u"'");
        return 0;
    }
    ctx.state.keepIntact = false;
    RecordLoad load{ctx.store.own,
                    ctx.store.ownTags,
                    ctx.codec,
                    ctx.clock.Now(),
                    CounterSettingsFrom(ctx.settings),
                    ctx.texts};
    if (reader(bytes, load) == 0) {
        return 0;
    }
    ctx.state.currentPath = path;
    return 1;
}

} // namespace

int read(DataFileContext& ctx, std::u16string_view path) {
    return ReadWith(ctx, path, ReadVrlRecords);
}

int importMvk(DataFileContext& ctx, std::u16string_view path) {
    return ReadWith(ctx, path, ImportMorvikRecords);
}

int readByName(DataFileContext& ctx, std::u16string_view path) {
    return IsMorvikPath(path) ? importMvk(ctx, path) : read(ctx, path);
}

int write(DataFileContext& ctx, std::u16string_view path) {
    ctx.state.saving = true;
    std::uint32_t error = 0;
    std::unique_ptr<FileReplacement> file = ctx.files.Replace(path, error);
    if (!file) {
        ShowError(ctx, u"Can't create " + std::u16string(path) + u" .(" +
                           Decimal(static_cast<std::int32_t>(error)) + u")");
        ctx.state.saving = false;
        return 0;
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
    if (ok && !file->Commit()) {
        ok = false;
        error = file->LastError();
    }
    file.reset(); // an uncommitted replacement is discarded here
    if (!ok) {
        ShowError(ctx, u"Save error at " + std::u16string(path) + u" .(" +
                           Decimal(static_cast<std::int32_t>(error)) + u")");
    }
    ctx.state.saving = false;
    return ok ? 1 : 0;
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

void OpenAtStartUp(DataFileContext& ctx) {
    if (ctx.state.currentPath.empty()) {
        ctx.state.currentPath = kDefaultDataFile;
    }
    ctx.store.own.clear();
    ClearTagIndex(ctx.store.ownTags);
    open(ctx);
}

void SaveAtStartUp(DataFileContext& ctx) {
    if (ctx.state.keepIntact) {
        ctx.state.keepIntact = false;
        return;
    }
    save(ctx);
}

} // namespace vantrel
