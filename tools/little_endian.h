// Appending little-endian integers to a byte buffer: the build tools write
// BMP and ICO files, whose headers are little-endian.
#pragma once

#include <cstdint>
#include <vector>

namespace tools {

inline void putLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

inline void putLe32(std::vector<uint8_t>& out, uint32_t v) {
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

}  // namespace tools
