// The one 256-colour palette of every picture we generate.  It is made of
// ramps for what the bee game draws (sky, clouds, far mountains, hill and
// grass greens, soil, the bee's yellows, flower colours, wing blues) plus a
// coarse colour cube for whatever antialiasing mixes in between.
//
// Entry 255 is pure white, the engine's transparent colour, and no other
// entry is white.  Nor is any colour that a display depth the engine runs
// at (8 bits through 3-3-2, 15 and 16 bits) would turn into that same key:
// at 8 bits everything from (224, 224, 192) up is the key.  The near-whites
// that the engine rewrites on loading are not in the palette either, so a
// picture shows exactly as generated.
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

// True when the colour shows as the transparent key at some display depth.
constexpr bool becomesColourKey(Rgb c) {
    const bool at8 = c.r >= 224 && c.g >= 224 && c.b >= 192;   // 3-3-2
    const bool at15 = c.r >= 248 && c.g >= 248 && c.b >= 248;  // 5-5-5
    const bool at16 = c.r >= 248 && c.g >= 252 && c.b >= 248;  // 5-6-5
    return at8 || at15 || at16;
}

// The closest entry other than white: whatever is meant to be seen must
// never turn transparent.
uint8_t nearestVisibleIndex(Rgb colour);

}  // namespace artgen
