// Pictures as the engine loads them: 8-bit Windows bitmaps with all 256
// colour-table entries (its pixel scans start right after a full table).
#pragma once

#include "tools/artgen/palette.h"

#include <cstdint>
#include <vector>

namespace artgen {

// Palette indices, top row first.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(int w, int h, uint8_t fill = kTransparentIndex)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
    uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The w x h piece whose top-left corner is (x, y); it must lie inside.
IndexedImage cropImage(const IndexedImage& source, int x, int y, int w, int h);

// BITMAPFILEHEADER, BITMAPINFOHEADER (biClrUsed 256), 256 BGR0 entries,
// then the rows bottom-up, each padded to a multiple of 4 bytes.
std::vector<uint8_t> encodeBmp8(const IndexedImage& image, const Palette& palette);

}  // namespace artgen
