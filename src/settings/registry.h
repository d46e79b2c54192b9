#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace vantrel {

// The registry types the record writes; every other type is Other.
enum class RegistryType : std::uint8_t { Dword, String, Other };

struct StoredValueInfo {
    std::uint32_t size = 0; // bytes
    RegistryType type = RegistryType::Other;
};

// An opened registry key; closing it is destroying it.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // Size and type of a stored value, or nothing when it cannot be queried.
    virtual std::optional<StoredValueInfo> QueryInfo(std::u16string_view name) = 0;
    // Reads a value into `buffer`; the byte count read, or nothing on failure.
    virtual std::optional<std::uint32_t> Query(std::u16string_view name,
                                               std::span<std::uint8_t> buffer) = 0;
    // REG_DWORD, 4 bytes.
    virtual bool SetDword(std::u16string_view name, std::int32_t value) = 0;
    // REG_SZ, stored with its terminator: (length + 1) * 2 bytes.
    virtual bool SetString(std::u16string_view name, std::u16string_view text) = 0;
};

// The registry seam, rooted at the current user's hive.
class Registry {
  public:
    virtual ~Registry() = default;
    virtual std::unique_ptr<RegistryKey> Open(std::u16string_view path) = 0;
    virtual std::unique_ptr<RegistryKey> Create(std::u16string_view path) = 0;
    virtual bool DeleteKey(std::u16string_view path) = 0;
};

} // namespace vantrel
