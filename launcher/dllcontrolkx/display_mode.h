// Which display mode the suite's main interface needs, and which of the
// modes a screen offers to switch to when the current one falls short.
#pragma once

#include <optional>
#include <span>

namespace dllcontrolkx {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int frequency = 0;  // Hz; 0 or 1 mean the hardware's default
    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

// The main interface is laid out for 800 x 600 and its pictures want at
// least 16-bit colour.
inline constexpr int kMinWidth = 800, kMinHeight = 600, kMinBitsPerPixel = 16;

bool meetsMinimum(const DisplayMode& mode);

// nullopt when the current mode already meets the minimum (nothing is to
// change) or when no offered mode does; otherwise the smallest offered
// mode that meets it: fewest pixels, then fewest colour bits, then the
// current refresh rate if the mode has it, else the highest.
std::optional<DisplayMode> chooseDisplayMode(const DisplayMode& current, std::span<const DisplayMode> offered);

}  // namespace dllcontrolkx
