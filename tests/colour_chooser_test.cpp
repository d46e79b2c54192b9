#include "options/colour_chooser.h"
#include "options/colour_space.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace vantrel {
namespace {

int H(Colour c) {
    return RgbToHslComponent(c, kHue);
}
int S(Colour c) {
    return RgbToHslComponent(c, kSaturation);
}
int L(Colour c) {
    return RgbToHslComponent(c, kLightness);
}

TEST(ColourSpace, GreysHaveNoHueOrSaturation) {
    for (int v : {0, 1, 64, 128, 200, 255}) {
        EXPECT_EQ(H(Rgb(v, v, v)), 0) << v;
        EXPECT_EQ(S(Rgb(v, v, v)), 0) << v;
    }
    EXPECT_EQ(L(Rgb(255, 255, 255)), 511);
    EXPECT_EQ(L(Rgb(0, 0, 0)), 0);
    // Saturation 0 gives the grey of L / 2 whatever the hue.
    for (int hue : {0, 90, 359}) {
        EXPECT_EQ(HslToRgb(hue, 0, 300), Rgb(150, 150, 150)) << hue;
    }
    EXPECT_EQ(HslToRgb(0, 0, 511), Rgb(255, 255, 255));
}

TEST(ColourSpace, PrimaryHues) {
    EXPECT_EQ(H(Rgb(255, 0, 0)), 0);
    EXPECT_EQ(H(Rgb(0, 255, 0)), 120);
    EXPECT_EQ(H(Rgb(0, 0, 255)), 240);
    EXPECT_EQ(H(Rgb(255, 0, 255)), 300);
    EXPECT_EQ(S(Rgb(255, 0, 0)), 255);
    EXPECT_EQ(HslToRgb(360 + 120, 255, 256), HslToRgb(120, 255, 256)); // hue wraps once
}

bool Near(Colour a, Colour b, int tolerance = 1) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
           std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

TEST(ColourSpace, HueVariantsOfPureRed) {
    const Colour red = Rgb(255, 0, 0);
    const Colour expected[] = {Rgb(255, 255, 0), Rgb(0, 255, 0), Rgb(0, 255, 255), Rgb(0, 0, 255),
                               Rgb(255, 0, 255)};
    for (int i = 0; i < 5; ++i) {
        const Colour variant = HueVariant(red, 60 * (i + 1));
        EXPECT_TRUE(Near(variant, expected[i])) << i << ": " << std::hex << variant;
        EXPECT_EQ(H(variant), 60 * (i + 1));
    }
}

// The boxes show a variant's own H, S, L: the current colour's with the
// hue turned. Typed back unchanged they give the variant itself.
TEST(ColourSpace, HueVariantsKeepTheirOwnHsl) {
    int differ = 0;
    for (const Colour c : kPalette) {
        for (int degrees = 60; degrees <= 300; degrees += 60) {
            const Hsl hsl = HueVariantHsl(c, degrees);
            EXPECT_EQ(hsl, (Hsl{(H(c) + degrees) % 360, S(c), L(c)})) << std::hex << c;
            EXPECT_EQ(HslToRgb(hsl.hue, hsl.saturation, hsl.lightness), HueVariant(c, degrees));
            const Colour v = HueVariant(c, degrees);
            differ += (Hsl{H(v), S(v), L(v)} != hsl) ? 1 : 0;
        }
    }
    EXPECT_GT(differ, 0); // why the boxes must not be read back from the RGB
}

TEST(ColourSpace, RoundTrips) {
    auto back = [](Colour c) { return HslToRgb(H(c), S(c), L(c)); };
    // Hues on a multiple of 60 degrees come back within one per channel ...
    for (int v : {0, 51, 102, 153, 204, 255}) {
        for (int w : {0, 64, 128, 192, 255}) {
            for (Colour c : {Rgb(v, w, w), Rgb(w, v, w), Rgb(w, w, v), Rgb(v, v, w), Rgb(v, w, v),
                             Rgb(w, v, v)}) {
                EXPECT_TRUE(Near(back(c), c)) << std::hex << c << " -> " << back(c);
            }
        }
    }
    // ... others within the half degree of hue an integer can hold (at
    // most three per channel at full saturation).
    int worst = 0;
    for (int r = 0; r <= 255; r += 15) {
        for (int g = 0; g <= 255; g += 17) {
            for (int b = 0; b <= 255; b += 51) {
                const Colour c = Rgb(r, g, b), k = back(c);
                worst = std::max({worst, std::abs(RedOf(k) - r), std::abs(GreenOf(k) - g),
                                  std::abs(BlueOf(k) - b)});
            }
        }
    }
    EXPECT_LE(worst, 3);
    EXPECT_GE(worst, 2); // the quantisation is real: a bound of one would be wrong
    for (Colour c : kPalette) {
        EXPECT_TRUE(Near(back(c), c, 3)) << std::hex << c;
    }
}

TEST(ColourChooser, TheChoosersOwnRefillsAreAbsorbed) {
    ColourChooserState state;
    OpenChooser(state, Rgb(1, 2, 3));
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(BoxEdited(state)) << i; // the opening fill
    }
    EXPECT_TRUE(BoxEdited(state)); // the user's change
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(BoxEdited(state)) << i; // the refill it caused
    }
    TapSwatch(state, kPalette[8]);
    EXPECT_EQ(state.current, Rgb(255, 0, 0));
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(BoxEdited(state)) << i;
    }
    EXPECT_TRUE(BoxEdited(state));
    EXPECT_EQ(state.opening, Rgb(1, 2, 3));
}

TEST(ColourChooser, FifthKeepDropsTheFirst) {
    ColourChooserState state;
    for (Colour c : {Rgb(1, 0, 0), Rgb(2, 0, 0), Rgb(3, 0, 0), Rgb(4, 0, 0)}) {
        state.current = c;
        KeepCurrent(state);
    }
    EXPECT_EQ(state.kept,
              (std::array<Colour, 4>{Rgb(4, 0, 0), Rgb(3, 0, 0), Rgb(2, 0, 0), Rgb(1, 0, 0)}));
    state.current = Rgb(5, 0, 0);
    KeepCurrent(state);
    EXPECT_EQ(state.kept,
              (std::array<Colour, 4>{Rgb(5, 0, 0), Rgb(4, 0, 0), Rgb(3, 0, 0), Rgb(2, 0, 0)}));
    // Opening again keeps them.
    OpenChooser(state, 0);
    EXPECT_EQ(state.kept[0], Rgb(5, 0, 0));
}

} // namespace
} // namespace vantrel
