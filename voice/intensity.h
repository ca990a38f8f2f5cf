// Voice intensity of one capture buffer, in decibels, and the band test.
//
// The arithmetic is deliberately spelled out: every stored intermediate is a
// float, operations are done in double, sums run in index order.  That makes
// a level bit-for-bit reproducible on any machine, so a therapist's
// calibration and the tests agree to the last digit.
#pragma once

#include <cstdint>
#include <optional>

namespace voice {

// Capture format shared by every program: mono, 16-bit, 11025 samples/s,
// one buffer = 689 samples = 62.5 ms.
inline constexpr int kSampleRate = 11025;
inline constexpr int kBufferBytes = 1378;
inline constexpr int kBufferSamples = kBufferBytes / 2;

// Frames are kFrameLength samples long and start every kFrameStep samples.
inline constexpr int kFrameLength = 5;
inline constexpr int kFrameStep = 3;

struct IntensitySettings {
    float minDb = 10.0f;
    float maxDb = 100.0f;
    int32_t noiseDb = 20;
    float currentDb = 0.0f;
};

// The one instance of the running program (written by the calibration
// dialogs, read by the band test, the window and the HUD).
IntensitySettings& intensitySettings();

// First-order pre-emphasis x[i] - 0.96 x[i-1], in place, with the last raw
// sample remembered across calls.  Results wrap to 16 bits like the
// original integer store; they are not saturated.
void preEmphasize(int16_t* samples, int32_t count);

// Hamming-weighted sum of `count` values (weights 0.54 - 0.46 cos).
float hammingSum(const float* values, int32_t count);

// Mean frame level of a buffer in dB.  A buffer too short to hold one frame
// (fewer than kFrameLength samples) measures 0 dB; callers must not treat
// it as a measurement (see hasMeasurableFrame).
float measureIntensity(const int16_t* samples, int32_t count);

// Number of whole frames in `count` samples.
int32_t frameCount(int32_t count);

// True when a buffer of `count` samples holds at least one frame.  Anything
// shorter (an empty buffer, or the 1-4 samples of a capture that stopped in
// the middle of a buffer) carries no level and must change nothing.
inline bool hasMeasurableFrame(int32_t count) { return count >= kFrameLength; }

// Pre-emphasis then measurement of a freshly captured buffer: the single
// entry point of every owner of the recorder.  Returns nothing, and leaves
// the pre-emphasis memory untouched, for a buffer without a whole frame.
std::optional<float> measureBuffer(int16_t* samples, int32_t count);

// Running median of the last three levels; the first two after a reset
// pass through unchanged.
float smoothIntensity(float level);
void resetSmoothing();

// In the band: minDb < level <= maxDb and level > noiseDb.
bool isInBand(float level, const IntensitySettings& settings);

// For tests: the pre-emphasis memory is process-wide state.
void setPreEmphasisMemory(int16_t value);
int16_t preEmphasisMemory();

}  // namespace voice
