#pragma once

#include "storage/file_access.h"

namespace vantrel {

// The file-system seam on Win32: files are read with read, write and delete
// sharing; a replacement is written to a uniquely named temporary in the
// target's folder, flushed, given the target's attributes and moved over it
// with MoveFileExW. A symbolic link is written through to its target.
class Win32FileAccess : public FileAccess {
  public:
    ReadStatus ReadAll(std::u16string_view path, std::string& bytes, std::size_t maxBytes) override;
    bool Exists(std::u16string_view path) override;
    bool CopyToNew(std::u16string_view path, std::u16string_view copy,
                   std::uint32_t& error) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
};

} // namespace vantrel
