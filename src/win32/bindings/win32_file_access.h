#pragma once

#include "storage/file_access.h"

#include <string_view>

namespace vantrel {

// The file-system seam on Win32: files are read with read, write and delete
// sharing; a replacement is written to a uniquely named temporary
// "vrlXXXX.tmp" in the target's folder, flushed, given the target's
// attributes and moved over it with MoveFileExW. A symbolic link is written
// through to its target.
class Win32FileAccess : public FileAccess {
  public:
    FileContent Read(std::u16string_view path, std::size_t maxBytes) override;
    FileIdentity Stat(std::u16string_view path) override;
    bool CreateNew(std::u16string_view path, std::string_view bytes, std::uint32_t& error) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
    void RemoveStaleTemporaries(std::u16string_view path) override;
};

// The name pattern of the temporaries: "vrl", one to four hex digits, ".tmp".
bool IsTemporaryName(std::wstring_view name);

} // namespace vantrel
