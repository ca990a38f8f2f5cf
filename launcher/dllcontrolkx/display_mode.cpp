#include "launcher/dllcontrolkx/display_mode.h"

#include <tuple>

namespace dllcontrolkx {
namespace {

// Smaller is better.
auto rank(const DisplayMode& m, int currentFrequency) {
    const long long pixels = static_cast<long long>(m.width) * m.height;
    return std::make_tuple(pixels, m.bitsPerPixel, m.frequency == currentFrequency ? 0 : 1, -m.frequency);
}

}  // namespace

bool meetsMinimum(const DisplayMode& mode) {
    return mode.width >= kMinWidth && mode.height >= kMinHeight && mode.bitsPerPixel >= kMinBitsPerPixel;
}

std::optional<DisplayMode> chooseDisplayMode(const DisplayMode& current, std::span<const DisplayMode> offered) {
    if (meetsMinimum(current)) return std::nullopt;
    std::optional<DisplayMode> best;
    for (const DisplayMode& m : offered)
        if (meetsMinimum(m) && (!best || rank(m, current.frequency) < rank(*best, current.frequency))) best = m;
    return best;
}

}  // namespace dllcontrolkx
