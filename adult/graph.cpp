#include "adult/graph.h"

#include <cstring>

namespace adult {

int16_t meanPositiveAmplitude(const void* data, uint32_t byteCount, uint16_t bitsPerSample, uint16_t channels) {
    if (bitsPerSample != 16 || channels == 0 || data == nullptr) return 0;
    const uint32_t perChannel = byteCount / channels;
    const uint32_t visited = perChannel / 2;
    const auto* bytes = static_cast<const unsigned char*>(data);
    int64_t sum = 0;
    for (uint32_t i = 0; i < visited; ++i) {
        int16_t sample;
        // Capture buffers need not be aligned for int16_t.
        std::memcpy(&sample, bytes + static_cast<std::size_t>(i) * channels * 2, sizeof sample);
        if (sample > 0) sum += sample;
    }
    if (sum == 0) return 0;
    return static_cast<int16_t>(sum / perChannel);
}

BarGraph::BarGraph(int width, int height) : width_(width), half_(height / 2), lower_(height - height / 2) {}

void BarGraph::remember(int halfLength) {
    if (history_.capacity() == 0) history_.reserve(static_cast<std::size_t>(width_ > 0 ? width_ : 0));
    history_.push_back(halfLength);
}

BarStep BarGraph::add(int16_t amplitude) {
    // The amplitude counts as unsigned, as the level it stands for.
    const float h = static_cast<float>(static_cast<uint16_t>(amplitude)) * static_cast<float>(lower_) /
                    static_cast<float>(kFullScale);
    const int halfLength = static_cast<int>(h);
    BarStep step;
    if (column_ < width_ - kRightMargin) {
        remember(halfLength);
        column_ += kSpacing;
    } else {
        step.scrollBy = firstScroll_ ? 2 : kSpacing;
        firstScroll_ = false;
        if (!history_.empty()) history_.erase(history_.begin());
        remember(halfLength);
    }
    step.bar = {newestX(), half_, static_cast<int>(static_cast<float>(lower_) - h),
                static_cast<int>(h + static_cast<float>(lower_)), h != 0.0f};
    return step;
}

// Every bar stands kSpacing pixels left of the next one, and the newest
// where it was drawn: at the column while the graph fills up, one pixel
// right of it once it scrolls (the first scroll moves everything by 2, the
// later ones by 3).  So a repaint puts each bar back where it was drawn.
std::vector<Bar> BarGraph::repaint() const {
    std::vector<Bar> bars;
    const int count = static_cast<int>(history_.size());
    for (int i = 0; i < count; ++i) {
        const int v = history_[static_cast<std::size_t>(i)];
        if (v == 0) continue;
        bars.push_back({newestX() - kSpacing * (count - 1 - i), lower_ - v, lower_ - v, lower_ + v, true});
    }
    return bars;
}

}  // namespace adult
