#include "settings/settings_store.h"

#include "settings/settings_values.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace vantrel {
namespace {

// The compiled-in record, for a code that is no code at all.
const Settings& CompiledDefaults() {
    static const Settings defaults;
    return defaults;
}

// A field takes only what the record itself writes: an integer four bytes
// of REG_DWORD, a text REG_SZ. Anything else would be a guess at what the
// user meant.
struct Readable {
    StoredValueInfo info;

    bool operator()(std::int32_t Settings::*) const {
        return info.type == RegistryType::Dword && info.size == sizeof(std::int32_t);
    }
    template <class Text> bool operator()(Text Settings::*) const {
        return info.type == RegistryType::String;
    }
};

struct FieldReader {
    Settings& settings;
    const std::vector<std::uint8_t>& data;
    const ValueRule& rule;

    // The UTF-16 text up to its terminator (or the end of the data).
    std::u16string Text() const {
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
            if (unit == 0) {
                break;
            }
            text.push_back(unit);
        }
        return text;
    }

    bool operator()(std::int32_t Settings::*field) const {
        if (data.size() != sizeof(std::int32_t)) {
            return false;
        }
        std::int32_t value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        settings.*field = WithinRule(rule, value, CompiledDefaults().*field);
        return true;
    }
    bool operator()(PathText Settings::*field) const {
        (settings.*field).assign(Text());
        return true;
    }
    bool operator()(FaceNameText Settings::*field) const {
        (settings.*field).assign(Text());
        return true;
    }
    bool operator()(std::u16string Settings::*field) const {
        settings.*field = Text();
        return true;
    }
};

HeldSetting HeldValue(const Settings& settings, const SettingValue& value) {
    return std::visit(
        [&settings](auto field) -> HeldSetting {
            using Field = decltype(field);
            if constexpr (std::is_same_v<Field, std::int32_t Settings::*> ||
                          std::is_same_v<Field, std::u16string Settings::*>) {
                return settings.*field;
            } else {
                return (settings.*field).str();
            }
        },
        value.field);
}

// False for a value the record could not read that still holds what it
// held then: the stored value stays as it is.
bool MayWrite(const Settings& settings, const SettingValue& value) {
    for (const UnreadValue& unread : settings.unreadValues) {
        if (unread.name != value.name) {
            continue;
        }
        // The window puts the default file in place of an unread path; that
        // is no path the user chose.
        if (value.name == u"OpenFile" && settings.OpenFile == kDefaultDataFile) {
            return false;
        }
        return HeldValue(settings, value) != unread.heldAtLoad;
    }
    return true;
}

struct FieldWriter {
    const Settings& settings;
    RegistryKey& key;
    std::u16string_view name;

    void operator()(std::int32_t Settings::*field) const { key.SetDword(name, settings.*field); }
    void operator()(PathText Settings::*field) const {
        key.SetString(name, (settings.*field).view());
    }
    void operator()(FaceNameText Settings::*field) const {
        key.SetString(name, (settings.*field).view());
    }
    void operator()(std::u16string Settings::*field) const { key.SetString(name, settings.*field); }
};

void WriteValue(const Settings& settings, RegistryKey& key, const SettingValue& value) {
    if (MayWrite(settings, value)) {
        std::visit(FieldWriter{settings, key, value.name}, value.field);
    }
}

void WriteValue(const Settings& settings, RegistryKey& key, std::u16string_view name) {
    if (const SettingValue* value = FindSettingValue(name)) {
        WriteValue(settings, key, *value);
    }
}

enum class Found { Missing, Read, Unreadable };

// Read one value: size and type first, then the data.
Found ReadValue(Settings& settings, RegistryKey& key, const SettingValue& value) {
    const std::optional<StoredValueInfo> info = key.QueryInfo(value.name);
    if (!info) {
        return Found::Missing;
    }
    if (!std::visit(Readable{*info}, value.field)) {
        return Found::Unreadable;
    }
    std::vector<std::uint8_t> data(info->size);
    const std::optional<std::uint32_t> read = key.Query(value.name, data);
    if (!read) {
        return Found::Unreadable;
    }
    data.resize(std::min<std::size_t>(*read, data.size()));
    return std::visit(FieldReader{settings, data, value.rule}, value.field) ? Found::Read
                                                                            : Found::Unreadable;
}

// Written right after StartFilter in a full save, before AutoUpdate and the rest.
constexpr std::u16string_view kLeadingValues[] = {u"FilterTag", u"StartView", u"OpenFile",
                                                  u"DataLine",  u"ViewLine",  u"DrawCheck",
                                                  u"CheckDate", u"SaveFilter"};

} // namespace

int LoadSettings(Settings& settings, Registry& registry) {
    settings.unreadValues.clear();
    std::unique_ptr<RegistryKey> key = registry.Open(kSettingsKey);
    if (!key) {
        registry.Create(kSettingsKey); // closed again at once
        return 0;
    }
    int result = 1;
    for (const SettingValue& value : SettingValuesInReadOrder()) {
        switch (ReadValue(settings, *key, value)) {
        case Found::Missing:
            result = 0;
            break;
        case Found::Unreadable:
            settings.unreadValues.push_back({value.name, HeldValue(settings, value)});
            break;
        case Found::Read:
            break;
        }
        if (value.name == u"AutoUpdate") {
            WriteValue(settings, *key, value);
        }
    }
    return result;
}

int SaveSettings(const Settings& settings, Registry& registry, int filterOnly) {
    std::unique_ptr<RegistryKey> key = registry.Create(kSettingsKey);
    if (!key) {
        return 0;
    }
    WriteValue(settings, *key, u"StartFilter");
    if (filterOnly != 0) {
        return 1;
    }
    for (std::u16string_view name : kLeadingValues) {
        WriteValue(settings, *key, name);
    }
    bool fromAutoUpdate = false;
    for (const SettingValue& value : SettingValuesInReadOrder()) {
        fromAutoUpdate = fromAutoUpdate || value.name == u"AutoUpdate";
        if (fromAutoUpdate) {
            WriteValue(settings, *key, value);
        }
    }
    return 1;
}

int SaveOpenFile(const Settings& settings, Registry& registry) {
    std::unique_ptr<RegistryKey> key = registry.Create(kSettingsKey);
    if (!key) {
        return 0;
    }
    WriteValue(settings, *key, u"OpenFile");
    return 1;
}

int DeleteSettings(Registry& registry) {
    return registry.DeleteKey(kSettingsKey) ? 1 : 0;
}

} // namespace vantrel
