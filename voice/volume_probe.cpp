#include "voice/volume_probe.h"

namespace voice {

uint32_t volumeStep(const VolumeRange& range) {
    if (range.maximum <= range.minimum) return 1;
    const uint32_t span = range.maximum - range.minimum;
    // Without a step count, a hundredth of the range is as fine as any
    // mixer rounds.
    const uint32_t step = range.steps > 1 ? span / (range.steps - 1) : span / 100;
    return step == 0 ? 1 : step;
}

bool controlKeepsValues(const VolumeRange& range, const std::function<int64_t()>& get,
                        const std::function<void(uint32_t)>& set) {
    const int64_t current = get();
    if (current < range.minimum || current > range.maximum || range.minimum >= range.maximum) return false;
    const auto value = static_cast<uint32_t>(current);
    const uint32_t step = volumeStep(range);
    // Up by a step, or down by one at the top of the range.
    uint32_t probe = value + step;
    if (range.maximum - value < step) probe = value - range.minimum >= step ? value - step : range.minimum;
    set(probe);
    const int64_t readBack = get();
    set(value);
    if (readBack < 0 || readBack == current) return false;
    const int64_t distance = readBack > probe ? readBack - probe : probe - readBack;
    return distance <= step;
}

}  // namespace voice
