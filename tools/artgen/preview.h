// A look at the scene as a game composes it, for whoever changes the art:
// the planes and sprites in the game's own order and places (from its
// scene description), white being transparent everywhere.
#pragma once

#include "tools/artgen/art_set.h"

#include <string>

namespace artgen {

struct PreviewState {
    int steps = 0;       // voiced steps so far: each scrolls the planes as the voice step does
    bool voiced = true;  // the main sprite's voiced picture and height, else its idle ones
};

// How far a plane has scrolled after `steps` steps of `pixelsPerStep`, in
// 0 .. period-1.  Any step count is fine: the steps are reduced modulo the
// period first.
int scrolledBy(int steps, int pixelsPerStep, int period);

// Writes a 640 x 480 PNG; throws ArtError when it cannot.
void writePreview(const ArtSet& art, PreviewState state, const std::string& pngPath);

}  // namespace artgen
