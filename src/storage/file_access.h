#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel {

// A new content for a file, written to a temporary of its own beside it and
// put in its place only by Commit, so a failure half-way leaves the old file
// as it was. Destroying an uncommitted replacement deletes the temporary and
// nothing else.
class FileReplacement {
  public:
    virtual ~FileReplacement() = default;
    virtual bool Write(std::string_view bytes) = 0;
    // Flushes what was written to the disk; a failure is a write failure.
    virtual bool Flush() = 0;
    // Moves the flushed temporary over the file, keeping the file's mode
    // and attributes; a failure leaves the old file intact.
    virtual bool Commit() = 0;
    // The platform's error code of the last failed call.
    virtual std::uint32_t LastError() const = 0;
};

enum class ReadStatus {
    kRead,       // the whole file is in `bytes`
    kCannotOpen, // missing, or held by another program
    kTooLarge,   // larger than the limit: nothing was read
    kFailed,     // opened, but not read to its end
};

// The file-system seam of the data-file flows.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // The whole file, unless it is larger than `maxBytes`. Opens with read
    // and write sharing, so a file another program is editing can be read.
    virtual ReadStatus ReadAll(std::u16string_view path, std::string& bytes,
                               std::size_t maxBytes) = 0;
    virtual bool Exists(std::u16string_view path) = 0;
    // Copies `path` byte for byte into the new file `copy`, flushed to the
    // disk. Fails without touching anything when `copy` exists already.
    virtual bool CopyToNew(std::u16string_view path, std::u16string_view copy,
                           std::uint32_t& error) = 0;
    // Nullptr when no temporary can be created; `error` then says why.
    virtual std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                                     std::uint32_t& error) = 0;
};

} // namespace vantrel
