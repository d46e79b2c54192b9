// The settings round trip against Wine's real registry under HKCU.

#include "settings/settings_store.h"
#include "win32/bindings/win32_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace vantrel {
namespace {

constexpr const wchar_t* kKeyPath = L"Software\\Orvane\\Vantrel";

class RealRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath); }
    void TearDown() override {
        RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane");
    }

    DWORD ValueCount() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return 0;
        }
        DWORD count = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return count;
    }

    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    Win32Registry registry_;
};

TEST_F(RealRegistryTest, FreshKeyRoundTrip) {
    Settings settings;
    EXPECT_EQ(LoadSettings(settings, registry_), 0);
    EXPECT_EQ(ValueCount(), 0u); // created empty
    settings.FontName = u"IPAGothic";
    settings.FilterTag = u"\u4ED5\u4E8B";
    settings.DSpan1 = -400;
    EXPECT_EQ(SaveSettings(settings, registry_, 0), 1);
    EXPECT_EQ(ValueCount(), 91u);

    Settings loaded;
    EXPECT_EQ(LoadSettings(loaded, registry_), 1);
    EXPECT_EQ(loaded, settings);

    EXPECT_EQ(DeleteSettings(registry_), 1);
    EXPECT_EQ(ValueCount(), 0u);
    EXPECT_EQ(DeleteSettings(registry_), 0);
}

TEST_F(RealRegistryTest, EmptyFilterTagIsAnEmptyString) {
    Settings settings;
    ASSERT_EQ(SaveSettings(settings, registry_, 0), 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"FilterTag", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 2u);
}

TEST_F(RealRegistryTest, FilterOnlySaveCreatesTheKeyWithStartFilter) {
    Settings settings;
    settings.StartFilter = 12;
    EXPECT_EQ(SaveSettings(settings, registry_, 1), 1);
    EXPECT_EQ(ValueCount(), 1u);
}

TEST_F(RealRegistryTest, WrongTypesAndOversizeTextsAreSafe) {
    Settings settings;
    ASSERT_EQ(SaveSettings(settings, registry_, 0), 1);
    const wchar_t longText[] = L"0123456789012345678901234567890123456789";
    PutRaw(L"FontName", REG_SZ, longText, sizeof longText);
    const BYTE two[2] = {9, 9};
    PutRaw(L"ViewLine", REG_BINARY, two, sizeof two);
    const long long eight = 77;
    PutRaw(L"LineSpace", REG_QWORD, &eight, sizeof eight);
    const DWORD number = 5;
    PutRaw(L"TaskVRLCat", REG_DWORD, &number, sizeof number);

    Settings loaded;
    EXPECT_EQ(LoadSettings(loaded, registry_), 1);
    EXPECT_EQ(loaded.FontName.size(), 31u);
    EXPECT_EQ(loaded.ViewLine, 4);
    EXPECT_EQ(loaded.LineSpace, 2);
    EXPECT_EQ(loaded.TaskVRLCat, u"VRL"); // a number is no text

    // What could not be read is left as it is stored by a full save.
    ASSERT_EQ(SaveSettings(loaded, registry_, 0), 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    long long stored = 0;
    DWORD size = sizeof stored;
    EXPECT_EQ(RegQueryValueExW(key, L"LineSpace", nullptr, &type, reinterpret_cast<BYTE*>(&stored),
                               &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(stored, 77);
}

} // namespace
} // namespace vantrel
