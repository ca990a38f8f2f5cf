#include "tools/artgen/image_files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tools/little_endian.h"

namespace tools {
namespace {

// BITMAPINFOHEADER for a bottom-up picture.
void putInfoHeader(std::vector<uint8_t>& out, int w, int h, int bits, uint32_t imageBytes) {
    putLe32(out, 40);
    putLe32(out, static_cast<uint32_t>(w));
    putLe32(out, static_cast<uint32_t>(h));
    putLe16(out, 1);
    putLe16(out, static_cast<uint32_t>(bits));
    putLe32(out, 0);
    putLe32(out, imageBytes);
    putLe32(out, 2835);
    putLe32(out, 2835);
    putLe32(out, 0);
    putLe32(out, 0);
}

}  // namespace

std::vector<uint8_t> encodeBmp24(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    const int row = (w * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe32(out, static_cast<uint32_t>(54 + row * h));
    putLe32(out, 0);
    putLe32(out, 54);
    putInfoHeader(out, w, h, 24, static_cast<uint32_t>(row * h));
    for (int y = h - 1; y >= 0; --y) {
        const auto* p = reinterpret_cast<const uint32_t*>(px + y * stride);
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<uint8_t>(p[x] & 0xFF));
            out.push_back(static_cast<uint8_t>((p[x] >> 8) & 0xFF));
            out.push_back(static_cast<uint8_t>((p[x] >> 16) & 0xFF));
        }
        for (int pad = w * 3; pad < row; ++pad) out.push_back(uint8_t{0});
    }
    return out;
}

std::vector<uint8_t> encodeIco32(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    const int maskRow = ((w + 31) / 32) * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(40 + w * h * 4 + maskRow * h);
    std::vector<uint8_t> out;
    putLe16(out, 0);
    putLe16(out, 1);
    putLe16(out, 1);
    out.push_back(static_cast<uint8_t>(w & 0xFF));
    out.push_back(static_cast<uint8_t>(h & 0xFF));
    out.push_back(0);
    out.push_back(0);
    putLe16(out, 1);
    putLe16(out, 32);
    putLe32(out, imageBytes);
    putLe32(out, 22);
    putInfoHeader(out, w, h * 2, 32, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* p = reinterpret_cast<const uint32_t*>(px + y * stride);
        for (int x = 0; x < w; ++x) {
            // Cairo stores premultiplied alpha; icons want it straight.
            const uint32_t a = p[x] >> 24;
            auto un = [a](uint32_t c) -> uint8_t { return a ? static_cast<uint8_t>(std::min<uint32_t>(255, c * 255 / a)) : uint8_t{0}; };
            out.push_back(un(p[x] & 0xFF));
            out.push_back(un((p[x] >> 8) & 0xFF));
            out.push_back(un((p[x] >> 16) & 0xFF));
            out.push_back(static_cast<uint8_t>(a));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* p = reinterpret_cast<const uint32_t*>(px + y * stride);
        std::vector<uint8_t> mask(static_cast<size_t>(maskRow), 0);
        for (int x = 0; x < w; ++x)
            if ((p[x] >> 24) == 0) mask[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

}  // namespace tools
