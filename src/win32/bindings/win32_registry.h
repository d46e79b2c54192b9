#pragma once

#include "settings/registry.h"

namespace vantrel {

// The registry seam bound to HKEY_CURRENT_USER.
class Win32Registry : public Registry {
  public:
    std::unique_ptr<RegistryKey> Open(std::u16string_view path) override;
    std::unique_ptr<RegistryKey> Create(std::u16string_view path) override;
    bool DeleteKey(std::u16string_view path) override;
};

} // namespace vantrel
