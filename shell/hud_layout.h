// What the HUD shows, apart from how GDI draws it: the time text, where
// the band labels go and the colour of each of the meter's 12 segments.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "voice/intensity.h"

namespace shell {

inline constexpr int kMeterSegments = 12;
inline constexpr int kSegmentPitch = 9;  // pixels from one segment to the next
inline constexpr int kSegmentWidth = 8;
inline constexpr int kSegmentTop = 30, kSegmentBottom = 40;
inline constexpr int kLabelY = 28;
inline constexpr int kMeterHeight = 40;

enum class SegmentColour { Gray, Red, Green };

// "Tempo mm:ss:hh".
std::string hudTimeText(uint32_t elapsedMs);

// x of the label of a band limit ("10 db" at 0, "100 db" at 81).
int bandLabelX(float limitDb);
// "%d db" of the truncated limit.
std::string bandLabelText(float limitDb);

// Filled segments (level >= 10 i) are green when the level is acceptable,
// red below the minimum or the noise or above the maximum; the rest gray.
std::array<SegmentColour, kMeterSegments> meterSegments(float level, const voice::IntensitySettings& settings);

}  // namespace shell
