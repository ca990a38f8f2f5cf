#include "menu/text.h"

#include <cstdint>

namespace menu {
namespace {

// 0x80-0x9F of Windows-1252; 0 where the code page assigns nothing.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character at `at` and its length in bytes; length 0 when the bytes
// there are no well-formed UTF-8 (overlong forms and surrogates included).
struct Decoded {
    char32_t c = 0;
    std::size_t length = 0;
};
Decoded decodeAt(const std::string& s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(s[i]); };
    const uint8_t lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t c = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, c = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, c = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, c = lead & 0x07, least = 0x10000;
    else return {};
    if (at + length > s.size()) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return {};
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {c, length};
}

char32_t lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c == 0x0130) return c;  // dotted I has no small letter of its own in Latin
    if ((c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177)) return c | 1;
    if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E)) return c % 2 ? c + 1 : c;
    if (c == 0x0178) return 0xFF;
    return c;
}

}  // namespace

bool isValidUtf8(const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const Decoded d = decodeAt(bytes, at);
        if (d.length == 0) return false;
        at += d.length;
    }
    return true;
}

std::string utf8FromWindows1252(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char b : bytes) {
        const auto u = static_cast<uint8_t>(b);
        const char32_t c = u >= 0x80 && u <= 0x9F && kHighControls[u - 0x80] ? kHighControls[u - 0x80] : u;
        append(out, c);
    }
    return out;
}

std::string asUtf8(const std::string& bytes) { return isValidUtf8(bytes) ? bytes : utf8FromWindows1252(bytes); }

std::string foldCase(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded d = decodeAt(utf8, at);
        if (d.length == 0) {  // not ours to fold
            out += utf8[at++];
            continue;
        }
        append(out, lower(d.c));
        at += d.length;
    }
    return out;
}

}  // namespace menu
