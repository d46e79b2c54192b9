#pragma once

#include "storage/file_access.h"

namespace vantrel {

// Native binding of the file-system seam for the desktop tools: UTF-8 file
// names, errno as the error code, a temporary file beside the target that
// rename() puts in its place.
class StdFileAccess : public FileAccess {
  public:
    bool ReadAll(std::u16string_view path, std::string& bytes) override;
    bool Exists(std::u16string_view path) override;
    std::unique_ptr<FileReplacement> Replace(std::u16string_view path,
                                             std::uint32_t& error) override;
};

} // namespace vantrel
