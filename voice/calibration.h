// The arithmetic behind the calibration dialogs, kept apart from the
// dialogs so it can be checked without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace voice {

// Band limits the therapist may type.
inline constexpr int kMinimumLow = 0, kMinimumHigh = 50;
inline constexpr int kMaximumLow = 60, kMaximumHigh = 120;

// A typed band value: it must start with a decimal digit; its value is the
// run of leading digits (so "7x" reads 7) and must lie in [low, high].
// Long runs of digits are out of range, never an overflow.
std::optional<int> parseBandValue(std::string_view text, int low, int high);

// Noise measurement: the threshold is the mean buffer level plus 4 dB,
// truncated.  A measurement that counted no buffer has no mean; the
// previous threshold then stays.
std::optional<int32_t> noiseThreshold(float levelSum, int32_t bufferCount);

// Seconds of audio in `bytesRecorded` bytes of the capture format.
float recordedSeconds(int64_t bytesRecorded);

// The noise measurement lasts this long.
inline constexpr float kNoiseSeconds = 3.0f;

// Microphone trackbar: 0 (top) is the loudest, 1000 (bottom) silence.
inline constexpr int kTrackbarRange = 1000;
int trackbarPositionForVolume(uint32_t volume, uint32_t maximum);
int64_t volumeForTrackbar(int position, int64_t maximum);

}  // namespace voice
