// The module's STRINGTABLE, loaded with LoadStringW from the built DLL, must
// hold exactly the texts of the built-in table that the native build uses.

#include "platform/today.h"
#include "resource_ids.h"
#include "text/builtin_texts.h"
#include "win32/bindings/module_text_table.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

class ModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryW(L"vantrel.dll");
        ASSERT_NE(module_, nullptr) << "vantrel.dll not found, error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    HMODULE module_ = nullptr;
};

TEST_F(ModuleTest, EveryTextLoadsByIdAndEqualsTheBuiltinTable) {
    const ModuleTextTable module(module_);
    int checked = 0;
    for (const TextEntry& entry : BuiltinTextEntries()) {
        EXPECT_EQ(module.Text(entry.id), std::u16string(entry.text)) << "id " << entry.id;
        ++checked;
    }
    EXPECT_GT(checked, 200);
    EXPECT_EQ(module.Text(42135), u""); // not in the table
}

TEST_F(ModuleTest, APieceOfOneTabComposesAsEmpty) {
    const ModuleTextTable module(module_);
    EXPECT_EQ(module.Text(42044), u"\t");
    EXPECT_EQ(LoadPiece(module, 42044), u"");
    EXPECT_EQ(LoadPiece(module, 42041) + u"3" + LoadPiece(module, 42042), u"\u3042\u30683\u65E5");
    EXPECT_EQ(LoadPiece(module, 42035) + u"2012" + LoadPiece(module, 42036), u"2012\u5E74");
}

TEST_F(ModuleTest, ExportsBothOrdinals) {
    EXPECT_NE(GetProcAddress(module_, MAKEINTRESOURCEA(ORDINAL_INITIALIZECUSTOMITEM)), nullptr);
    EXPECT_NE(GetProcAddress(module_, MAKEINTRESOURCEA(ORDINAL_CUSTOMITEMOPTIONSDLGPROC)), nullptr);
}

TEST_F(ModuleTest, DeclaresHighResolutionAwareness) {
    HRSRC found = FindResourceW(module_, L"HI_RES_AWARE", L"CEUX");
    ASSERT_NE(found, nullptr);
    ASSERT_GE(SizeofResource(module_, found), 2u);
    const auto* data = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], 1);
}

} // namespace
} // namespace vantrel
