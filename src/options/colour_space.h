#pragma once

#include <array>
#include <cstdint>

namespace vantrel {

// A colour as the settings store it: 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
inline constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int GreenOf(Colour c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
inline constexpr int BlueOf(Colour c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// Hue 0..359 degrees, saturation 0..255, lightness 0..511.
enum HslComponent : int { kHue = 0, kSaturation = 1, kLightness = 2 };

int RgbToHslComponent(Colour colour, int component);
// A hue above 359 is taken once round the circle.
Colour HslToRgb(int hue, int saturation, int lightness);

struct Hsl {
    int hue = 0, saturation = 0, lightness = 0;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

// A hue variant's own H, S and L: the colour's, with the hue turned by
// `degrees` (0..359) and kept within 0..359. (Read back from the variant's
// rounded RGB they can differ by one.)
Hsl HueVariantHsl(Colour colour, int degrees);

// The colour with its hue turned by `degrees` (0..359), saturation and
// lightness kept.
Colour HueVariant(Colour colour, int degrees);

// The chooser's palette, six rows of eight.
extern const std::array<Colour, 48> kPalette;

} // namespace vantrel
