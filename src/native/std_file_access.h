#pragma once

#include "storage/file_access.h"

#include <string_view>

namespace vantrel {

// Native binding of the file-system seam for the desktop tools: file names
// as bytes (see ToNativeName), errno as the error code, a uniquely named
// temporary ".~vrlXXXXXX.tmp" beside the target that rename() puts in its place
// after fsync.
class StdFileAccess : public FileAccess {
  public:
    FileContent Read(std::u16string_view path, std::size_t maxBytes) override;
    FileIdentity Stat(std::u16string_view path) override;
    bool CreateNew(std::u16string_view path, std::string_view bytes, std::uint32_t& error) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
    void RemoveStaleTemporaries(std::u16string_view path) override;
};

// The name pattern of the temporaries: ".~vrl", six letters or digits, ".tmp".
bool IsTemporaryName(std::string_view name);

} // namespace vantrel
