// The thin GDI layer of the adult program: bars, the time box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "adult/graph.h"

namespace adult {

inline constexpr COLORREF kPanelColour = RGB(31, 87, 111);
inline constexpr COLORREF kBarColour = RGB(0, 255, 255);

// Draws bars with the cyan 2-pixel pen; `only` limits them to the columns
// that touch that rectangle (the strip a repaint is about).
void drawBars(HDC dc, std::span<const Bar> bars, const RECT* only = nullptr);

// Scrolls the panel's content `by` pixels left and fills the strip that
// came in with `background`.  `uncovered` receives what the scroll could
// not copy; false when that is more than the strip (the panel was partly
// covered) and the caller must have it repainted.
bool scrollLeft(HDC dc, const RECT& client, int by, HBRUSH background, HRGN uncovered);

// Counts for the benchmark: live scrolls and bars drawn so far.
struct GraphDrawCounts {
    int scrolls = 0;
    int bars = 0;
};
const GraphDrawCounts& graphDrawCounts();

// The running time ("00:07:35") in the main window, cyan on its box.
void drawTimeBox(HDC dc, HFONT font, const std::string& time);

}  // namespace adult
