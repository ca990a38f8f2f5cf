#include "tools/artgen/palette.h"

#include "tools/artgen/colours.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace artgen {
namespace {

struct Ramp {
    Rgb from, to;
    int count;
};

// Shades around the drawing colours, for gradients and antialiased edges.
// Shades that would become the transparent key are left out as they are
// added, so the lightest ones of a ramp may be missing.
constexpr Ramp kRamps[] = {
    {{0, 0, 0}, {232, 232, 232}, 14},         // greys
    {{20, 30, 80}, {70, 80, 150}, 5},         // navy: text, outlines on blue
    {{50, 115, 210}, {195, 228, 250}, 26},    // sky
    {{200, 214, 236}, {247, 249, 252}, 8},    // clouds
    {{84, 92, 160}, {188, 190, 228}, 12},     // far mountains
    {{20, 80, 30}, {150, 220, 90}, 22},       // hills and grass
    {{100, 160, 20}, {210, 240, 110}, 8},     // yellow-green grass tips
    {{60, 35, 15}, {200, 150, 95}, 12},       // soil, stones
    {{215, 140, 0}, {255, 244, 130}, 14},     // bee yellow
    {{190, 70, 0}, {255, 175, 70}, 8},        // orange
    {{120, 0, 15}, {255, 120, 110}, 12},      // red
    {{190, 50, 130}, {255, 195, 228}, 10},    // pink
    {{80, 35, 150}, {205, 165, 250}, 8},      // purple
    {{130, 185, 235}, {226, 241, 253}, 8},    // wings
    {{236, 236, 226}, {252, 252, 244}, 3},    // eye whites, petals
    {{0, 110, 120}, {130, 215, 215}, 6},      // teal
    {{30, 18, 8}, {95, 60, 30}, 5},           // dark browns
    {{255, 205, 170}, {255, 230, 205}, 4},    // peach
};

// For whatever antialiasing mixes between unrelated colours.
constexpr int kCubeLevels[] = {0, 128, 255};

uint8_t channelBetween(uint8_t a, uint8_t b, int i, int n) {
    if (n <= 1) return a;
    return static_cast<uint8_t>((a * (n - 1 - i) + b * i + (n - 1) / 2) / (n - 1));
}

class PaletteBuilder {
public:
    void add(Rgb c) {
        if (becomesColourKey(c) || std::find(colours_.begin(), colours_.end(), c) != colours_.end()) return;
        colours_.push_back(c);
    }

    // Greys in between the ramp's, until all 255 visible entries are used.
    void padWithGreys() {
        for (int step = 128; step >= 1 && colours_.size() < kTransparentIndex; step /= 2)
            for (int v = step; v < 240 && colours_.size() < kTransparentIndex; v += step)
                add({static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)});
    }

    Palette finish() const {
        if (colours_.size() != kTransparentIndex) throw std::logic_error("the palette needs exactly 255 colours");
        Palette p{};
        std::copy(colours_.begin(), colours_.end(), p.begin());
        p[kTransparentIndex] = kWhite;
        return p;
    }

private:
    std::vector<Rgb> colours_;
};

Palette buildPalette() {
    PaletteBuilder b;
    for (Rgb c : colours::kAll) b.add(c);
    for (const auto& ramp : kRamps)
        for (int i = 0; i < ramp.count; ++i)
            b.add({channelBetween(ramp.from.r, ramp.to.r, i, ramp.count),
                   channelBetween(ramp.from.g, ramp.to.g, i, ramp.count),
                   channelBetween(ramp.from.b, ramp.to.b, i, ramp.count)});
    for (int r : kCubeLevels)
        for (int g : kCubeLevels)
            for (int bl : kCubeLevels)
                b.add({static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(bl)});
    b.padWithGreys();
    return b.finish();
}

// Green counts most and blue least, roughly as the eye weighs them.
int distance(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

const Palette& artPalette() {
    static const Palette palette = buildPalette();
    return palette;
}

uint8_t nearestVisibleIndex(Rgb colour) {
    static std::unordered_map<uint32_t, uint8_t> memo;
    const uint32_t key = (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b;
    if (auto it = memo.find(key); it != memo.end()) return it->second;
    const Palette& p = artPalette();
    uint8_t best = 0;
    for (int i = 1; i < kTransparentIndex; ++i)
        if (distance(colour, p[i]) < distance(colour, p[best])) best = static_cast<uint8_t>(i);
    memo.emplace(key, best);
    return best;
}

}  // namespace artgen
