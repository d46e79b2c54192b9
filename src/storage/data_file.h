#pragma once

#include "model/item_store.h"
#include "model/system_time.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "storage/file_access.h"
#include "storage/shift_jis_codec.h"
#include "text/text_table.h"
#include "ui/prompt.h"

#include <string_view>

namespace vantrel {

// The current data file and the flags of the flows around it.
struct DataFileState {
    PathText currentPath;
    bool saving = false; // set only while the writer runs
    // The last read met a file that exists but could not be opened or read:
    // the save that ends the start-up must not replace it.
    bool keepIntact = false;
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
};

// The VRL reader: 1 when at least one record was read (the path becomes the
// current path), else 0. Appends; the caller empties the own list first.
int read(DataFileContext& ctx, std::u16string_view path);
// The Morvik import, with the same results.
int importMvk(DataFileContext& ctx, std::u16string_view path);
// The reader the path's name asks for.
int readByName(DataFileContext& ctx, std::u16string_view path);
// Rewrites the file from the own list: nonzero on success, 0 after the
// failure has been shown. The old file stays intact on failure.
int write(DataFileContext& ctx, std::u16string_view path);

void open(DataFileContext& ctx);
int openWithDialog(DataFileContext& ctx);
void save(DataFileContext& ctx);
int saveAs(DataFileContext& ctx);

// Start-up: the default path when none is set, empty own list and index,
// then open. The save that ends the start-up skips a file kept intact.
void OpenAtStartUp(DataFileContext& ctx);
void SaveAtStartUp(DataFileContext& ctx);

} // namespace vantrel
