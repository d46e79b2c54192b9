#include "settings/device_defaults.h"
#include "settings/over_minutes.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(DeviceDefaults, TextHeightGivesBothFontSizes) {
    struct Case {
        std::int32_t textHeight, fontSize, exFontSize, systemHeight;
    };
    const Case cases[] = {{10, 10, 12, 10}, {14, 14, 16, 14}, {16, 16, 19, 16},
                          {4, 4, 4, 4},     {3, 14, 18, 14},  {0, 14, 18, 14}};
    for (const Case& c : cases) {
        Settings s;
        const std::int32_t system =
            ApplyDeviceDefaults(s, {u"Tahoma", 128, c.textHeight, 0x112233, 0x445566});
        EXPECT_EQ(s.FontSize, c.fontSize) << c.textHeight;
        EXPECT_EQ(s.ExFontSize, c.exFontSize) << c.textHeight;
        EXPECT_EQ(system, c.systemHeight) << c.textHeight;
        EXPECT_EQ(s.FontName, u"Tahoma");
        EXPECT_EQ(s.CharSet, 128);
        EXPECT_EQ(s.CrFocusTx, 0x112233);
        EXPECT_EQ(s.CrFocusBk, 0x445566);
    }
}

TEST(DeviceDefaults, LongFaceNameIsCut) {
    Settings s;
    const std::u16string face(50, u'x');
    ApplyDeviceDefaults(s, {face, 0, 12, 0, 0});
    EXPECT_EQ(s.FontName.size(), 31u);
}

TEST(OverMinutes, DaysRoundTrip) {
    struct Case {
        std::int32_t days;
        std::int64_t stored;
    };
    const Case cases[] = {{0, 2100000000},
                          {-1, 2099997120},
                          {-3, 2099994240},
                          {1, 2100001440},
                          {-99999, 2100000000LL - 100000LL * 1440},
                          {99999, 2100000000LL + 99999LL * 1440}};
    for (const Case& c : cases) {
        const std::int32_t stored = OverMinutesFromDays(c.days);
        EXPECT_EQ(static_cast<std::uint32_t>(stored), static_cast<std::uint32_t>(c.stored))
            << c.days;
        EXPECT_EQ(DaysFromOverMinutes(stored), c.days) << c.days;
    }
    EXPECT_EQ(DaysFromOverMinutes(Settings{}.OverMinutes), -1);
}

} // namespace
} // namespace vantrel
