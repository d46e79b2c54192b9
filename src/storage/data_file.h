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
    // The file the own list was last read from or written to, what it was
    // then, and the records read from it or written, as the writer writes
    // them: a save replaces that file only while it is still `known`, and
    // applies the list's changes since `base` to another program's version.
    std::u16string knownPath;
    FileIdentity known;
    std::string base;
    // The file held exactly `base`: it may be replaced without keeping it.
    // Any other existing file is copied aside first.
    bool knownExact = false;
    // The own list holds a change the file does not (a save failed).
    bool pending = false;
    // The own list was read again (another program's version): the view
    // must be built again before its positions are used.
    bool reloaded = false;
    // A file found too large to load: never replaced.
    std::u16string tooLarge;
};

// True when a save may replace `path` as it is, without keeping a copy.
bool IsReplaceable(const DataFileState& state, std::u16string_view path);

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
// failure has been shown. The old file stays intact on failure. A file that
// the list did not come from exactly is copied aside first (and the user
// told where); one another program changed since the list was read gets
// the list's changes applied to it, or is copied aside when they cannot be.
int write(DataFileContext& ctx, std::u16string_view path);

// The refresh poll's check: when no change of the item's own is waiting
// and another program changed the current data file, the own list is read
// from it again. True when it was (the view must be rebuilt).
bool ReloadIfChangedOutside(DataFileContext& ctx);

void open(DataFileContext& ctx);
int openWithDialog(DataFileContext& ctx);
void save(DataFileContext& ctx);
int saveAs(DataFileContext& ctx);

// The data file chosen in the options, under the name a save writes (the
// extension normalised). One that exists becomes the current file and is
// read (the file before it is left as it is) and is never overwritten by
// the current list; a missing one is created with the list. Nothing
// happens for the current file. When the list holds a change that could
// not be saved, the user is asked first; false when the switch was refused.
bool ChangeDataFile(DataFileContext& ctx, std::u16string_view path);

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
