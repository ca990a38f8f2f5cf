// Cairo surfaces as the Windows files the resource scripts take: 24-bit
// BMPs for dialog pictures and single-image 32-bit icons.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// A bottom-up 24-bit BMP of an RGB24 or ARGB32 surface (alpha dropped).
std::vector<uint8_t> encodeBmp24(cairo_surface_t* surface);

// An .ico holding one 32-bit image with straight alpha and its AND mask.
std::vector<uint8_t> encodeIco32(cairo_surface_t* surface);

// One file of a picture set, named inside the folder it is written to.
struct ImageFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

}  // namespace tools
