#pragma once

#include "options/colour_space.h"

#include <array>

namespace vantrel {

// What the colour chooser keeps between its openings.
struct ColourChooserState {
    Colour current = 0;
    Colour opening = 0;
    std::array<Colour, 4> kept{}; // most recent first
    // Absorbs the edit notifications of the chooser's own refilling of its
    // six number boxes, so the next change the user types takes effect.
    int changeCounter = 0;
};

// Opening with the caller's colour.
void OpenChooser(ColourChooserState& state, Colour handOver);

// A tap on a swatch makes its colour current; the refill that follows is
// absorbed.
void TapSwatch(ColourChooserState& state, Colour colour);

// One edit notification from a number box: true when it is the user's.
bool BoxEdited(ColourChooserState& state);

// A tap on the preview keeps the current colour (the oldest is dropped).
void KeepCurrent(ColourChooserState& state);

} // namespace vantrel
