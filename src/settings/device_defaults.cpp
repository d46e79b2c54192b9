#include "settings/device_defaults.h"

#include <cstdint>

namespace vantrel {
namespace {

constexpr std::int32_t kDesignDpi = 96;

// Rounded to the nearest pixel, as MulDiv does.
std::int32_t ScaledToDpi(std::int32_t pixels, std::int32_t dpi) {
    const std::int64_t scaled = static_cast<std::int64_t>(pixels) * dpi;
    return static_cast<std::int32_t>((scaled + kDesignDpi / 2) / kDesignDpi);
}

} // namespace

std::int32_t ApplyDeviceDefaults(Settings& settings, const DeviceMeasurements& device) {
    settings.FontName = device.faceName;
    settings.CharSet = device.charSet;
    std::int32_t systemFontHeight = device.textHeight;
    if (device.textHeight < 4) {
        systemFontHeight = 14;
        settings.FontSize = 14;
        settings.ExFontSize = 18;
    } else {
        settings.FontSize = device.textHeight;
        settings.ExFontSize = device.textHeight * 6 / 5; // x 1.2, truncated
    }
    settings.CrFocusTx = device.highlightText;
    settings.CrFocusBk = device.highlight;
    // WidthMemo's default 0 means "the rest of the screen" and needs none.
    if (device.dpi > kDesignDpi) {
        const Settings qvga;
        settings.WidthDate = ScaledToDpi(qvga.WidthDate, device.dpi);
        settings.WidthDayCount = ScaledToDpi(qvga.WidthDayCount, device.dpi);
        settings.WidthSep = ScaledToDpi(qvga.WidthSep, device.dpi);
        settings.LineSpace = ScaledToDpi(qvga.LineSpace, device.dpi);
    }
    return systemFontHeight;
}

} // namespace vantrel
