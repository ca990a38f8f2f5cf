// The adult program's bar graph: one cyan bar per buffer in the band, drawn
// at the right of the panel and scrolling left once the panel is full.
//
// This is the arithmetic only; adult/graph_win draws what it says.
#pragma once

#include <cstdint>
#include <vector>

namespace adult {

// The sound's amplitude for a bar: the positive samples of the first
// channel summed and divided by the byte count per channel (so, for the
// mono capture, half their mean).  Anything but 16-bit samples, or a
// format without channels, gives 0.  Read the raw samples: the intensity
// measurement filters them in place.
int16_t meanPositiveAmplitude(const void* data, uint32_t byteCount, uint16_t bitsPerSample, uint16_t channels);

// One vertical bar: from (x, from) up to (x, top), then, unless it has no
// length, down to (x, bottom).  Rows outside the panel are clipped there.
struct Bar {
    int x = 0;
    int from = 0;
    int top = 0;
    int bottom = 0;
    bool extends = false;
    friend bool operator==(const Bar&, const Bar&) = default;
};

// What adding one bar asks of the panel: scroll its content left by
// `scrollBy` pixels (0 while it still fills up), then draw `bar`.
struct BarStep {
    int scrollBy = 0;
    Bar bar;
};

class BarGraph {
public:
    static constexpr int kSpacing = 3;          // pixels between bars
    static constexpr int kFullScale = 4800;     // the amplitude that spans the half-height
    static constexpr int kRightMargin = 10;     // bars stop this far from the right edge

    BarGraph(int width, int height);

    // One buffer in the band, with its amplitude.
    BarStep add(int16_t amplitude);

    // The bars of the history where they stand on screen now, oldest
    // first, for a repaint; bars of length 0 are left out.
    std::vector<Bar> repaint() const;

    int column() const { return column_; }
    bool scrolled() const { return !firstScroll_; }
    // Bar half-lengths in pixels, oldest first.
    const std::vector<int>& history() const { return history_; }

private:
    void remember(int halfLength);
    int newestX() const { return firstScroll_ ? column_ : column_ + 1; }

    int width_;
    int half_;   // the axis
    int lower_;  // the half-height below the axis
    int column_ = 0;
    bool firstScroll_ = true;
    std::vector<int> history_;
};

}  // namespace adult
