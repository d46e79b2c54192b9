#include "win32/bindings/win32_registry.h"
#include "win32/bindings/debug_trace.h"

#include "win32/bindings/wide_text.h"

#include <windows.h>

namespace vantrel {
namespace {

// The device accepts key paths with a leading backslash; the desktop
// registry does not, so it is dropped here.
std::wstring KeyPath(std::u16string_view path) {
    if (!path.empty() && path.front() == u'\\') {
        path.remove_prefix(1);
    }
    return ToWide(path);
}

class Win32Key : public RegistryKey {
  public:
    explicit Win32Key(HKEY key) : key_(key) {}
    ~Win32Key() override { RegCloseKey(key_); }
    Win32Key(const Win32Key&) = delete;
    Win32Key& operator=(const Win32Key&) = delete;

    std::optional<StoredValueInfo> QueryInfo(std::u16string_view name) override {
        DWORD type = REG_NONE;
        DWORD size = 0;
        const std::wstring n = ToWide(name);
        if (RegQueryValueExW(key_, n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return StoredValueInfo{size, TypeOf(type)};
    }
    std::optional<std::uint32_t> Query(std::u16string_view name,
                                       std::span<std::uint8_t> buffer) override {
        DWORD size = static_cast<DWORD>(buffer.size());
        const std::wstring n = ToWide(name);
        if (RegQueryValueExW(key_, n.c_str(), nullptr, nullptr, buffer.data(), &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        return size;
    }
    bool SetDword(std::u16string_view name, std::int32_t value) override {
        const std::wstring n = ToWide(name);
        return Written(n, RegSetValueExW(key_, n.c_str(), 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&value), sizeof value));
    }
    bool SetString(std::u16string_view name, std::u16string_view text) override {
        const std::wstring n = ToWide(name);
        const std::wstring t = ToWide(text);
        return Written(n, RegSetValueExW(key_, n.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(t.c_str()),
                                         static_cast<DWORD>((t.size() + 1) * sizeof(wchar_t))));
    }

  private:
    static RegistryType TypeOf(DWORD type) {
        switch (type) {
        case REG_DWORD:
            return RegistryType::Dword;
        case REG_SZ:
            return RegistryType::String;
        default:
            return RegistryType::Other;
        }
    }
    static bool Written(const std::wstring& name, LSTATUS status) {
        if (status != ERROR_SUCCESS) {
            TraceFailure(L"RegSetValueExW " + name, static_cast<std::uint32_t>(status));
        }
        return status == ERROR_SUCCESS;
    }

    HKEY key_;
};

} // namespace

std::unique_ptr<RegistryKey> Win32Registry::Open(std::u16string_view path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::Create(std::u16string_view path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    wchar_t emptyClass[] = L"";
    const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, emptyClass,
                                           0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS) {
        TraceFailure(L"RegCreateKeyExW " + KeyPath(path), static_cast<std::uint32_t>(status));
        return nullptr;
    }
    return std::make_unique<Win32Key>(key);
}

bool Win32Registry::DeleteKey(std::u16string_view path) {
    return RegDeleteKeyW(HKEY_CURRENT_USER, KeyPath(path).c_str()) == ERROR_SUCCESS;
}

} // namespace vantrel
