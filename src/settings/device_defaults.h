#pragma once

#include "settings/settings.h"

#include <string_view>

namespace vantrel {

// What window creation measures before the registry is read.
struct DeviceMeasurements {
    std::u16string_view faceName; // of the font selected into the window's DC
    std::int32_t charSet = 0;
    std::int32_t textHeight = 0;    // tmHeight of that DC
    std::int32_t highlightText = 0; // Today colour TODAYCOLOR_HIGHLIGHTEDTEXT
    std::int32_t highlight = 0;     // Today colour TODAYCOLOR_HIGHLIGHT
    std::int32_t dpi = 96;          // LOGPIXELSY of the screen
};

// Puts the device-derived defaults into the record (stored values loaded
// afterwards still win) and returns the system font height. The pixel
// widths and spacing the layout uses are QVGA figures (96 dpi): on a denser
// screen their defaults grow by dpi / 96, as the fonts and icons do.
std::int32_t ApplyDeviceDefaults(Settings& settings, const DeviceMeasurements& device);

} // namespace vantrel
