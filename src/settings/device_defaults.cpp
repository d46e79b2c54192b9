#include "settings/device_defaults.h"

namespace vantrel {

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
    return systemFontHeight;
}

} // namespace vantrel
