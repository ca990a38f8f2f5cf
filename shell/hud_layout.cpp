#include "shell/hud_layout.h"

#include "phonation/time_text.h"

namespace shell {

std::string hudTimeText(uint32_t elapsedMs) { return "Tempo " + phonation::timeText(elapsedMs); }

int bandLabelX(float limitDb) {
    const int m = static_cast<int>(limitDb);
    return (m / 10) * kSegmentPitch - kSegmentPitch;
}

std::string bandLabelText(float limitDb) { return std::to_string(static_cast<int>(limitDb)) + " db"; }

std::array<SegmentColour, kMeterSegments> meterSegments(float level, const voice::IntensitySettings& settings) {
    const bool outside = level < settings.minDb || level > settings.maxDb ||
                         level < static_cast<float>(settings.noiseDb);
    const SegmentColour filled = outside ? SegmentColour::Red : SegmentColour::Green;
    std::array<SegmentColour, kMeterSegments> segments{};
    bool reachedGray = false;
    for (int i = 0; i < kMeterSegments; ++i) {
        if (level < 10.0f * static_cast<float>(i)) reachedGray = true;
        segments[static_cast<size_t>(i)] = reachedGray ? SegmentColour::Gray : filled;
    }
    return segments;
}

}  // namespace shell
