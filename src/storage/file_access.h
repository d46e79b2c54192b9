#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel {

// What a file was when it was read: a later replace checks the file on
// disk against it, so a change another program made meanwhile is never
// written over. `hash` covers exactly the bytes read.
struct FileIdentity {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0; // the platform's own units; only compared
    std::uint64_t hash = 0;
};

enum class ReadStatus {
    kRead,       // the whole file is in `bytes`
    kCannotOpen, // missing, or held by another program
    kTooLarge,   // larger than the limit: nothing was read
    kFailed,     // opened, but not read to its end
    kNotRegular, // a folder, a pipe or a device: refused before reading
};

struct FileContent {
    ReadStatus status = ReadStatus::kCannotOpen;
    std::string bytes;
    FileIdentity identity; // `exists` false when there is no such file
};

// A new content for a file, written to a temporary of its own beside it and
// put in its place only by Commit, so a failure half-way leaves the old file
// as it was. Destroying an uncommitted replacement deletes the temporary and
// nothing else. Used only through ReplaceIfUnchanged (storage/file_replace.h).
class FileReplacement {
  public:
    virtual ~FileReplacement() = default;
    virtual bool Write(std::string_view bytes) = 0;
    // Flushes what was written to the disk; a failure is a write failure.
    virtual bool Flush() = 0;
    // Moves the flushed temporary over the file, keeping the file's mode,
    // owner and attributes; a failure leaves the old file intact.
    virtual bool Commit() = 0;
    // The platform's error code of the last failed call.
    virtual std::uint32_t LastError() const = 0;
};

// The file-system seam of every writer of a user's file.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // The whole file with its identity, unless it is larger than
    // `maxBytes`. Opens with read, write and delete sharing, so a file
    // another program is editing can be read; anything but a regular file
    // is refused before a read could block.
    virtual FileContent Read(std::u16string_view path, std::size_t maxBytes) = 0;
    // Existence, size and write time, without reading (hash 0).
    virtual FileIdentity Stat(std::u16string_view path) = 0;
    bool Exists(std::u16string_view path) { return Stat(path).exists; }
    // Creates the new file `path` with `bytes`, flushed to the disk. Fails
    // without touching anything when `path` exists already.
    virtual bool CreateNew(std::u16string_view path, std::string_view bytes,
                           std::uint32_t& error) = 0;
    // A temporary with a short unique name beside `path`'s final target;
    // nullptr, with the platform's error, when none can be created or the
    // target is read-only.
    virtual std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                                     std::uint32_t& error) = 0;
    // Deletes the temporaries that a process killed during a save left in
    // `path`'s folder: files of the temporaries' name pattern older than
    // this process. Nothing else is touched.
    virtual void RemoveStaleTemporaries(std::u16string_view path) = 0;
};

} // namespace vantrel
