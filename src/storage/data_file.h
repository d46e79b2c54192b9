#pragma once

#include "model/item_store.h"
#include "model/system_time.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "storage/file_access.h"
#include "storage/shift_jis_codec.h"
#include "text/text_table.h"
#include "ui/prompt.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The largest data file that is loaded: a larger one is neither read nor
// replaced.
inline constexpr std::size_t kMaxDataFileBytes = 64u << 20;

// The current data file and the flags of the flows around it.
struct DataFileState {
    PathText currentPath;
    bool saving = false; // set only while the writer runs
    // The one file a save may replace as it is: the own list was read from
    // it completely and exactly, or written to it, or its old bytes have
    // been kept beside it. Any other existing file is copied aside first.
    std::u16string replaceable;
    // A file found too large to load: never replaced.
    std::u16string tooLarge;
};

struct DataFileContext {
    ItemStore& store; // own list and own tag index
    Settings& settings;
    Registry& registry;
    FileAccess& files;
    Prompt& prompt;
    const ShiftJisCodec& codec;
    const Clock& clock;
    const TextTable& texts;
    DataFileState& state;
    // When set, each read appends a note for each field it cut (RecordLoad).
    std::vector<std::string>* cuts = nullptr;
};

// The VRL reader: 1 when at least one record was read (the path becomes the
// current path), else 0. Appends; the caller empties the own list first.
int read(DataFileContext& ctx, std::u16string_view path);
// The Morvik import, with the same results.
int importMvk(DataFileContext& ctx, std::u16string_view path);
// The reader the path's name asks for.
int readByName(DataFileContext& ctx, std::u16string_view path);
// Rewrites the file from the own list: nonzero on success, 0 after the
// failure has been shown. The old file stays intact on failure. The save
// flows call it only after the file's original is safe.
int write(DataFileContext& ctx, std::u16string_view path);

void open(DataFileContext& ctx);
int openWithDialog(DataFileContext& ctx);
void save(DataFileContext& ctx);
int saveAs(DataFileContext& ctx);

// The data file chosen in the options. One that exists becomes the current
// file and is read (the file before it is left as it is); a missing one is
// created with the list. Nothing happens for the current file.
void ChangeDataFile(DataFileContext& ctx, std::u16string_view path);

// Start-up: the default path when none is set, empty own list and index,
// then open.
void OpenAtStartUp(DataFileContext& ctx);
// The end of the start-up: an existing file is left exactly as it is; a
// missing one is created with the list.
void CreateAtStartUp(DataFileContext& ctx);

// The name the original of `path` is kept under before a save replaces it:
// "<path>.orig-YYYYMMDD-HHMM", then "-2", "-3" ... while such a file exists.
// A very long file name is shortened so the copy can be created.
std::u16string KeptOriginalName(std::u16string_view path, const SystemTime& now, int attempt);

} // namespace vantrel
