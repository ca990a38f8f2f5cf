// Headers and icons the build tools write: a BITMAPINFOHEADER, and a
// cairo surface as a one-image 32-bit icon file.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace tools {

// BITMAPINFOHEADER for a bottom-up picture.
void putInfoHeader(std::vector<uint8_t>& out, int w, int h, int bits, uint32_t imageBytes);

// An ARGB32 surface as an .ico file holding one 32-bit image with alpha.
std::vector<uint8_t> encodeIco32(cairo_surface_t* s);

}  // namespace tools
