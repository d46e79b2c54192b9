#include "options/colour_space.h"

#include <algorithm>
#include <cmath>

namespace vantrel {
namespace {

// Half up, also for the negative hues before they are wrapped.
int Round(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

double Channel(double m1, double m2, int hue) {
    hue = (hue % 360 + 360) % 360;
    if (hue < 60) {
        return m1 + (m2 - m1) * hue / 60.0;
    }
    if (hue < 180) {
        return m2;
    }
    if (hue < 240) {
        return m1 + (m2 - m1) * (240 - hue) / 60.0;
    }
    return m1;
}

} // namespace

int RgbToHslComponent(Colour colour, int component) {
    const double r = RedOf(colour) / 255.0, g = GreenOf(colour) / 255.0, b = BlueOf(colour) / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b});
    const double l = (max + min) / 2;
    if (component == kLightness) {
        return Round(l * 511);
    }
    const double d = max - min;
    if (d < 0.000001) {
        return 0;
    }
    if (component == kSaturation) {
        return Round((l <= 0.5 ? d / (max + min) : d / (2 - max - min)) * 255);
    }
    const double rc = (max - r) / d, gc = (max - g) / d, bc = (max - b) / d;
    const double h = r == max ? bc - gc : g == max ? 2 + rc - bc : 4 + gc - rc;
    const int hue = Round(h * 60);
    return hue < 0 ? hue + 360 : hue;
}

Colour HslToRgb(int hue, int saturation, int lightness) {
    if (hue > 359) {
        hue -= 360;
    }
    if (saturation == 0) {
        const int grey = (lightness / 2) & 0xFF;
        return Rgb(grey, grey, grey);
    }
    const double s = saturation / 255.0, l = lightness / 511.0;
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return Rgb(Round(Channel(m1, m2, hue + 120) * 255), Round(Channel(m1, m2, hue) * 255),
               Round(Channel(m1, m2, hue - 120) * 255));
}

Hsl HueVariantHsl(Colour colour, int degrees) {
    return {(RgbToHslComponent(colour, kHue) + degrees) % 360,
            RgbToHslComponent(colour, kSaturation), RgbToHslComponent(colour, kLightness)};
}

Colour HueVariant(Colour colour, int degrees) {
    const Hsl hsl = HueVariantHsl(colour, degrees);
    return HslToRgb(hsl.hue, hsl.saturation, hsl.lightness);
}

const std::array<Colour, 48> kPalette{
    Rgb(255, 128, 128), Rgb(255, 255, 128), Rgb(128, 255, 128), Rgb(0, 255, 128),
    Rgb(128, 255, 255), Rgb(0, 128, 255),   Rgb(255, 128, 192), Rgb(255, 128, 255),
    Rgb(255, 0, 0),     Rgb(255, 255, 0),   Rgb(128, 255, 0),   Rgb(0, 255, 64),
    Rgb(0, 255, 255),   Rgb(0, 128, 192),   Rgb(128, 128, 192), Rgb(255, 0, 255),
    Rgb(128, 64, 64),   Rgb(255, 128, 64),  Rgb(0, 255, 0),     Rgb(0, 128, 128),
    Rgb(0, 64, 128),    Rgb(128, 128, 255), Rgb(128, 0, 64),    Rgb(255, 0, 128),
    Rgb(128, 0, 0),     Rgb(255, 128, 0),   Rgb(0, 128, 0),     Rgb(0, 128, 64),
    Rgb(0, 0, 255),     Rgb(0, 0, 160),     Rgb(128, 0, 128),   Rgb(128, 0, 255),
    Rgb(64, 0, 0),      Rgb(128, 64, 0),    Rgb(0, 64, 0),      Rgb(0, 64, 64),
    Rgb(0, 0, 128),     Rgb(0, 0, 64),      Rgb(64, 0, 64),     Rgb(64, 0, 128),
    Rgb(0, 0, 0),       Rgb(128, 128, 0),   Rgb(128, 128, 64),  Rgb(128, 128, 128),
    Rgb(64, 128, 128),  Rgb(192, 192, 192), Rgb(64, 0, 64),     Rgb(255, 255, 255),
};

} // namespace vantrel
