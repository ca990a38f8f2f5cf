// Builders of art archives and pictures, a trace recorder and a blit
// recorder for the engine and sprite tests (and the fuzzer's seed writer).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/blit.h"
#include "engine/trace.h"

namespace enginetest {

using Bytes = std::vector<uint8_t>;

inline void putU16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void putU32(Bytes& b, size_t at, uint32_t v) {
    putU16(b, at, v);
    putU16(b, at + 2, v >> 16);
}

// An archive in the order the entries are given (sort them for a valid
// directory); the end offset is one 4-byte field.
inline Bytes buildArchive(const std::vector<std::pair<std::string, Bytes>>& entries) {
    const size_t count = entries.size();
    Bytes out(4 + 17 * count + 4, 0);
    putU32(out, 0, static_cast<uint32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        putU32(out, 4 + 17 * i, static_cast<uint32_t>(out.size()));
        std::memcpy(&out[4 + 17 * i + 4], entries[i].first.c_str(), std::min<size_t>(entries[i].first.size(), 12));
        out.insert(out.end(), entries[i].second.begin(), entries[i].second.end());
    }
    putU32(out, 4 + 17 * count, static_cast<uint32_t>(out.size()));
    return out;
}
inline size_t recordOffset(size_t index) { return 4 + 17 * index; }

// A bottom-up BMP of `bits` per pixel, colour table of `colors` entries
// (entry i is (i, i, i) and entry 255 white), pixel bytes all `fill`.
inline Bytes makeDib(int32_t width, int32_t height, uint16_t bits = 8, uint32_t colors = 256, uint8_t fill = 0,
                     uint32_t clrUsed = 0) {
    const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
    const size_t pixelsAt = 54 + 4 * static_cast<size_t>(colors);
    Bytes b(pixelsAt + stride * static_cast<size_t>(height), fill);
    std::fill(b.begin(), b.begin() + static_cast<ptrdiff_t>(pixelsAt), uint8_t{0});
    b[0] = 'B';
    b[1] = 'M';
    putU32(b, 2, static_cast<uint32_t>(b.size()));
    putU32(b, 10, static_cast<uint32_t>(pixelsAt));
    putU32(b, 14, 40);
    putU32(b, 18, static_cast<uint32_t>(width));
    putU32(b, 22, static_cast<uint32_t>(height));
    putU16(b, 26, 1);
    putU16(b, 28, bits);
    putU32(b, 46, clrUsed);
    for (uint32_t i = 0; i < colors; ++i) {
        const auto v = static_cast<uint8_t>(i == 255 ? 0xFF : i);
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = v;
    }
    return b;
}
inline uint8_t& pixel8(Bytes& dib, uint32_t colors, int32_t width, int32_t row, int32_t column) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    return dib[54 + 4 * colors + stride * static_cast<size_t>(row) + static_cast<size_t>(column)];
}
inline void setColor(Bytes& dib, uint32_t index, uint8_t red, uint8_t green, uint8_t blue) {
    dib[54 + 4 * index] = blue;
    dib[55 + 4 * index] = green;
    dib[56 + 4 * index] = red;
}

// Collects trace lines while alive.
class TraceCapture {
public:
    TraceCapture() : previous_(engine::gfxSetTraceSink(&record)) { lines().clear(); }
    ~TraceCapture() { engine::gfxSetTraceSink(previous_); }
    static std::vector<std::string>& lines() {
        static std::vector<std::string> collected;
        return collected;
    }

private:
    static void record(const char* line) { lines().emplace_back(line); }
    engine::TraceSink previous_;
};

// Records what gfxDrawBitmap asks of the back buffer.
struct BlitCall {
    bool fill = false;
    engine::Rect dest;    // destination (x, y, x + w, y + h)
    engine::Rect source;  // blits only
    uint32_t flags = 0;   // blits: flags; fills: the value
    friend bool operator==(const BlitCall&, const BlitCall&) = default;
};

class RecordingTarget final : public engine::IBlitTarget {
public:
    RecordingTarget() { engine::gfxSetBlitTarget(this); }
    ~RecordingTarget() { engine::gfxSetBlitTarget(nullptr); }
    int32_t bltFast(int32_t x, int32_t y, engine::SurfaceHandle, const engine::Rect& source, uint32_t flags) override {
        calls.push_back({false, {x, y, x + source.width(), y + source.height()}, source, flags});
        return result;
    }
    void colorFill(const engine::Rect& rect, uint32_t value) override { calls.push_back({true, rect, {}, value}); }

    std::vector<BlitCall> calls;
    int32_t result = 0;
};

// A stand-in surface handle: never dereferenced by the core.
inline engine::SurfaceHandle fakeSurface(uintptr_t id) { return reinterpret_cast<engine::SurfaceHandle>(id * 16); }

}  // namespace enginetest
