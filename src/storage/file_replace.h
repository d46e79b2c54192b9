#pragma once

#include "storage/file_access.h"

#include <cstdint>
#include <string_view>

namespace vantrel {

// The hash a FileIdentity carries: FNV-1a over the bytes.
std::uint64_t ContentHash(std::string_view bytes);

// The bindings' read loop, shared: appends one piece read; false, with the
// content emptied and kTooLarge, when the file grew past `maxBytes` while
// it was read.
bool AppendRead(FileContent& content, std::string_view piece, std::size_t maxBytes);

// Ends a whole read: the identity is of exactly the bytes read, so a file
// still growing does not match it later and its end is never written over.
void CompleteRead(FileContent& content);

// The same content: both missing, or equal size and hash. The write time
// alone does not count, so a file merely touched is not "changed".
bool SameContent(const FileIdentity& a, const FileIdentity& b);

// True when a Stat shows the file may differ from `known`: a cheap check
// before reading it again.
bool MayHaveChanged(const FileIdentity& known, const FileIdentity& now);

enum class ReplaceStatus {
    kReplaced,     // the file holds `bytes`; `written` is its identity
    kChanged,      // the file is not what the caller read; `current` holds it now
    kCannotCreate, // no temporary (or a read-only target): nothing written
    kWriteFailed,  // writing or flushing the temporary failed: nothing written
    kCannotMove,   // the temporary could not be moved over the file
};

struct ReplaceResult {
    ReplaceStatus status = ReplaceStatus::kCannotCreate;
    std::uint32_t error = 0;
    FileIdentity written;
    FileContent current; // for kChanged
};

// The one way a user's file is replaced: `bytes` go to a temporary beside
// it, are flushed, and are moved over the file only when the file is still
// what `expected` says (a missing file when `expected.exists` is false).
// Otherwise nothing is written and the caller gets the file's content as it
// is now, to apply its change to.
ReplaceResult ReplaceIfUnchanged(FileAccess& files, std::u16string_view path,
                                 const FileIdentity& expected, std::string_view bytes,
                                 std::size_t maxBytes);

} // namespace vantrel
