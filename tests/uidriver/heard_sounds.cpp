#include "tests/uidriver/heard_sounds.h"

#include <algorithm>
#include <cstdlib>

#include "tests/uidriver/samples.h"

namespace uidriver {
namespace {
constexpr int kWindow = kSampleRate / 200;  // 5 ms
// Mean loudness of a window above which something is sounding: far over
// the room noise (about 15), far under a vowel's (thousands).
constexpr int64_t kLoud = 300;
// Quiet shorter than this inside a sound is a hole in it, not its end.
constexpr uint64_t kLongestHole = kSampleRate * 300 / 1000;
}  // namespace

int HeardSounds::Sound::lengthMs() const { return static_cast<int>((end - start) * 1000 / kSampleRate); }

void HeardSounds::hear(const int16_t* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        windowSum_ += std::abs(static_cast<int>(samples[i]));
        ++heard_;
        if (++windowFill_ < kWindow) continue;
        window(windowSum_ > kLoud * kWindow, windowStart_);
        windowStart_ = heard_;
        windowSum_ = 0;
        windowFill_ = 0;
    }
}

void HeardSounds::window(bool loud, uint64_t windowStart) {
    const uint64_t windowEnd = windowStart + kWindow;
    if (loud) {
        if (!inSound_) {
            inSound_ = true;
            current_ = Sound{windowStart, windowEnd, 0, 0};
        } else {
            const uint64_t holeMs = (windowStart - current_.end) * 1000 / kSampleRate;
            current_.holesMs += holeMs;
            current_.longestHoleMs = std::max(current_.longestHoleMs, holeMs);
            current_.end = windowEnd;
        }
        return;
    }
    if (inSound_ && windowEnd - current_.end > kLongestHole) {
        sounds_.push_back(current_);
        inSound_ = false;
    }
}

const HeardSounds::Sound* HeardSounds::firstSoundFrom(uint64_t from, int shortestMs) const {
    for (const Sound& s : sounds_)
        if (s.start >= from && s.lengthMs() >= shortestMs) return &s;
    return nullptr;
}

}  // namespace uidriver
