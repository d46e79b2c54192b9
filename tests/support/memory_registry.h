#pragma once

// An in-memory registry for tests: keys by path, values with a type and raw
// bytes, and a log of every write in order.

#include "settings/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace vantrel::testing {

enum class ValueType { Dword, String, Binary, Qword };

struct StoredValue {
    ValueType type = ValueType::Binary;
    std::vector<std::uint8_t> bytes;
};

struct MemoryRegistry : Registry {
    std::map<std::u16string, std::map<std::u16string, StoredValue>> keys;
    std::vector<std::u16string> writes; // value names, in write order
    bool failCreate = false;

    class Key : public RegistryKey {
      public:
        Key(MemoryRegistry& owner, std::u16string path) : owner_(owner), path_(std::move(path)) {}

        std::optional<StoredValueInfo> QueryInfo(std::u16string_view name) override {
            const StoredValue* v = Find(name);
            if (!v) {
                return std::nullopt;
            }
            const RegistryType type = v->type == ValueType::Dword    ? RegistryType::Dword
                                      : v->type == ValueType::String ? RegistryType::String
                                                                     : RegistryType::Other;
            return StoredValueInfo{static_cast<std::uint32_t>(v->bytes.size()), type};
        }
        std::optional<std::uint32_t> Query(std::u16string_view name,
                                           std::span<std::uint8_t> buffer) override {
            const StoredValue* v = Find(name);
            if (!v || v->bytes.size() > buffer.size()) {
                return std::nullopt;
            }
            std::copy(v->bytes.begin(), v->bytes.end(), buffer.begin());
            return static_cast<std::uint32_t>(v->bytes.size());
        }
        bool SetDword(std::u16string_view name, std::int32_t value) override {
            StoredValue v{ValueType::Dword, std::vector<std::uint8_t>(4)};
            std::memcpy(v.bytes.data(), &value, 4);
            return Store(name, std::move(v));
        }
        bool SetString(std::u16string_view name, std::u16string_view text) override {
            StoredValue v{ValueType::String, {}};
            for (char16_t c : text) {
                v.bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
                v.bytes.push_back(static_cast<std::uint8_t>(c >> 8));
            }
            v.bytes.push_back(0);
            v.bytes.push_back(0);
            return Store(name, std::move(v));
        }

      private:
        const StoredValue* Find(std::u16string_view name) const {
            auto key = owner_.keys.find(path_);
            if (key == owner_.keys.end()) {
                return nullptr;
            }
            auto value = key->second.find(std::u16string(name));
            return value == key->second.end() ? nullptr : &value->second;
        }
        bool Store(std::u16string_view name, StoredValue v) {
            owner_.keys[path_][std::u16string(name)] = std::move(v);
            owner_.writes.emplace_back(name);
            return true;
        }
        MemoryRegistry& owner_;
        std::u16string path_;
    };

    std::unique_ptr<RegistryKey> Open(std::u16string_view path) override {
        if (!keys.contains(std::u16string(path))) {
            return nullptr;
        }
        return std::make_unique<Key>(*this, std::u16string(path));
    }
    std::unique_ptr<RegistryKey> Create(std::u16string_view path) override {
        if (failCreate) {
            return nullptr;
        }
        keys[std::u16string(path)];
        return std::make_unique<Key>(*this, std::u16string(path));
    }
    bool DeleteKey(std::u16string_view path) override {
        return keys.erase(std::u16string(path)) > 0;
    }

    // Test helpers.
    std::map<std::u16string, StoredValue>& Values(std::u16string_view path) {
        return keys[std::u16string(path)];
    }
    void PutBytes(std::u16string_view path, std::u16string_view name, ValueType type,
                  std::vector<std::uint8_t> bytes) {
        keys[std::u16string(path)][std::u16string(name)] = StoredValue{type, std::move(bytes)};
    }
};

} // namespace vantrel::testing
