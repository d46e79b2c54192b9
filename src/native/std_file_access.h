#pragma once

#include "storage/file_access.h"

namespace vantrel {

// Native binding of the file-system seam for the desktop tools: UTF-8 file
// names, errno as the error code, a uniquely named temporary beside the
// target that rename() puts in its place after fsync.
class StdFileAccess : public FileAccess {
  public:
    ReadStatus ReadAll(std::u16string_view path, std::string& bytes, std::size_t maxBytes) override;
    bool Exists(std::u16string_view path) override;
    bool CopyToNew(std::u16string_view path, std::u16string_view copy,
                   std::uint32_t& error) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
};

} // namespace vantrel
