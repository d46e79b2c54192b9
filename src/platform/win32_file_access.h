#pragma once

#include "storage/file_access.h"

namespace vantrel {

// The file-system seam on Win32: a replacement is written to "<path>.tmp"
// (read and write access, shared for reading, normal attributes) and moved
// over the data file with MoveFileExW once every write succeeded.
class Win32FileAccess : public FileAccess {
  public:
    bool ReadAll(std::u16string_view path, std::string& bytes) override;
    bool Exists(std::u16string_view path) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
};

} // namespace vantrel
