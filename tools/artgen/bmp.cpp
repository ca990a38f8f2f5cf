#include "tools/artgen/bmp.h"

#include "tools/little_endian.h"

namespace artgen {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColourTableSize = 256 * 4;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

using tools::putLe16;
using tools::putLe32;

uint32_t paddedRowSize(int width) { return (static_cast<uint32_t>(width) + 3u) & ~3u; }

void putHeaders(std::vector<uint8_t>& out, const IndexedImage& image) {
    const uint32_t pixelBytes = paddedRowSize(image.width) * static_cast<uint32_t>(image.height);
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;
    out.push_back('B');
    out.push_back('M');
    putLe32(out, pixelOffset + pixelBytes);  // bfSize
    putLe32(out, 0);                         // bfReserved1, bfReserved2
    putLe32(out, pixelOffset);               // bfOffBits
    putLe32(out, kInfoHeaderSize);
    putLe32(out, static_cast<uint32_t>(image.width));
    putLe32(out, static_cast<uint32_t>(image.height));  // positive: bottom-up
    putLe16(out, 1);                                     // biPlanes
    putLe16(out, 8);                                     // biBitCount
    putLe32(out, 0);                                     // BI_RGB
    putLe32(out, pixelBytes);
    putLe32(out, kPixelsPerMetre);
    putLe32(out, kPixelsPerMetre);
    putLe32(out, 256);  // biClrUsed
    putLe32(out, 0);    // biClrImportant: all
}

void putColourTable(std::vector<uint8_t>& out, const Palette& palette) {
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

void putRowsBottomUp(std::vector<uint8_t>& out, const IndexedImage& image) {
    const uint32_t padding = paddedRowSize(image.width) - static_cast<uint32_t>(image.width);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) out.push_back(image.at(x, y));
        out.insert(out.end(), padding, 0);
    }
}

}  // namespace

IndexedImage cropImage(const IndexedImage& source, int x, int y, int w, int h) {
    IndexedImage piece(w, h);
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) piece.at(column, row) = source.at(x + column, y + row);
    return piece;
}

std::vector<uint8_t> encodeBmp8(const IndexedImage& image, const Palette& palette) {
    std::vector<uint8_t> out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + kColourTableSize +
                paddedRowSize(image.width) * static_cast<std::size_t>(image.height));
    putHeaders(out, image);
    putColourTable(out, palette);
    putRowsBottomUp(out, image);
    return out;
}

}  // namespace artgen
