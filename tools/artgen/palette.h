// The one 256-colour palette of every picture we generate.  It is made of
// ramps for what the bee game draws (sky, clouds, far mountains, hill and
// grass greens, soil, the bee's yellows, flower colours, wing blues) plus a
// coarse colour cube for whatever antialiasing mixes in between.
//
// Entry 255 is pure white, the engine's transparent colour, and no other
// entry is white.  The near-whites that the engine rewrites on loading are
// not in the palette either, so a picture shows exactly as generated.
#pragma once

#include <array>
#include <cstdint>

namespace artgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

using Palette = std::array<Rgb, 256>;

inline constexpr uint8_t kTransparentIndex = 255;
inline constexpr Rgb kWhite{255, 255, 255};

const Palette& artPalette();

// The closest entry other than white: whatever is meant to be seen must
// never turn transparent.
uint8_t nearestVisibleIndex(Rgb colour);

}  // namespace artgen
