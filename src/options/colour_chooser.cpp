#include "options/colour_chooser.h"

#include <algorithm>

namespace vantrel {

void OpenChooser(ColourChooserState& state, Colour handOver) {
    state.current = state.opening = handOver;
    state.changeCounter = 0;
}

void TapSwatch(ColourChooserState& state, Colour colour) {
    state.changeCounter = -7;
    state.current = colour;
}

bool BoxEdited(ColourChooserState& state) {
    state.changeCounter = state.changeCounter < 6 ? state.changeCounter + 1 : 0;
    return state.changeCounter == 0;
}

void KeepCurrent(ColourChooserState& state) {
    std::copy_backward(state.kept.begin(), state.kept.end() - 1, state.kept.end());
    state.kept[0] = state.current;
}

} // namespace vantrel
