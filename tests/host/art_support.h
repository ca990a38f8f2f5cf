// Readers for what the art pipeline writes, kept independent of the writers
// so that the tests check the files as the game will read them.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arttest {

inline uint32_t le32(const std::vector<uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
inline uint16_t le16(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- Art archives ----------------------------------------------------------

struct ArchiveEntry {
    std::string name;
    uint32_t offset = 0, size = 0;
};

struct ArchiveView {
    uint32_t count = 0;
    uint32_t endOffset = 0;
    std::vector<ArchiveEntry> entries;
};

// Sizes come from the next record's offset, the last from the end offset.
inline std::optional<ArchiveView> readArchive(const std::vector<uint8_t>& b) {
    if (b.size() < 8) return std::nullopt;
    ArchiveView v;
    v.count = le32(b, 0);
    if (4 + 17ull * v.count + 4 > b.size()) return std::nullopt;
    for (uint32_t i = 0; i < v.count; ++i) {
        const std::size_t at = 4 + 17ull * i;
        const char* name = reinterpret_cast<const char*>(&b[at + 4]);
        v.entries.push_back({std::string(name, strnlen(name, 13)), le32(b, at), 0});
    }
    v.endOffset = le32(b, 4 + 17ull * v.count);
    for (uint32_t i = 0; i < v.count; ++i)
        v.entries[i].size = (i + 1 < v.count ? v.entries[i + 1].offset : v.endOffset) - v.entries[i].offset;
    return v;
}

inline int compareIgnoringCase(std::string_view a, std::string_view b) {
    for (std::size_t i = 0;; ++i) {
        const int ca = i < a.size() ? std::tolower(static_cast<unsigned char>(a[i])) : -1;
        const int cb = i < b.size() ? std::tolower(static_cast<unsigned char>(b[i])) : -1;
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca < 0) return 0;
    }
}

// The lookup the game does: bisection over the directory, ignoring case.
inline const ArchiveEntry* findByBisection(const ArchiveView& v, std::string_view name) {
    std::size_t lo = 0, hi = v.entries.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        const int c = compareIgnoringCase(name, v.entries[mid].name);
        if (c == 0) return &v.entries[mid];
        if (c < 0) hi = mid; else lo = mid + 1;
    }
    return nullptr;
}

// ---- 8-bit bitmaps ---------------------------------------------------------

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
    bool isWhite() const { return r == 255 && g == 255 && b == 255; }
};

struct Bitmap {
    std::string error;  // empty when the file is a well-formed 8-bit DIB
    uint32_t fileSizeField = 0, pixelOffset = 0, infoSize = 0, imageSize = 0, coloursUsed = 0;
    int32_t width = 0, height = 0;
    uint16_t planes = 0, bitCount = 0;
    uint32_t compression = 0;
    std::array<Colour, 256> table{};
    std::vector<uint8_t> pixels;  // top row first, as shown on screen

    uint8_t index(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Colour colour(int x, int y) const { return table[index(x, y)]; }
    bool transparent(int x, int y) const { return colour(x, y).isWhite(); }
};

inline Bitmap readBitmap(const std::vector<uint8_t>& b) {
    Bitmap bmp;
    if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') {
        bmp.error = "not a BMP with a full colour table";
        return bmp;
    }
    bmp.fileSizeField = le32(b, 2);
    bmp.pixelOffset = le32(b, 10);
    bmp.infoSize = le32(b, 14);
    bmp.width = static_cast<int32_t>(le32(b, 18));
    bmp.height = static_cast<int32_t>(le32(b, 22));
    bmp.planes = le16(b, 26);
    bmp.bitCount = le16(b, 28);
    bmp.compression = le32(b, 30);
    bmp.imageSize = le32(b, 34);
    bmp.coloursUsed = le32(b, 46);
    for (int i = 0; i < 256; ++i) {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
        bmp.table[i] = {b[at + 2], b[at + 1], b[at]};
        if (b[at + 3] != 0) bmp.error = "colour-table entry with a non-zero reserved byte";
    }
    if (bmp.bitCount != 8 || bmp.width <= 0 || bmp.height <= 0) {
        bmp.error = "not a bottom-up 8-bit picture";
        return bmp;
    }
    const std::size_t stride = (static_cast<std::size_t>(bmp.width) + 3) & ~std::size_t{3};
    if (bmp.pixelOffset + stride * bmp.height > b.size()) {
        bmp.error = "pixel rows beyond the end of the file";
        return bmp;
    }
    for (int y = 0; y < bmp.height; ++y) {
        const std::size_t row = bmp.pixelOffset + stride * static_cast<std::size_t>(bmp.height - 1 - y);
        bmp.pixels.insert(bmp.pixels.end(), b.begin() + static_cast<std::ptrdiff_t>(row),
                          b.begin() + static_cast<std::ptrdiff_t>(row + bmp.width));
    }
    return bmp;
}

// ---- Plane lists -------------------------------------------------------------

struct ListText {
    std::vector<std::vector<long>> rows;  // numbers per text line
    bool onlyDigitsSpacesAndNewlines = true;
};

inline ListText readList(const std::string& text) {
    ListText list;
    std::vector<long> row;
    std::string number;
    auto endNumber = [&] {
        if (!number.empty()) row.push_back(std::stol(number));
        number.clear();
    };
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            number += c;
        } else if (c == ' ') {
            endNumber();
        } else if (c == '\n') {
            endNumber();
            list.rows.push_back(row);
            row.clear();
        } else {
            list.onlyDigitsSpacesAndNewlines = false;
        }
    }
    endNumber();
    if (!row.empty()) list.rows.push_back(row);
    return list;
}

}  // namespace arttest
