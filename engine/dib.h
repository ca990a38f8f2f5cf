// Windows bitmaps (BMP files) as the art archive stores them, checked before
// anything reads their colour table or pixels, and the scans and colour
// rules the bitmap loader needs.  No surface is touched here.
#pragma once

#include <cstdint>
#include <span>

namespace engine {

inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kInfoHeaderSize = 40;

// A picture whose headers, colour table and pixel rows all lie inside its
// entry.  Pointers are into the entry's bytes.
struct DibInfo {
    const uint8_t* header = nullptr;      // BITMAPINFOHEADER (byte 14 of the entry)
    const uint8_t* colorTable = nullptr;  // colorCount RGBQUADs (blue, green, red, 0)
    const uint8_t* pixels = nullptr;      // bottom row first
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t colorCount = 0;
    uint32_t rowStride = 0;               // bytes per row, padded to 4
};

enum class DibCheck {
    ok,
    notBitmap,  // no "BM" or a header size other than 40
    mask,       // a 1-bit picture
    damaged,    // anything else that makes the picture unreadable
};

// Checks an entry: "BM", header size 40, a positive size up to 32767 in
// both directions, 1/4/8/16/24/32 bits, uncompressed, a colour table that
// fits its bit count, and every pixel row inside the entry.  The pixel rows
// start right after the colour table: biClrUsed entries, or 2^bitCount
// when that is 0 and bitCount is at most 8.
DibCheck checkDib(std::span<const uint8_t> entry, DibInfo& info);

// 0x00BBGGRR, the order of a Windows COLORREF.
inline constexpr uint32_t rgbColor(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

// True when every pixel of an 8-bit picture has the first pixel's index;
// `color` is then that entry's colour (black for an index the table does
// not hold).  Row padding is not part of the picture.
bool isUniform8(const DibInfo& info, uint32_t& color);

// True when an 8-bit picture has a pixel whose colour-table entry is
// exactly white with a zero reserved byte.  Other depths are never
// transparent.
bool hasWhitePixel(const DibInfo& info);

// Palette entry as DirectDraw and GDI take it (PALETTEENTRY).
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

// The 3-3-2 palette used when no palette file is read: entry 0 black,
// entry 255 white.
void defaultPalette(std::span<PaletteEntry, 256> out);

// Index of a colour in the 3-3-2 palette.
inline constexpr uint8_t index332(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>((red & 0xE0) + ((green & 0xE0) >> 3) + (blue >> 6));
}

// A RIFF "PAL " palette: true when the header is valid (version 0x0300,
// 1-256 entries).  All 256 entries are taken whatever the count says;
// entries that a short file does not hold keep the 3-3-2 values.
inline constexpr size_t kPaletteFileBytes = 1048;
bool parseRiffPalette(std::span<const uint8_t> data, std::span<PaletteEntry, 256> out);

// gfxLoadPalette's entries: from the palette file at `path`, or (no path,
// unreadable or malformed file) the 3-3-2 palette with a trace line.
void gfxBuildPalette(const char* path, std::span<PaletteEntry, 256> out);

// The colour table a surface is filled with: the picture's own entries
// (the rest zero), with four near-white colours made visibly non-white by
// setting their blue to 0x80, so that only pure white is transparent.
// Entries are RGBQUADs as uint32 (0x00RRGGBB).
void surfaceColorTable(const DibInfo& info, std::span<uint32_t, 256> out);

// The size a picture's surface gets at the display scale.
int32_t scaledWidth(int32_t width, int32_t screenWidth);
int32_t scaledHeight(int32_t height, int32_t screenHeight);

}  // namespace engine
