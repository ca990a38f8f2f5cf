// A look at the scene as the bee game composes it, for whoever changes
// the art: planes back, front, middle, then the fly, the aeroplane and
// the bee, white being transparent everywhere.
#pragma once

#include "tools/artgen/art_set.h"

#include <string>

namespace artgen {

struct PreviewState {
    int steps = 0;       // voiced steps so far: back plane 4 pixels each, middle 10
    bool voiced = true;  // the bee flying at y 220, else resting at y 350
};

// Writes a 640 x 480 PNG; throws ArtError when it cannot.
void writePreview(const ArtSet& art, PreviewState state, const std::string& pngPath);

}  // namespace artgen
