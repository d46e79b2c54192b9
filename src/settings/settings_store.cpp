#include "settings/settings_store.h"

#include "settings/settings_values.h"

#include <cstring>
#include <vector>

namespace vantrel {
namespace {

// The stored type is not checked; only the size decides what a field takes.
struct FieldReader {
    Settings& settings;
    const std::vector<std::uint8_t>& data;

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

    void operator()(std::int32_t Settings::*field) const {
        if (data.size() == sizeof(std::int32_t)) {
            std::int32_t value = 0;
            std::memcpy(&value, data.data(), sizeof value);
            settings.*field = value;
        }
    }
    void operator()(PathText Settings::*field) const { (settings.*field).assign(Text()); }
    void operator()(FaceNameText Settings::*field) const { (settings.*field).assign(Text()); }
    void operator()(std::u16string Settings::*field) const { settings.*field = Text(); }
};

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

void WriteValue(const Settings& settings, RegistryKey& key, std::u16string_view name) {
    if (const SettingValue* value = FindSettingValue(name)) {
        std::visit(FieldWriter{settings, key, value->name}, value->field);
    }
}

// Read one value: size first, then the data. False when the size query fails.
bool ReadValue(Settings& settings, RegistryKey& key, const SettingValue& value) {
    const std::optional<std::uint32_t> size = key.QuerySize(value.name);
    if (!size) {
        return false;
    }
    std::vector<std::uint8_t> data(*size);
    const std::optional<std::uint32_t> read = key.Query(value.name, data);
    if (read) {
        data.resize(std::min<std::size_t>(*read, data.size()));
        std::visit(FieldReader{settings, data}, value.field);
    }
    return true;
}

constexpr std::int32_t kLastFilterCode = 12;   // 過去
constexpr std::int32_t kFromNowFilterCode = 4; // これから

// Written right after StartFilter in a full save, before AutoUpdate and the rest.
constexpr std::u16string_view kLeadingValues[] = {u"FilterTag", u"StartView", u"OpenFile",
                                                  u"DataLine",  u"ViewLine",  u"DrawCheck",
                                                  u"CheckDate", u"SaveFilter"};

} // namespace

int LoadSettings(Settings& settings, Registry& registry) {
    std::unique_ptr<RegistryKey> key = registry.Open(kSettingsKey);
    if (!key) {
        registry.Create(kSettingsKey); // closed again at once
        return 0;
    }
    int result = 1;
    for (const SettingValue& value : SettingValuesInReadOrder()) {
        if (!ReadValue(settings, *key, value)) {
            result = 0;
        }
        if (value.name == u"AutoUpdate") {
            key->SetDword(value.name, settings.AutoUpdate);
        }
    }
    // A filter code no filter has (a damaged registry) starts at これから.
    if (settings.StartFilter < 0 || settings.StartFilter > kLastFilterCode) {
        settings.StartFilter = kFromNowFilterCode;
    }
    return result;
}

int SaveSettings(const Settings& settings, Registry& registry, int filterOnly) {
    std::unique_ptr<RegistryKey> key = registry.Create(kSettingsKey);
    if (!key) {
        return 0;
    }
    key->SetDword(u"StartFilter", settings.StartFilter);
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
            std::visit(FieldWriter{settings, *key, value.name}, value.field);
        }
    }
    return 1;
}

int SaveOpenFile(const Settings& settings, Registry& registry) {
    std::unique_ptr<RegistryKey> key = registry.Create(kSettingsKey);
    if (!key) {
        return 0;
    }
    key->SetString(u"OpenFile", settings.OpenFile.view());
    return 1;
}

int DeleteSettings(Registry& registry) {
    return registry.DeleteKey(kSettingsKey) ? 1 : 0;
}

} // namespace vantrel
