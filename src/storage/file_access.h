#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel {

// A new content for a file, written beside it and put in its place only by
// Commit, so a failure half-way leaves the old file as it was. Destroying an
// uncommitted replacement discards what was written.
class FileReplacement {
  public:
    virtual ~FileReplacement() = default;
    virtual bool Write(std::string_view bytes) = 0;
    virtual bool Commit() = 0;
    // The platform's error code of the last failed call.
    virtual std::uint32_t LastError() const = 0;
};

// The file-system seam of the data-file flows.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // The whole file; false when it cannot be opened or read to its end.
    virtual bool ReadAll(std::u16string_view path, std::string& bytes) = 0;
    virtual bool Exists(std::u16string_view path) = 0;
    // Nullptr when the file cannot be created; `error` then says why.
    virtual std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                                     std::uint32_t& error) = 0;
};

} // namespace vantrel
