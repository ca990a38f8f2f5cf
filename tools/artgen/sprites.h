// The bee game's sprites.  All face the way they travel: the bee and the
// aeroplane to the right, the fly to the left.
#pragma once

#include "tools/artgen/bmp.h"

#include <cairo.h>

namespace artgen {

inline constexpr int kBeeIdleWidth = 47, kBeeFlyingWidth = 55, kBeeHeight = 64;
inline constexpr int kBeeFrames = 5;  // 0-1 idle, 2-4 flying
inline constexpr int kFlySize = 38;
inline constexpr int kAeroplaneSize = 64;
inline constexpr int kAeroplaneFrames = 2;

int beeFrameWidth(int frame);

// Paints bee frame 0-4 in its own frame coordinates (origin top-left);
// the title picture reuses it scaled up.
void paintBee(cairo_t* cr, int frame);

IndexedImage drawBeeFrame(int frame);
IndexedImage drawFly();
IndexedImage drawAeroplane(int frame);

}  // namespace artgen
