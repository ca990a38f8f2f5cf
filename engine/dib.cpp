#include "engine/dib.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/trace.h"

namespace engine {
namespace {

uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int32_t readI32(const uint8_t* p) { return static_cast<int32_t>(readU32(p)); }

constexpr int32_t kMaxSide = 32767;  // positions and frames are 16-bit
constexpr uint32_t kBiRgb = 0;

bool knownBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

uint32_t tableEntry(const DibInfo& info, uint32_t index) {
    return index < info.colorCount ? readU32(info.colorTable + 4 * static_cast<size_t>(index)) : 0;
}

}  // namespace

DibCheck checkDib(std::span<const uint8_t> entry, DibInfo& info) {
    info = DibInfo{};
    const uint64_t size = entry.size();
    if (size < kFileHeaderSize + 4) return DibCheck::notBitmap;
    const uint8_t* bytes = entry.data();
    if (bytes[0] != 'B' || bytes[1] != 'M') return DibCheck::notBitmap;
    const uint8_t* header = bytes + kFileHeaderSize;
    if (readU32(header) != kInfoHeaderSize) return DibCheck::notBitmap;
    if (size < kFileHeaderSize + kInfoHeaderSize) return DibCheck::damaged;

    const int32_t width = readI32(header + 4);
    const int32_t height = readI32(header + 8);
    const uint16_t bitCount = readU16(header + 14);
    const uint32_t compression = readU32(header + 16);
    const uint32_t colorsUsed = readU32(header + 32);
    if (bitCount == 1) return DibCheck::mask;
    if (!knownBitCount(bitCount) || compression != kBiRgb) return DibCheck::damaged;
    // Top-down pictures (negative height) are not produced for the games and
    // would turn the scans upside down; refuse them with the other oddities.
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return DibCheck::damaged;

    uint32_t colorCount = colorsUsed;
    if (bitCount <= 8) {
        const uint32_t tableSize = 1u << bitCount;
        if (colorCount == 0) colorCount = tableSize;
        if (colorCount > tableSize) return DibCheck::damaged;
    } else if (colorCount > 256) {
        return DibCheck::damaged;
    }

    const uint64_t tableOffset = kFileHeaderSize + kInfoHeaderSize;
    const uint64_t pixelOffset = tableOffset + 4ull * colorCount;
    const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (pixelOffset + stride * static_cast<uint64_t>(height) > size) return DibCheck::damaged;

    info.header = header;
    info.colorTable = bytes + tableOffset;
    info.pixels = bytes + pixelOffset;
    info.width = width;
    info.height = height;
    info.bitCount = bitCount;
    info.colorCount = colorCount;
    info.rowStride = static_cast<uint32_t>(stride);
    return DibCheck::ok;
}

bool isUniform8(const DibInfo& info, uint32_t& color) {
    if (info.bitCount != 8 || info.pixels == nullptr) return false;
    const uint8_t first = info.pixels[0];
    for (int32_t row = 0; row < info.height; ++row) {
        const uint8_t* pixel = info.pixels + static_cast<size_t>(row) * info.rowStride;
        for (int32_t column = 0; column < info.width; ++column)
            if (pixel[column] != first) return false;
    }
    const uint32_t quad = tableEntry(info, first);
    color = rgbColor(static_cast<uint8_t>(quad >> 16), static_cast<uint8_t>(quad >> 8), static_cast<uint8_t>(quad));
    return true;
}

bool hasWhitePixel(const DibInfo& info) {
    if (info.bitCount != 8 || info.pixels == nullptr) return false;
    // Which indices are white, found once instead of per pixel.
    bool white[256] = {};
    bool any = false;
    for (uint32_t i = 0; i < info.colorCount; ++i) {
        white[i] = tableEntry(info, i) == 0x00FFFFFFu;
        any = any || white[i];
    }
    if (!any) return false;
    for (int32_t row = 0; row < info.height; ++row) {
        const uint8_t* pixel = info.pixels + static_cast<size_t>(row) * info.rowStride;
        for (int32_t column = 0; column < info.width; ++column)
            if (white[pixel[column]]) return true;
    }
    return false;
}

void defaultPalette(std::span<PaletteEntry, 256> out) {
    for (int i = 0; i < 256; ++i) {
        out[static_cast<size_t>(i)] = PaletteEntry{
            static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7),
            static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7),
            static_cast<uint8_t>((i & 3) * 85),
            0,
        };
    }
}

bool parseRiffPalette(std::span<const uint8_t> data, std::span<PaletteEntry, 256> out) {
    constexpr size_t kHeader = 24;
    if (data.size() < kHeader) return false;
    const uint8_t* p = data.data();
    if (std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "PAL ", 4) != 0 ||
        std::memcmp(p + 12, "data", 4) != 0)
        return false;
    const uint16_t version = readU16(p + 20);
    const uint16_t count = readU16(p + 22);
    if (version != 0x0300 || count < 1 || count > 256) return false;

    defaultPalette(out);
    const size_t held = (std::min(data.size(), kPaletteFileBytes) - kHeader) / 4;
    for (size_t i = 0; i < held; ++i) {
        const uint8_t* e = p + kHeader + 4 * i;
        out[i] = PaletteEntry{e[0], e[1], e[2], e[3]};
    }
    return true;
}

void gfxBuildPalette(const char* path, std::span<PaletteEntry, 256> out) {
    if (path != nullptr) {
        uint8_t data[kPaletteFileBytes];
        size_t read = 0;
        if (std::FILE* file = std::fopen(path, "rb")) {
            read = std::fread(data, 1, sizeof data, file);
            std::fclose(file);
        }
        if (parseRiffPalette({data, read}, out)) return;
    }
    gfxTrace("Can't open palette file, using default 332.");
    defaultPalette(out);
}

void surfaceColorTable(const DibInfo& info, std::span<uint32_t, 256> out) {
    struct NearWhite {
        uint8_t red, green, blue;
    };
    static constexpr NearWhite kNearWhite[] = {
        {0xFA, 0xFA, 0xFF}, {0xFF, 0xFF, 0xC4}, {0xFF, 0xFF, 0xE0}, {0xFB, 0xF3, 0xEA}};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t quad = tableEntry(info, i);
        const auto red = static_cast<uint8_t>(quad >> 16);
        const auto green = static_cast<uint8_t>(quad >> 8);
        const auto blue = static_cast<uint8_t>(quad);
        for (const NearWhite& c : kNearWhite)
            if (red == c.red && green == c.green && blue == c.blue) quad = (quad & 0xFFFFFF00u) | 0x80u;
        out[i] = quad;
    }
}

int32_t scaledWidth(int32_t width, int32_t screenWidth) {
    if (screenWidth == 640) return width;
    return static_cast<int32_t>(static_cast<int64_t>(screenWidth) * width / 640 + 1);
}

int32_t scaledHeight(int32_t height, int32_t screenHeight) {
    if (screenHeight == 480) return height;
    return static_cast<int32_t>(static_cast<int64_t>(screenHeight) * height / 480 + 1);
}

}  // namespace engine
