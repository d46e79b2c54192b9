// The item on a VGA screen: the column widths and spacing it stores at its
// first start follow the screen's dpi as the shell reports it (the figures
// themselves are tested natively), and values already stored are kept.

#include "win32/item_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace vantrel::testing;

class ScreenDensityTest : public ItemCommandTest {
  protected:
    void TearDown() override {
        ItemCommandTest::TearDown();
        SetEnvironmentVariableW(L"VANTREL_DPI", nullptr);
    }
};

TEST_F(ScreenDensityTest, VgaDefaultsAreDoubledAndStoredValuesKept) {
    SetEnvironmentVariableW(L"VANTREL_DPI", L"192");
    Start("", ""); // a first start: the whole set is written
    EXPECT_EQ(GetDword(L"WidthDate"), 110u);
    EXPECT_EQ(GetDword(L"WidthDayCount"), 110u);
    EXPECT_EQ(GetDword(L"WidthSep"), 4u);
    EXPECT_EQ(GetDword(L"LineSpace"), 4u);
    EXPECT_EQ(GetDword(L"WidthMemo"), 0u);

    Start("", "", {{L"WidthDate", 55}, {L"WidthSep", 2}});
    EXPECT_EQ(GetDword(L"WidthDate"), 55u);
    EXPECT_EQ(GetDword(L"WidthSep"), 2u);
    EXPECT_EQ(GetDword(L"WidthDayCount"), 110u); // not stored before: the VGA default
}

} // namespace
